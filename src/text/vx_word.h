#pragma once
// One text area's words: the element list that its message markup becomes, the decorations the
// elements share, and the defaults the area gives to elements that name none. Laying the
// elements out into rows and pages and revealing them belong to the layout code, not here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "text/decorate.h"
#include "text/elements.h"

namespace kest {

// The parse stopped at a tag it can not accept. what() is the player's own message (CP932);
// Offset() is where the tag starts in the joined source.
class MarkupError : public KestError {
 public:
  MarkupError(const std::string& message, std::uint32_t offset) : KestError(message), offset_(offset) {}
  std::uint32_t Offset() const { return offset_; }

 private:
  std::uint32_t offset_;
};

// Markup caps: a size outside 1..256 and a border or shadow outside 0..16 are pulled to the
// nearest bound (a huge size or outline would cost memory and time per glyph).
inline constexpr std::int32_t kMinMarkupSize = 1;
inline constexpr std::int32_t kMaxMarkupSize = 256;
inline constexpr std::int32_t kMaxMarkupBorder = 16;
inline constexpr std::int32_t kMaxMarkupShadow = 16;
// A face name longer than a font name can be (31 bytes) and a ruby text longer than 256 bytes
// are cut at the last whole character that fits: every character carries its decoration's
// texts, so their length must not grow with the source.
inline constexpr std::size_t kMaxMarkupFaceName = 31;
inline constexpr std::size_t kMaxMarkupRuby = 256;

class TVxWord {
 public:
  TVxWord();
  TVxWord(const TVxWord&) = delete;
  TVxWord& operator=(const TVxWord&) = delete;

  // Frees the current elements and decorations, then reads the lines of markup into elements.
  // `text_delay` is the per-character wait of text outside WAIT tags (the title's
  // "@TextDelay" when the parse starts). A tag the markup can not accept raises MarkupError;
  // the elements read before it remain.
  void ParseMarkup(const std::vector<std::string>& lines, std::int32_t text_delay);
  // The same for a source whose lines are already joined by carriage returns.
  void ParseMarkupSource(std::string_view source, std::int32_t text_delay);

  // Frees every element and decoration; DecorationBase := 0.
  void Clear();

  const std::vector<TWdElement>& Elements() const { return elements_; }
  const TDecorateList& Decorations() const { return decorations_; }
  const TDecorate& DecorationOf(const TWdChar& character) const { return decorations_[character.decoration]; }
  // The link text of a link number (the empty text for 0).
  const std::string& Link(LinkIndex index) const { return links_.at(index); }
  // The 1-based line of the source a byte offset lies on (lines end at carriage returns).
  std::size_t SourceLine(std::uint32_t offset) const;

  // Defaults of the text area, set by its owner.
  std::int32_t DefaultSize = 12;
  std::string DefaultFont;  // "ＭＳ ゴシック"
  std::int32_t DefaultColor = 0;
  std::int32_t LinkColor = 0xFF0000;   // blue
  std::int32_t HoverColor = 0x008000;  // green
  std::int32_t BorderColor = 0x808080;
  std::int32_t ShadowColor = 0;
  std::int32_t DefaultBorder = 0;
  std::int32_t DefaultShadow = 0;
  std::int32_t DecorationBase = 0;

 private:
  std::vector<std::uint32_t> line_starts_;
  TDecorateList decorations_;  // before the elements, which refer to it
  std::vector<std::string> links_;
  std::vector<TWdElement> elements_;
};

}  // namespace kest
