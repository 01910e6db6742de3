#include "render/glyphs/fake_rasterizer.h"

#include <algorithm>

#include "render/glyphs/glyph_codes.h"
#include "render/glyphs/grey_tables.h"

namespace kest {

namespace {

// The shape of a fake glyph before bold and italic.
struct FakeShape {
  bool blank = true;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t origin_x = 0;
  std::int32_t origin_y = 0;
  std::int32_t advance = 0;
};

std::int32_t FakeAscent(std::int32_t em) { return (em * 7 + 4) / 8; }
std::int32_t FakeBoldSpread(std::int32_t em) { return std::max(1, em / 24); }

bool IsBlankCharacter(char32_t c) { return c <= U' ' || c == U'\u3000'; }

FakeShape ShapeOf(std::uint16_t code, std::int32_t em) {
  FakeShape shape;
  const auto character = CodeToUnicode(code);
  if (!character) return shape;  // no character: nothing to draw and no advance
  const std::int32_t cell = std::max(1, IsSingleByteCode(code) ? em / 2 : em);
  shape.advance = cell;
  if (IsBlankCharacter(*character)) return shape;
  const std::int32_t margin = std::max(1, em / 8);
  const std::int32_t ascent = FakeAscent(em);
  shape.blank = false;
  shape.width = std::max(1, cell - 2 * margin);
  shape.height = std::max(1, em * 3 / 4 - code % 3);
  // Some codes reach left of the pen and some above the ascent, so both offsets get clamped.
  shape.origin_x = code % 4 == 3 ? -1 : margin;
  shape.origin_y = code % 8 >= 6 ? ascent + 1 : ascent - margin;
  return shape;
}

// Exact coverage of pixel (x, y): empty, full and three partial values in a fixed mix.
std::uint8_t PatternCoverage(std::uint16_t code, std::int32_t em, std::int32_t x, std::int32_t y) {
  static constexpr std::uint8_t kValues[6] = {0, 255, 255, 64, 128, 200};
  return kValues[(x * 7 + y * 13 + code * 31 + em) % 6];
}

class FakeRasterizer final : public GlyphRasterizer {
 public:
  FontMetrics Metrics(const FontRequest& font) override {
    const std::int32_t em = FontEm(font.height);
    FontMetrics metrics;
    metrics.em = em;
    metrics.ascent = FakeAscent(em);
    metrics.descent = em - metrics.ascent;
    metrics.overhang = (font.style & kFontBold) ? FakeBoldSpread(em) : 0;
    metrics.underline_position = std::max(1, em / 12);
    metrics.underline_size = std::max(1, em / 16);
    metrics.strike_out_position = std::max(1, em * 3 / 10);
    metrics.strike_out_size = std::max(1, em / 16);
    return metrics;
  }

  std::optional<RasterGlyph> Rasterize(std::uint16_t code, const FontRequest& font, int level) override {
    const std::int32_t em = FontEm(font.height);
    const FakeShape shape = ShapeOf(code, em);
    RasterGlyph glyph;
    glyph.advance = shape.advance;
    if (shape.blank) return glyph;
    const auto& quantize = CoverageMap(level);
    const bool italic = (font.style & kFontItalic) != 0;
    const std::int32_t slant = italic ? (shape.height - 1) / 5 : 0;
    const std::int32_t spread = (font.style & kFontBold) ? FakeBoldSpread(em) : 0;
    glyph.width = shape.width + slant + spread;
    glyph.height = shape.height;
    glyph.origin_x = shape.origin_x;
    glyph.origin_y = shape.origin_y;
    glyph.advance = shape.advance + spread;
    glyph.bold_spread = spread;
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
    for (std::int32_t y = 0; y < shape.height; ++y) {
      const std::int32_t shift = italic ? (shape.height - 1 - y) / 5 : 0;
      std::uint8_t* row = glyph.coverage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.width);
      for (std::int32_t x = 0; x < shape.width; ++x) {
        const std::uint8_t value = PatternCoverage(code, em, x, y);
        // Bold smears each pixel over the spread to its right, as emboldening an outline does.
        for (std::int32_t s = 0; s <= spread; ++s) {
          std::uint8_t& out = row[x + shift + s];
          out = std::max(out, value);
        }
      }
      for (std::int32_t x = 0; x < glyph.width; ++x) row[x] = quantize[row[x]];
    }
    return glyph;
  }

  AbcWidths Abc(std::uint16_t code, const FontRequest& font) override {
    const FakeShape shape = ShapeOf(code, FontEm(font.height));
    if (shape.blank) return {0, 0, shape.advance};
    return {shape.origin_x, shape.width, shape.advance - shape.origin_x - shape.width};
  }
};

}  // namespace

std::unique_ptr<GlyphRasterizer> MakeFakeRasterizer() { return std::make_unique<FakeRasterizer>(); }

}  // namespace kest
