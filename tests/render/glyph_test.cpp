// Oversampled glyphs and palette draws.

#include <gtest/gtest.h>

#include "render/dibx.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::Pixels;

// A 1-bit picture of 8 x 4: the left 4 x 4 block all 0 bits (covered), the right all 1 bits.
const std::uint8_t kMonoBits[4] = {0x0F, 0x0F, 0x0F, 0x0F};

TEST(DrawMonoGlyph, CoveredBlocksPaintTheColourAndEmptyBlocksLeaveTheDestination) {
  const PackedPixels glyph{kMonoBits, 8, 4, 1, 1};
  TDIBX dst(2, 1, 32);
  dst.Fill(0x00123456);
  dst.DrawMonoGlyph(0, 0, 4, 255, 0x00ABCDEF, glyph, glyph.Bounds());
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00ABCDEF, 0x00123456}));
  dst.Fill(0x00123456);
  dst.DrawMonoGlyph(0, 0, 4, 255, 0x00ABCDEF, glyph, glyph.Bounds(), Flip::Horizontal);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00123456, 0x00ABCDEF}));
}

TEST(DrawMonoGlyph, PartialCoverageMixesBySixteenths) {
  const std::uint8_t bits[4] = {0x3F, 0xFF, 0xFF, 0xFF};  // two 0 bits in the block
  const PackedPixels glyph{bits, 4, 4, 1, 1};
  TDIBX dst(1, 1, 32);
  dst.Fill(0);
  dst.DrawMonoGlyph(0, 0, 4, 255, 0x00808080, glyph, glyph.Bounds());
  EXPECT_EQ(dst.GetPixel(0, 0), 0x00101010u);  // 128 * 2 >> 4
  dst.Fill(0);
  dst.DrawMonoGlyph(0, 0, 4, 128, 0x00808080, glyph, glyph.Bounds());
  EXPECT_EQ(dst.GetPixel(0, 0), 0x00080808u);  // coverage (128 * 2) >> 8 = 1
}

TEST(DrawGlyph4, WholeClassesCopyAndMixedBlocksWeightTheirColours) {
  // Two 2 x 2 blocks (n = 2): the left all class 1, the right half class 2 and half empty.
  const std::uint8_t nibbles[2][2] = {{0x11, 0x22}, {0x11, 0x00}};
  const PackedPixels glyph{{&nibbles[0][0], 4}, 4, 2, 2, 4};
  const GlyphColours colours{0x00FF0000, 0x000000FF, 0};
  TDIBX dst(2, 1, 32);
  dst.Fill(0x00000000);
  dst.DrawGlyph4(0, 0, 2, 255, colours, glyph, glyph.Bounds());
  // Right: w2 = 2 * 256, w0 = 1024 - 512; blue (255 * 512) >> 10 = 127.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00FF0000, 0x0000007F}));
  dst.Fill(0x00000010);
  dst.DrawGlyph4(0, 0, 2, 256 + 128, colours, glyph, glyph.Bounds());
  // Additive: the destination keeps its weight: (16 * 1024 + 255 * 2 * 128) >> 10 = 79.
  EXPECT_EQ(dst.GetPixel(1, 0), 0x0000004Fu);
}

TEST(DrawPalette, FourBitIndexesSkipTheTransparentIndex) {
  const std::uint8_t nibbles[1] = {0x12};
  PackedPixels source{nibbles, 2, 1, 1, 4};
  source.transparent_index = 2;
  const std::uint32_t palette[3] = {0, 0x00AAAAAA, 0x00BBBBBB};
  TDIBX dst(2, 1, 32);
  dst.Fill(5);
  dst.DrawPalette4(0, 0, palette, 255, source, source.Bounds());
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00AAAAAA, 5}));
}

TEST(DrawPalette, EightBitIndexesNotAboveTheTransparentColourAreSkipped) {
  TDIBX src(3, 1, 8), dst(3, 1, 32);
  src.SetPixel(0, 0, 1);
  src.SetPixel(1, 0, 2);
  src.SetPixel(2, 0, 3);
  src.transparent_color = 2;
  std::uint32_t palette[4] = {0, 0x00010101, 0x00020202, 0x00404040};
  dst.Fill(0x00101010);
  dst.DrawPalette8(0, 0, palette, 255, src, src.Bounds());
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00101010, 0x00101010, 0x004F4F4F}));
}

}  // namespace
}  // namespace kest
