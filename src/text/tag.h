#pragma once
// One token of message markup read as a tag: its kind in the tag table, its name and its
// attributes. Names compare without regard to the case of ASCII letters.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/tokenizer.h"

namespace kest {

// The tag table. Text is a text run, Unknown a tag the markup does not know (it is ignored).
enum class TagKind : std::uint8_t {
  Text = 0, Unknown = 1,
  A = 2, EndA = 3, B = 4, EndB = 5, Font = 6, EndFont = 7, I = 8, EndI = 9, S = 10, EndS = 11,
  U = 12, EndU = 13, NoBr = 14, EndNoBr = 15, Ruby = 16, EndRuby = 17, Div = 18, EndDiv = 19,
  Indent = 20, Undent = 21, Br = 22, Clear = 23, Event = 24, Wait = 25, EndWait = 26, Var = 27,
  Img = 28,
};

struct TagAttribute {
  std::string name;
  std::string value;
  bool has_value = false;  // false for an attribute written without "="
};

class TTag {
 public:
  TTag() = default;
  // `kind` is what the tokenizer made of the token: a Text token stays text whatever it holds.
  explicit TTag(std::string_view token, TokenKind kind = TokenKind::Tag) { Parse(token, kind); }

  void Parse(std::string_view token, TokenKind kind = TokenKind::Tag);

  TagKind Kind() const { return kind_; }
  // A text run's characters; for a tag "<" + name + ">"; a comment or script block whole.
  const std::string& Text() const { return text_; }
  const std::vector<TagAttribute>& Attributes() const { return attributes_; }

  // Index of the first attribute of that name (case-insensitive), -1 when absent.
  int IndexOf(std::string_view name) const;
  bool Has(std::string_view name) const { return IndexOf(name) >= 0; }
  // The attribute's value; `fallback` when it is absent, the empty text when it has no "=".
  std::string Value(std::string_view name, std::string_view fallback = {}) const;
  // "#RRGGBB" (up to six hexadecimal digits) as 0x00BBGGRR; `fallback` when the attribute is
  // absent, does not begin with "#" or its digits do not read.
  std::int32_t ColorValue(std::string_view name, std::int32_t fallback) const;
  // A decimal integer (optional sign); none when absent or unreadable.
  std::optional<std::int32_t> IntValue(std::string_view name) const;

 private:
  void ReadAttributes(std::string_view inside);

  TagKind kind_ = TagKind::Text;
  std::string text_;
  std::vector<TagAttribute> attributes_;
};

// The markup's alignment names: "LEFT" 1, "RIGHT" 2, "CENTER" 3, "TOP" 4, "BOTTOM" 5; 0 for
// anything else (case-insensitive).
std::int32_t AlignmentCode(std::string_view name);

// A decimal integer with an optional sign, the whole text; none when it does not read or does
// not fit 32 bits.
std::optional<std::int32_t> ReadMarkupInteger(std::string_view text);

}  // namespace kest
