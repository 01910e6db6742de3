#include <gtest/gtest.h>

#include <set>

#include "glyph_specimen.h"
#include "render/glyphs/fake_rasterizer.h"
#include "render/glyphs/font_pixel_manager.h"

namespace kest::tool {
namespace {

std::set<std::uint32_t> ColoursOf(TDIBX& picture) {
  std::set<std::uint32_t> colours;
  for (std::int32_t y = 0; y < picture.Height(); ++y)
    for (std::int32_t x = 0; x < picture.Width(); ++x) colours.insert(picture.GetPixel(x, y) & 0xFFFFFF);
  return colours;
}

TEST(GlyphSpecimen, TheLabelSitsOnTheBackgroundInsideItsMargins) {
  TFontPixelManager glyphs(MakeFakeRasterizer());
  SpecimenStyle plain;
  plain.size = 20;
  plain.colour = 0x0000FF;  // red, as 0x00BBGGRR
  plain.background = 0xFFFFFF;
  plain.margin = 5;
  TDIBX picture;
  RenderGlyphSpecimen("Ab\x82\xa0", plain, glyphs, picture);  // "Abあ"
  EXPECT_EQ(picture.Height(), 20 + 2 * 5);
  EXPECT_GT(picture.Width(), 2 * 5 + 20);
  // The margins stay background all round; the text is drawn in its colour.
  for (std::int32_t x = 0; x < picture.Width(); ++x) {
    ASSERT_EQ(picture.GetPixel(x, 0) & 0xFFFFFF, 0xFFFFFFu);
    ASSERT_EQ(picture.GetPixel(x, picture.Height() - 1) & 0xFFFFFF, 0xFFFFFFu);
  }
  // Fully covered pixels are the text's red (the blend by coverage gives 0xFE).
  const std::set<std::uint32_t> colours = ColoursOf(picture);
  EXPECT_TRUE(colours.count(0xFE0000));

  SpecimenStyle outlined = plain;
  outlined.border = 2;
  outlined.border_colour = 0x00FF00;
  outlined.shadow = 3;
  TDIBX decorated;
  RenderGlyphSpecimen("Ab\x82\xa0", outlined, glyphs, decorated);
  EXPECT_EQ(decorated.Height(), 20 + 2 * 2 + 3 + 2 * 5);  // the outline's rows and the shadow's
  EXPECT_TRUE(ColoursOf(decorated).count(0x00FF00));
}

TEST(GlyphSpecimen, AnEmptyTextGivesTheBackgroundOnly) {
  TFontPixelManager glyphs(MakeFakeRasterizer());
  SpecimenStyle style;
  style.background = 0x102030;
  TDIBX picture;
  RenderGlyphSpecimen("", style, glyphs, picture);
  EXPECT_EQ(ColoursOf(picture), std::set<std::uint32_t>{0x302010});
}

}  // namespace
}  // namespace kest::tool
