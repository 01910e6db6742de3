#include "text/tag.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/cp932.h"

namespace kest {
namespace {

// Names of kinds 2 to 28, in kind order.
constexpr std::array<std::string_view, 27> kTagNames = {
    "A",    "/A",   "B",     "/B",   "FONT",   "/FONT",  "I",  "/I",    "S",     "/S",
    "U",    "/U",   "NOBR",  "/NOBR", "RUBY",  "/RUBY",  "DIV", "/DIV", "INDENT", "UNDENT",
    "BR",   "CLEAR", "EVENT", "WAIT", "/WAIT", "VAR",    "IMG",
};

// Blanks, "=" and quotes are all below 0x40, where no trail byte lies, yet the readers below
// still step whole characters so that a name or value never ends inside one.
std::size_t Find(std::string_view text, std::size_t from, bool (*stop)(char)) {
  std::size_t at = from;
  while (at < text.size() && !stop(text[at]))
    at += at + 1 < text.size() && cp932::IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  return at;
}

bool IsBlank(char c) { return c == ' '; }
bool IsBlankOrEquals(char c) { return c == ' ' || c == '='; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The name folded to upper case (ASCII letters only: no table name holds any other byte, and a
// name with a double-byte character matches none), then looked up.
TagKind KindOfName(std::string_view name) {
  std::array<char, 6> folded{};
  if (name.empty() || name.size() > folded.size()) return TagKind::Unknown;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    folded[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::string_view upper(folded.data(), name.size());
  for (std::size_t i = 0; i < kTagNames.size(); ++i)
    if (upper == kTagNames[i]) return static_cast<TagKind>(i + 2);
  return TagKind::Unknown;
}

}  // namespace

void TTag::Parse(std::string_view token, TokenKind kind) {
  attributes_.clear();
  text_.assign(token);
  kind_ = TagKind::Text;
  if (kind == TokenKind::Text || token.size() <= 2 || token.front() != '<' || token.back() != '>') return;
  // A comment, script or style block is ignored whole, whatever the case of its marker.
  if (kind == TokenKind::Block || token.starts_with("<!--") || token.starts_with("<SCRIPT") ||
      token.starts_with("<STYLE")) {
    kind_ = TagKind::Unknown;
    return;
  }
  const std::string_view inside = token.substr(1, token.size() - 2);
  const std::size_t name_end = Find(inside, 0, IsBlankOrEquals);
  const std::string_view name = inside.substr(0, name_end);
  text_ = "<";
  text_ += name;
  text_ += '>';
  kind_ = KindOfName(name);
  ReadAttributes(inside.substr(name_end));
}

void TTag::ReadAttributes(std::string_view rest) {
  while (!(rest = TrimBlanks(rest)).empty()) {
    const std::size_t name_end = Find(rest, 0, IsBlankOrEquals);
    TagAttribute attribute{std::string(rest.substr(0, name_end)), {}, false};
    rest.remove_prefix(name_end);
    if (!rest.empty() && rest.front() == '=') {
      rest.remove_prefix(1);  // a "=" with nothing after it leaves an attribute without value
      if (!rest.empty() && rest.front() != ' ') {
        attribute.has_value = true;
        const char quote = rest.front();
        std::size_t end = std::string_view::npos;
        if (quote == '"' || quote == '\'') {
          end = rest.find(quote, 1);  // quotes are below 0x40: never a trail byte
          if (end != std::string_view::npos) {
            attribute.value.assign(rest.substr(1, end - 1));
            rest.remove_prefix(end + 1);
          } else {
            end = Find(rest, 1, IsBlank);
            attribute.value.assign(rest.substr(1, end - 1));
            rest.remove_prefix(end);
          }
        } else {
          end = Find(rest, 0, IsBlank);
          attribute.value.assign(rest.substr(0, end));
          rest.remove_prefix(end);
        }
      }
    }
    // A "=" with no name before it is dropped with the name; empty attributes are not stored.
    if (!attribute.name.empty() || attribute.has_value) attributes_.push_back(std::move(attribute));
  }
}

// Attribute names are looked up by the markup's own ASCII names: a stored name holding a
// double-byte character can never equal one, so folding bytes here folds no trail byte into a
// match.
bool SameAsciiName(std::string_view stored, std::string_view wanted) {
  if (stored.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    char a = stored[i], b = wanted[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
  }
  return true;
}

int TTag::IndexOf(std::string_view name) const {
  const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  for (std::size_t i = 0; i < attributes_.size(); ++i)
    if (ascii ? SameAsciiName(attributes_[i].name, name) : cp932::SameText(attributes_[i].name, name))
      return static_cast<int>(i);
  return -1;
}

std::string TTag::Value(std::string_view name, std::string_view fallback) const {
  const int index = IndexOf(name);
  if (index < 0) return std::string(fallback);
  return attributes_[static_cast<std::size_t>(index)].value;
}

std::int32_t TTag::ColorValue(std::string_view name, std::int32_t fallback) const {
  const int index = IndexOf(name);
  if (index < 0) return fallback;
  const std::string_view value = attributes_[static_cast<std::size_t>(index)].value;
  if (value.empty() || value.front() != '#') return fallback;
  const std::string_view digits = value.substr(1, 6);
  if (digits.empty()) return fallback;
  std::uint32_t rgb = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return fallback;
    rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
  }
  const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return static_cast<std::int32_t>(red | (green << 8) | (blue << 16));
}

std::optional<std::int32_t> TTag::IntValue(std::string_view name) const {
  const int index = IndexOf(name);
  if (index < 0) return std::nullopt;
  return ReadMarkupInteger(attributes_[static_cast<std::size_t>(index)].value);
}

std::int32_t AlignmentCode(std::string_view name) {
  static constexpr std::array<std::string_view, 5> kNames = {"LEFT", "RIGHT", "CENTER", "TOP", "BOTTOM"};
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (cp932::SameText(name, kNames[i])) return static_cast<std::int32_t>(i + 1);
  return 0;
}

std::optional<std::int32_t> ReadMarkupInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace kest
