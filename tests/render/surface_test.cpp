// The memory surface, colours, single pixels, the clip rectangle and the fills.

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/errors.h"
#include "render/dibx.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

TEST(TDIBX, StoresRowsBottomUpWithANegativePitch) {
  TDIBX s(3, 2, 24);
  EXPECT_EQ(s.Pitch(), -12);  // 9 bytes padded to 12
  EXPECT_EQ(s.PixelAddress(0, 0) - s.PixelAddress(0, 1), 12);
  TDIBX t(5, 4, 15);
  EXPECT_EQ(t.BitCount(), 15);
  EXPECT_EQ(t.StoreBitCount(), 16);
  EXPECT_EQ(t.GreenMask(), 0x3E0u);
  EXPECT_EQ(t.RedShift(), 10);
  TDIBX u(1, 1, 16);
  EXPECT_EQ(u.RedShift(), 11);
  EXPECT_EQ(u.GreenShift(), 5);
}

TEST(TDIBX, RefusesSidesBeyondTheCapAndRowsOutsideTheSurface) {
  TDIBX s;
  EXPECT_THROW(s.SetSize(32768, 1, 32), KestError);
  EXPECT_THROW(s.SetSize(1, -1, 32), KestError);
  EXPECT_TRUE(s.IsEmpty());
  s.SetSize(2, 2, 32);
  try {
    s.PixelAddress(0, 2);
    FAIL() << "no error";
  } catch (const KestError& e) {
    EXPECT_EQ(cp932::ToUtf8(e.what()), "スキャンラインのインデックスが範囲を越えました (2)");
  }
  s.Clear();
  EXPECT_TRUE(s.IsEmpty());
}

TEST(Surface, ColorToPixelPlacesEachChannel) {
  struct Case {
    int bits;
    std::int32_t colour;
    std::int32_t native;
  };
  const Case cases[] = {
      {32, 0x00112233, 0x00332211}, {16, 0x00FFFFFF, 0xFFFF}, {16, 0x000000F8, 0xF800},
      {15, 0x0000F800, 0x03E0},     {8, 0x00000042, 0x42},    {32, -1, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(TDIBX(1, 1, c.bits).ColorToPixel(c.colour), c.native) << c.bits;
}

TEST(Surface, PixelsOutsideReadZeroAndIgnoreWrites) {
  TDIBX s(2, 2, 32);
  s.Fill(7);
  s.SetPixel(-1, 0, 9);
  s.SetPixel(2, 0, 9);
  EXPECT_EQ(s.GetPixel(-1, 0), 0u);
  EXPECT_EQ(s.GetPixel(0, 5), 0u);
  EXPECT_EQ(testing::Pixels(s), (std::vector<std::uint32_t>{7, 7, 7, 7}));
}

TEST(Surface, AddClipRectClampsAndGrowsToTheUnion) {
  TDIBX s(10, 10, 32);
  s.AddClipRect({20, 20, 30, 30});  // outside: ignored
  EXPECT_FALSE(s.Clip().active);
  s.AddClipRect({-5, 2, 3, 4});
  EXPECT_EQ(s.ClipLimit(), (Rect{0, 2, 3, 4}));
  s.AddClipRect({6, 1, 8, 3});
  EXPECT_EQ(s.ClipLimit(), (Rect{0, 1, 8, 4}));
  s.AddClipRect({50, 50, 60, 60});
  EXPECT_EQ(s.ClipLimit(), (Rect{0, 1, 8, 4}));
  s.ResetClip();
  EXPECT_EQ(s.ClipLimit(), (Rect{0, 0, 10, 10}));
}

TEST(Surface, AnActiveEmptyClipDrawsNothing) {
  TDIBX s(4, 4, 32), src(4, 4, 32);
  s.Fill(1);
  src.Fill(2);
  s.SetClip({Rect{2, 2, 2, 2}, true});
  s.FillRect({0, 0, 4, 4}, 5);
  s.Draw(0, 0, src, src.Bounds());
  s.StretchDraw({0, 0, 4, 4}, src, src.Bounds(), 255);
  s.DrawRotate(2, 2, src, src.Bounds(), RotateZoom{}, 255);
  s.ResetClip();
  EXPECT_EQ(testing::Pixels(s), std::vector<std::uint32_t>(16, 1));
}

TEST(Surface, FillSetsEveryPixelAtEveryDepth) {
  for (int bits : {8, 15, 16, 24, 32}) {
    TDIBX s(5, 3, bits);
    s.Fill(0x1234 & (bits == 8 ? 0xFF : 0xFFFF));
    for (std::uint32_t p : testing::Pixels(s)) EXPECT_EQ(p, 0x1234u & (bits == 8 ? 0xFFu : 0xFFFFu)) << bits;
  }
}

TEST(Surface, FillRectAlphaLeavesPixelsEqualToTheColour) {
  TDIBX s(2, 1, 32);
  s.SetPixel(0, 0, 0x00FFFFFF);
  s.SetPixel(1, 0, 0);
  s.FillRectAlpha({0, 0, 2, 1}, 0x00FFFFFF, 255);
  EXPECT_EQ(s.GetPixel(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(s.GetPixel(1, 0), 0x00FEFEFEu);
}

TEST(Surface, FillAddAndSubSaturatePerChannelAt16Bits) {
  TDIBX s(1, 1, 16);
  s.SetPixel(0, 0, (30u << 11) | (60u << 5) | 1u);
  s.FillRectAdd({0, 0, 1, 1}, (5u << 11) | (1u << 5) | 2u);
  EXPECT_EQ(s.GetPixel(0, 0), (31u << 11) | (61u << 5) | 3u);
  s.FillRectSub({0, 0, 1, 1}, (1u << 11) | (63u << 5) | 5u);
  EXPECT_EQ(s.GetPixel(0, 0), (30u << 11) | (0u << 5) | 0u);
}

TEST(Surface, FrameRectFillsFourBandsOnlyWhenRoomIsLeft) {
  TDIBX s(5, 5, 8);
  s.Fill(0);
  s.FrameRect({0, 0, 5, 5}, 1, 1);
  const std::vector<std::uint32_t> framed = {1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(testing::Pixels(s), framed);
  TDIBX t(3, 2, 8);
  t.Fill(0);
  t.FrameRect({0, 0, 3, 2}, 1, 1);  // no room between top and bottom: no sides
  EXPECT_EQ(testing::Pixels(t), std::vector<std::uint32_t>(6, 1));
  t.FrameRect({0, 0, 3, 2}, 2'000'000'000, 2);  // huge widths do not overflow
  EXPECT_EQ(testing::Pixels(t), std::vector<std::uint32_t>(6, 2));
}

}  // namespace
}  // namespace kest
