// The fake font engine: its glyphs as the cache places them, levels, styles and blanks.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "glyph_test_support.h"
#include "render/glyphs/fake_rasterizer.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/glyph_codes.h"
#include "render/glyphs/grey_tables.h"

namespace kest {
namespace {

using testing::DistinctValues;
using testing::MaskValues;

FontRequest Font(std::int32_t height, std::uint8_t style = 0) { return {.face = "fake", .height = height, .style = style}; }

// Codes chosen so that some glyphs start left of the pen ("C", "G") and some rise above the
// ascent ("F", "G"), with half-width katakana and kanji beside them.
constexpr std::uint16_t kDrawnCodes[] = {'A', 'C', 'F', 'G', 'g', '!', 0x5C, 0xB1, 0x82A0, 0x889F, 0x9F40};

TEST(FakeGlyphs, TheCachePlacesEachBoxByItsOriginAndAdvance) {
  auto engine = MakeFakeRasterizer();
  TFontPixelManager glyphs(MakeFakeRasterizer());
  bool some_left_of_pen = false, some_above_ascent = false;
  for (const std::int32_t height : {24, -24, 13, 5}) {
    for (const std::uint8_t style : {std::uint8_t{0}, std::uint8_t{kFontBold | kFontItalic}}) {
      const FontRequest font = Font(height, style);
      const std::int32_t ascent = engine->Metrics(font).ascent;
      for (const std::uint16_t code : kDrawnCodes) {
        SCOPED_TRACE(::testing::Message() << "code " << std::hex << code << std::dec << " height " << height
                                        << " style " << int(style));
        const auto raster = engine->Rasterize(code, font, 3);
        ASSERT_TRUE(raster);
        const GlyphRef glyph = glyphs.Get(code, font);
        ASSERT_TRUE(glyph->HasMask());
        EXPECT_EQ(glyph->mask.Width(), raster->width);
        EXPECT_EQ(glyph->mask.Height(), raster->height);
        EXPECT_EQ(MaskValues(*glyph), raster->coverage);
        EXPECT_EQ(glyph->offset_x, std::max(0, raster->origin_x));
        EXPECT_EQ(glyph->offset_y, std::max(0, ascent - raster->origin_y));
        EXPECT_EQ(glyph->extra_advance, std::max(0, raster->advance - raster->width - glyph->offset_x));
        EXPECT_EQ(glyph->code, code);
        EXPECT_EQ(glyph->height, height);
        EXPECT_EQ(glyph->level, 3);
        some_left_of_pen |= raster->origin_x < 0;
        some_above_ascent |= raster->origin_y > ascent;
      }
    }
  }
  EXPECT_TRUE(some_left_of_pen);
  EXPECT_TRUE(some_above_ascent);
}

TEST(FakeGlyphs, SingleByteCodesTakeHalfTheCellOfDoubleByteOnes) {
  auto engine = MakeFakeRasterizer();
  EXPECT_EQ(engine->Rasterize('A', Font(24), 3)->advance, 12);
  EXPECT_EQ(engine->Rasterize(0x82A0, Font(24), 3)->advance, 24);
  const FontMetrics metrics = engine->Metrics(Font(24));
  EXPECT_EQ(metrics.em, 24);
  EXPECT_EQ(metrics.ascent, 21);
  EXPECT_EQ(metrics.descent, 3);
  EXPECT_EQ(engine->Metrics(Font(-24)).ascent, 21);
}

TEST(FakeGlyphs, BlanksAdvanceWithoutAMaskAndUnmappedCodesDoNeither) {
  TFontPixelManager glyphs(MakeFakeRasterizer());
  const struct {
    std::uint16_t code;
    std::int32_t advance;
  } cases[] = {
      {0x20, 12},    // space: half the em
      {0x8140, 24},  // full-width space: the em
      {0x80, 0},     // no character at all
      {0xA0, 0},
      {0x81, 0},     // a lead byte on its own
      {0x4142, 0},   // two bytes that are not a double-byte character
      {0x81FF, 0},   // a lead byte with a byte that cannot follow it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const GlyphRef glyph = glyphs.Get(c.code, Font(24));
    ASSERT_NE(glyph, nullptr);
    EXPECT_FALSE(glyph->HasMask());
    EXPECT_EQ(glyph->extra_advance, c.advance);
  }
}

TEST(FakeGlyphs, LevelZeroIsTwoToneAndGreyLevelsShowOnlyTheirTableValues) {
  auto engine = MakeFakeRasterizer();
  for (int level = 0; level <= 3; ++level) {
    SCOPED_TRACE(level);
    const auto raster = engine->Rasterize(0x889F, Font(24), level);
    const auto table = GreyTable(level);
    std::set<std::uint8_t> seen(raster->coverage.begin(), raster->coverage.end());
    for (const std::uint8_t value : seen) EXPECT_NE(std::find(table.begin(), table.end(), value), table.end()) << int(value);
    EXPECT_TRUE(seen.count(0) && seen.count(255));
    // Grey levels keep the partial values pixel tests need for blending.
    if (level > 0) {
      EXPECT_GT(seen.size(), 2u);
    }
  }
}

TEST(FakeGlyphs, BoldWidensByItsSpreadAndItalicSlants) {
  auto engine = MakeFakeRasterizer();
  for (const std::int32_t height : {12, 24, 48, 100}) {
    SCOPED_TRACE(height);
    const auto plain = engine->Rasterize(0x82A0, Font(height), 3);
    const auto bold = engine->Rasterize(0x82A0, Font(height, kFontBold), 3);
    const auto italic = engine->Rasterize(0x82A0, Font(height, kFontItalic), 3);
    const std::int32_t spread = std::max(1, height / 24);
    EXPECT_EQ(bold->bold_spread, spread);
    EXPECT_EQ(bold->width, plain->width + spread);
    EXPECT_EQ(bold->advance, plain->advance + spread);
    EXPECT_EQ(engine->Metrics(Font(height, kFontBold)).overhang, spread);
    EXPECT_EQ(engine->Metrics(Font(height)).overhang, 0);
    EXPECT_EQ(plain->bold_spread, 0);
    EXPECT_NE(italic->coverage, plain->coverage);
    EXPECT_EQ(italic->height, plain->height);
  }
}

TEST(FakeGlyphs, AbcWidthsAddUpToTheAdvance) {
  auto engine = MakeFakeRasterizer();
  for (const std::uint16_t code : {std::uint16_t{'A'}, std::uint16_t{'C'}, std::uint16_t{0x82A0}, std::uint16_t{0x20}}) {
    SCOPED_TRACE(code);
    const AbcWidths abc = engine->Abc(code, Font(24));
    const auto raster = engine->Rasterize(code, Font(24), 3);
    EXPECT_EQ(abc.a + abc.b + abc.c, raster->advance);
    EXPECT_EQ(abc.b, raster->width);
    if (raster->width > 0) {
      EXPECT_EQ(abc.a, raster->origin_x);
    }
  }
}

TEST(FakeGlyphs, HeightsOutsideTheUsableRangeAreBroughtIntoIt) {
  auto engine = MakeFakeRasterizer();
  const struct {
    std::int32_t height;
    std::int32_t em;
  } cases[] = {{0, kDefaultFontEm}, {1, 1}, {-1, 1}, {kMaxFontEm + 1, kMaxFontEm}, {INT_MAX, kMaxFontEm}, {INT_MIN, kMaxFontEm}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    const FontMetrics metrics = engine->Metrics(Font(c.height));
    EXPECT_EQ(metrics.em, c.em);
    EXPECT_EQ(metrics.ascent + metrics.descent, c.em);
    const auto raster = engine->Rasterize(0x82A0, Font(c.height), 3);
    EXPECT_LE(raster->width, c.em);
    EXPECT_GE(raster->width, 1);
  }
}

}  // namespace
}  // namespace kest
