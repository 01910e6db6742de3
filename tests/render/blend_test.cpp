// Copies, blends, additive and mask draws of whole surfaces, and their agreement across levels.

#include <gtest/gtest.h>

#include "render/dibx.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::FillNoise;
using testing::Pixels;

TEST(Draw, CopiesExactlyAndDrawAlpha255DoesNot) {
  TDIBX src(1, 1, 32), a(1, 1, 32), b(1, 1, 32);
  src.SetPixel(0, 0, 0x00FF8001);
  a.Fill(0);
  b.Fill(0);
  a.Draw(0, 0, src, src.Bounds());
  b.DrawAlpha(0, 0, src, src.Bounds(), 255);
  EXPECT_EQ(a.GetPixel(0, 0), 0x00FF8001u);
  EXPECT_EQ(b.GetPixel(0, 0), 0x00FE7F00u);
}

TEST(Draw, FlipHCutAtTheLeftRemovesColumnsFromTheSourcesRight) {
  TDIBX src(4, 1, 8), dst(4, 1, 8);
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, static_cast<std::uint32_t>(10 + x));
  dst.Fill(0);
  dst.Draw(-1, 0, src, src.Bounds(), Flip::Horizontal);
  // Mirrored row is 13 12 11 10; its first column (13, from the source's right) is cut.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{12, 11, 10, 0}));
  dst.Fill(0);
  dst.Draw(0, -1, src, {0, 0, 4, 1}, Flip::Vertical);
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(4, 0));
}

TEST(Draw, KeyedCopySkipsTheTransparentColour) {
  TDIBX src(3, 1, 32), dst(3, 1, 32);
  src.SetPixel(0, 0, 5);
  src.SetPixel(1, 0, 9);
  src.SetPixel(2, 0, 6);
  src.transparent_color = 9;
  dst.Fill(1);
  dst.Draw(0, 0, src, src.Bounds(), Flip::None, Keyed::Yes);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{5, 1, 6}));
  dst.Draw(0, 0, src, src.Bounds(), Flip::None, Keyed::No);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{5, 9, 6}));
}

TEST(Draw, SourceRectanglesOutsideTheSourceAreNeverRead) {
  TDIBX src(2, 2, 32), dst(4, 4, 32);
  src.Fill(3);
  dst.Fill(0);
  dst.Draw(0, 0, src, {-1, -1, 3, 3});
  // Only the source's own 2 x 2 pixels land, shifted by the part cut from its left and top.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 3, 3, 0, 0, 3, 3, 0, 0, 0, 0, 0}));
}

TEST(DrawAdd, AlwaysSkipsTheTransparentColourUnlessItIsNone) {
  TDIBX src(2, 1, 32), dst(2, 1, 32);
  src.SetPixel(0, 0, 0x00101010);
  src.SetPixel(1, 0, 0x00202020);
  src.transparent_color = 0x00202020;
  dst.Fill(0x00010101);
  dst.DrawAdd(0, 0, src, src.Bounds(), 255);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00101010, 0x00010101}));
  src.transparent_color = -1;
  dst.Fill(0x00010101);
  dst.DrawAdd(0, 0, src, src.Bounds(), 128);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00090909, 0x00111111}));
}

TEST(DrawAdd, OnBytesAddsWithoutTheLevel) {
  TDIBX src(1, 1, 8), dst(1, 1, 8);
  src.SetPixel(0, 0, 200);
  dst.Fill(100);
  dst.DrawAdd(0, 0, src, src.Bounds(), 1);
  EXPECT_EQ(dst.GetPixel(0, 0), 255u);
}

TEST(DrawMask, IntersectsTheMasksBoundsAndNeedsAnEightBitMask) {
  TDIBX src(4, 1, 32), mask(2, 1, 8), dst(4, 1, 32);
  src.Fill(0x00FFFFFF);
  mask.Fill(255);
  dst.Fill(0);
  dst.DrawMask(0, 0, src, src.Bounds(), mask);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00FFFFFF, 0x00FFFFFF, 0, 0}));
  TDIBX wide_mask(4, 1, 32);
  dst.Fill(0);
  dst.DrawMask(0, 0, src, src.Bounds(), wide_mask);
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(4, 0));
}

