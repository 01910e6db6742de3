// The tiling operations.

#include <gtest/gtest.h>

#include <climits>

#include "render/dibx.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::Pixels;

// An 8-bit surface whose pixels count 1, 2, 3 ... row by row.
class Counting : public TDIBX {
 public:
  Counting(std::int32_t w, std::int32_t h) : TDIBX(w, h, 8) {
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) SetPixel(x, y, static_cast<std::uint32_t>(1 + y * w + x));
  }
};

TEST(TileDraw, RepeatsFromTheOffsetWithGaps) {
  Counting src(3, 1);
  TDIBX dst(8, 1, 8);
  dst.Fill(0);
  dst.TileDraw({0, 0, 8, 1}, src, src.Bounds(), TileSpacing{1, 0, 1, 0});
  // First piece starts at column 1: 2 3, gap, 1 2 3, gap, 1.
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{2, 3, 0, 1, 2, 3, 0, 1}));
  EXPECT_FALSE(dst.Clip().active);  // the clip is restored
}

TEST(TileDraw, AnOffsetOfMinusTheWidthEqualsZero) {
  Counting src(3, 2);
  TDIBX a(7, 5, 8), b(7, 5, 8);
  a.Fill(0);
  b.Fill(0);
  a.TileDraw({0, 0, 7, 5}, src, src.Bounds(), TileSpacing{-3, -2, 0, 0});
  b.TileDraw({0, 0, 7, 5}, src, src.Bounds(), TileSpacing{0, 0, 0, 0});
  EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(TileDraw, GapsOfMinusTheWidthAndEmptySourcesDoNothing) {
  Counting src(3, 2);
  TDIBX dst(6, 4, 8);
  dst.Fill(0);
  dst.TileDraw({0, 0, 6, 4}, src, src.Bounds(), TileSpacing{0, 0, -3, 0});
  dst.TileDraw({0, 0, 6, 4}, src, src.Bounds(), TileSpacing{0, 0, 0, -5});
  dst.TileDraw({0, 0, 6, 4}, src, {1, 1, 1, 2}, TileSpacing{});
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(24, 0));
  // A huge destination with tiny tiles only walks the tiles near the clip.
  dst.TileDraw({INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2}, src, {0, 0, 1, 1}, TileSpacing{});
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(24, 1));
}

TEST(TileDraw, MaskAndAlphaVariantsTileTheirSingleDraws) {
  TDIBX src(2, 1, 32), mask(2, 1, 8), dst(4, 1, 32);
  src.Fill(0x00FFFFFF);
  mask.SetPixel(0, 0, 255);
  mask.SetPixel(1, 0, 0);
  dst.Fill(0);
  dst.TileDrawMask({0, 0, 4, 1}, src, src.Bounds(), mask, TileSpacing{});
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00FFFFFF, 0, 0x00FFFFFF, 0}));
  dst.Fill(0);
  dst.TileDrawAlpha({0, 0, 3, 1}, src, src.Bounds(), TileSpacing{}, 255);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x00FEFEFE, 0x00FEFEFE, 0x00FEFEFE, 0}));
}

TEST(TileFill, StaysAnchoredToTheRectangleWhenClipped) {
  Counting src(3, 1);
  TDIBX whole(8, 1, 8), clipped(8, 1, 8);
  whole.Fill(0);
  clipped.Fill(0);
  whole.TileFill({0, 0, 8, 1}, src, 1, 0);
  clipped.AddClipRect({3, 0, 8, 1});
  clipped.TileFill({0, 0, 8, 1}, src, 1, 0);
  EXPECT_EQ(Pixels(whole), (std::vector<std::uint32_t>{2, 3, 1, 2, 3, 1, 2, 3}));
  EXPECT_EQ(Pixels(clipped), (std::vector<std::uint32_t>{0, 0, 0, 2, 3, 1, 2, 3}));
  whole.TileFill({0, 0, 8, 1}, src, 0, 0, Flip::Horizontal);
  EXPECT_EQ(Pixels(whole), (std::vector<std::uint32_t>{3, 2, 1, 3, 2, 1, 3, 2}));
}

TEST(FrameTile, FillsOnlyTheBorder) {
  Counting src(1, 1);
  TDIBX dst(4, 4, 8);
  dst.Fill(0);
  dst.FrameTile({0, 0, 4, 4}, 1, src, 0, 0);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1}));
}

TEST(TileZoom, LaysScaledCellsOnTheGrid) {
  Counting src(2, 1);
  TDIBX dst(9, 2, 8);
  dst.Fill(0);
  // Cells of 4 x 2 (zoom 2) every 4 pixels across (pitch 2 source pixels).
  dst.TileZoom({0, 0, 9, 2}, src, src.Bounds(), TileZoomGrid{0, 0, 2, 1, 512, 512}, 255);
  EXPECT_EQ(dst.GetPixel(0, 0), 1u);
  EXPECT_EQ(dst.GetPixel(3, 1), 2u);
  EXPECT_EQ(dst.GetPixel(4, 0), 1u);
  TDIBX none(4, 4, 8);
  none.Fill(0);
  none.TileZoom({0, 0, 4, 4}, src, src.Bounds(), TileZoomGrid{0, 0, 0, 0, 256, 256}, 255);
  EXPECT_EQ(Pixels(none), std::vector<std::uint32_t>(16, 0));
}

TEST(TileStretch, RepeatsTheWholeSourceScaled) {
  Counting src(2, 1);
  TDIBX dst(8, 1, 8);
  dst.Fill(0);
  dst.TileStretch({0, 0, 8, 1}, src, TileStretchPlacement{0, 0, 512, 256}, 255);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2}));
  dst.Fill(0);
  dst.TileStretch({0, 0, 8, 1}, src, TileStretchPlacement{0, 0, 0, 256}, 255);
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(8, 0));
}

}  // namespace
}  // namespace kest
