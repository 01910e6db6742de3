#pragma once
// One cached glyph and the font facts the text layout needs. A glyph is an 8-bit coverage mask
// (0 empty .. 255 full) of the glyph's black box, placed in its cell by the offsets.

#include <cstdint>
#include <memory>
#include <string>

#include "render/dibx.h"

namespace kest {

// Style bits of a font request.
enum FontStyleBits : std::uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeOut = 8,
};

// Anti-aliasing levels: 0 is a 1-bit render, 1..3 grey with 5, 17 and 65 grey values.
inline constexpr int kMaxGlyphLevel = 3;

// What a caller asks for: a face by the name the title uses, an em height and style bits. A
// negative height means the same em as its magnitude.
struct FontRequest {
  std::string face;  // CP932, as the title names it
  std::int32_t height = 12;
  std::uint8_t style = 0;

  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// The font's cell facts, in pixels. em = |height|, ascent + descent = em.
struct FontMetrics {
  std::int32_t em = 0;
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t overhang = 0;            // extra width of synthetic bold
  std::int32_t underline_position = 0;  // below the baseline, positive downwards
  std::int32_t underline_size = 1;
  std::int32_t strike_out_position = 0; // above the baseline
  std::int32_t strike_out_size = 1;
};

// A character's horizontal widths: A = left bearing, B = black box, C = advance - A - B.
struct AbcWidths {
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::int32_t c = 0;
};

struct TFontPixel {
  TDIBX mask;                  // 8-bit; empty (0 x 0) for a blank black box or no glyph
  std::uint16_t code = 0;      // one byte, or lead * 256 + trail
  std::string font_name;       // requested face name
  std::int32_t height = 0;     // requested height
  std::uint8_t style = 0;
  std::int32_t level = 0;      // level the glyph was made with
  std::int32_t offset_x = 0;   // max(0, origin x)
  std::int32_t offset_y = 0;   // max(0, ascent - origin y)
  std::int32_t underline_size = 0;
  std::int32_t strike_out_position = 0;  // ascent - the font's strike-out position
  std::int32_t strike_out_size = 0;
  std::int32_t extra_advance = 0;
  std::int32_t bold_spread = 0;  // emboldening width (0 when not bold)

  bool HasMask() const { return mask.Width() > 0 && mask.Height() > 0; }
};

// Glyphs are shared: one a caller still holds survives its eviction from the cache.
using GlyphRef = std::shared_ptr<const TFontPixel>;

}  // namespace kest
