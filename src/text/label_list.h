#pragma once
// Caption label lists: short one-line texts in one style, drawn many times (the items of menus
// and lists, each in a normal and a hover look, and the player's own widgets). The list measures
// every label's characters once, each label renders its text into a colour and a coverage
// surface when it changes, and drawing a label is then one masked copy.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "render/dibx.h"
#include "render/glyphs/font_pixel.h"

namespace kest {

class TFontPixelManager;
class TVxLabelList;

// The width cache of one measuring pass: a value per character code, 0 until it is set.
class TVxTagValList {
 public:
  std::int32_t& operator[](std::uint32_t key) { return values_[key]; }

 private:
  std::unordered_map<std::uint32_t, std::int32_t> values_;
};

// The character codes of CP932 text: one byte, or lead byte * 256 + trail byte.
std::vector<std::uint16_t> CharacterCodes(std::string_view cp932);

class TVxLabelDIB {
 public:
  explicit TVxLabelDIB(TVxLabelList& list) : list_(&list) {}

  // Marks the label dirty only when the text changes.
  void SetText(std::string_view text);
  const std::string& Text() const { return text_; }

  // Rebuilds both surfaces from the text, at the target surface's bit count.
  void Render();
  // Draws onto the list's target surface with the label's top-left at (x, y).
  void Draw(std::int32_t x, std::int32_t y);

  bool Dirty() const { return dirty_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  const std::vector<std::int32_t>& CharWidths() const { return char_widths_; }
  const TDIBX& ColorSurface() const { return color_; }
  const TDIBX& CoverageSurface() const { return coverage_; }

 private:
  friend class TVxLabelList;

  TVxLabelList* list_;
  TDIBX color_;
  TDIBX coverage_{0, 0, 8};
  std::string text_;
  bool dirty_ = true;
  std::int32_t height_ = 0;
  std::int32_t width_ = 0;
  std::vector<std::int32_t> char_widths_;
};

// The stream form keeps the font's measured metrics as an opaque block of this size.
inline constexpr std::size_t kLabelMetricsBytes = 212;
// Stream versions from which fields changed meaning or appeared.
inline constexpr std::int32_t kLabelLevelsVersion = 109;  // before: 0 or 1 plain, above 1 grey
inline constexpr std::int32_t kLabelShadowVersion = 122;  // Shadow and ShadowColor stored

class TVxLabelList {
 public:
  explicit TVxLabelList(TFontPixelManager& glyphs) : glyphs_(&glyphs) {}

  TVxLabelDIB& Add();
  TVxLabelDIB* Get(std::size_t index);
  std::size_t Count() const { return labels_.size(); }
  void Clear() { labels_.clear(); }
  std::int32_t MaxWidth() const;

  // Recomputes the metrics and every label's height, character widths and width.
  void Measure();
  void InvalidateAll();

  void SaveToStream(ByteWriter& out) const;
  // Lengths are checked against the bytes left; sizes out of range are brought within it.
  void LoadFromStream(ByteReader& in, std::int32_t version);

  // The style. Setters keep values in their ranges: FontHeight 1..256 (a negative height is the
  // same em), BorderWidth and Shadow 0..16, Alpha 0..255, AntialiasLevel 0..3.
  void SetFontHeight(std::int32_t height);
  void SetBorderWidth(std::int32_t width);
  void SetShadow(std::int32_t offset);
  void SetAlpha(std::int32_t alpha);
  void SetAntialiasLevel(std::int32_t level);

  std::int32_t AntialiasLevel() const { return antialias_level_; }
  std::int32_t BorderWidth() const { return border_width_; }
  std::int32_t Alpha() const { return alpha_; }
  std::int32_t FontHeight() const { return font_height_; }
  std::int32_t Shadow() const { return shadow_; }

  TCustomDIBX* TargetSurface = nullptr;  // set by the owner before each drawing pass
  std::string FontName = DefaultFontName();
  std::int32_t Color = 0xFFFFFF;  // 0x00BBGGRR
  std::int32_t BorderColor = 0;
  std::int32_t ShadowColor = 0;
  std::uint8_t FontStyle = 0;
  std::array<std::uint8_t, kLabelMetricsBytes> Metrics{};

  static const std::string& DefaultFontName();  // "ＭＳ Ｐゴシック"
  FontRequest Font() const { return {FontName, font_height_, FontStyle}; }
  TFontPixelManager& Glyphs() { return *glyphs_; }

 private:
  TFontPixelManager* glyphs_;
  std::vector<std::unique_ptr<TVxLabelDIB>> labels_;
  std::int32_t antialias_level_ = 3;
  std::int32_t border_width_ = 0;
  std::int32_t alpha_ = 255;
  std::int32_t font_height_ = 12;
  std::int32_t shadow_ = 0;
};

}  // namespace kest