TEST(DrawMask, AlphaAndAddWeightByTheMask) {
  TDIBX src(3, 1, 32), mask(3, 1, 8), dst(3, 1, 32);
  src.Fill(0x00C8C8C8);
  mask.SetPixel(0, 0, 0);
  mask.SetPixel(1, 0, 128);
  mask.SetPixel(2, 0, 255);
  dst.Fill(0x00101010);
  dst.DrawMaskAlpha(0, 0, src, src.Bounds(), mask, 200);
  // w = (200 * 128) >> 8 = 100: (200 * 100 + 16 * 155) >> 8 = 87; w = 199: (200 * 199 + 16 * 56) >> 8 = 158.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00101010, 0x00575757, 0x009E9E9E}));
  dst.Fill(0x00101010);
  dst.DrawMaskAdd(0, 0, src, src.Bounds(), mask, 255);
  // w = 127: 16 + (200 * 127 >> 8) = 115; w = 254: 16 + 198 = 214.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00101010, 0x00737373, 0x00D6D6D6}));
}

TEST(DrawColorMask, PaintsThroughTheMaskAndRefusesRectanglesOutsideIt) {
  TDIBX mask(3, 1, 8), dst(3, 1, 32);
  mask.SetPixel(0, 0, 0);
  mask.SetPixel(1, 0, 255);
  mask.SetPixel(2, 0, 100);
  dst.Fill(0);
  dst.DrawColorMask(0, 0, mask, mask.Bounds(), 0x00FF0000, 255);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0, 0x00FE0000, 0x00630000}));
  dst.Fill(0);
  dst.DrawColorMask(0, 0, mask, {0, 0, 4, 1}, 0x00FF0000, 255);
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(3, 0));
}

TEST(Blends, SixteenBitChannelsFollowTheSameFormulas) {
  TDIBX src(1, 1, 16), dst(1, 1, 16);
  src.SetPixel(0, 0, 0xFFFF);
  dst.Fill(0);
  dst.DrawAlpha(0, 0, src, src.Bounds(), 128);
  // Red 31 * 128 >> 8 = 15, green 63 * 128 >> 8 = 31, blue 15.
  EXPECT_EQ(dst.GetPixel(0, 0), (15u << 11) | (31u << 5) | 15u);
}

TEST(Blends, DrawingASurfaceOntoItselfReadsTheOriginalPixels) {
  TDIBX s(1, 4, 8);
  for (int y = 0; y < 4; ++y) s.SetPixel(0, y, static_cast<std::uint32_t>(y + 1));
  s.Draw(0, 1, s, {0, 0, 1, 3});
  EXPECT_EQ(Pixels(s), (std::vector<std::uint32_t>{1, 1, 2, 3}));
}

// The whole surface operations at every level give the same pictures, for every combined value.
TEST(Blends, EveryLevelDrawsTheSamePictureForEveryCombinedValue) {
  TDIBX src(37, 5, 32), mask(37, 5, 8);
  FillNoise(src, 1);
  FillNoise(mask, 2);
  src.transparent_color = static_cast<std::int32_t>(src.GetPixel(3, 1));
  for (int combined = 0; combined <= 511; ++combined) {
    std::vector<std::vector<std::uint32_t>> results;
    for (const SimdLevel level : testing::SupportedLevels()) {
      testing::SimdLevelScope scope(level);
      TDIBX dst(41, 7, 32);
      FillNoise(dst, 3);
      dst.Draw(5, 1, src, {0, 0, 5, 2});  // some destination pixels equal to the source
      dst.DrawCombined(3, 1, src, {1, 0, 36, 5}, combined, Flip::Horizontal, Keyed::Yes);
      dst.DrawRotate(20, 3, src, src.Bounds(), RotateZoom{combined, 18, 2, 300, 200}, combined, Flip::None, Keyed::Yes);
      dst.DrawRotateMask(10, 2, src, src.Bounds(), mask, RotateZoom{-combined, 4, 1, 256, 256}, combined);
      dst.DrawMaskAlpha(1, 0, src, src.Bounds(), mask, combined & 255, Flip::Vertical);
      results.push_back(Pixels(dst));
    }
    for (std::size_t i = 1; i < results.size(); ++i) ASSERT_EQ(results[0], results[i]) << "combined " << combined;
  }
}

}  // namespace
}  // namespace kest
