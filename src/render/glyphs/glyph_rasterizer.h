#pragma once
// The font engine behind the glyph cache. The real one uses FreeType on the faces the face
// resolver finds; the fake one draws boxes and patterns from the code and size, so pixel tests
// and `--glyphs fake` do not depend on installed fonts.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "render/glyphs/font_pixel.h"

namespace kest {

// One rasterised glyph before the cache wraps it: coverage 0..255 of the black box, top-down.
struct RasterGlyph {
  std::int32_t width = 0;   // black box; 0 x 0 for a blank glyph
  std::int32_t height = 0;
  std::vector<std::uint8_t> coverage;  // width * height values, rows top-down
  std::int32_t origin_x = 0;  // black box left relative to the pen
  std::int32_t origin_y = 0;  // black box top above the baseline
  std::int32_t advance = 0;   // cell advance
  std::int32_t bold_spread = 0;
};

class GlyphRasterizer {
 public:
  virtual ~GlyphRasterizer() = default;

  // The font's facts. Raises KestError("Error:GetOutlineTextMetrics") when the face is refused.
  virtual FontMetrics Metrics(const FontRequest& font) = 0;
  // The glyph of `code` (one byte, or lead * 256 + trail, CP932) at `level`. Nothing when the
  // engine cannot render at that grey level (the cache then drops to level 0 for the run).
  // A code without a Unicode mapping or without a glyph gives an empty glyph.
  virtual std::optional<RasterGlyph> Rasterize(std::uint16_t code, const FontRequest& font, int level) = 0;
  virtual AbcWidths Abc(std::uint16_t code, const FontRequest& font) = 0;
};

}  // namespace kest
