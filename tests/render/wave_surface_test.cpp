// The row-shifting proxy.

#include <gtest/gtest.h>

#include "render/dibx.h"
#include "render/wave_surface.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::Pixels;

TEST(TDIBXWave, ShiftsEachBandOfRowsByItsOffset) {
  TDIBX target(6, 4, 8), src(2, 4, 8);
  target.Fill(0);
  src.Fill(9);
  TDIBXWave wave(target, 1, 1);
  wave.SetSize(4, 3, 8);
  wave.row_offsets = {0, 2, 2};
  wave.Draw(1, 0, src, src.Bounds(), Flip::None, Keyed::No);
  // Row 0 is outside the proxy; row 1 unshifted; rows 2 and 3 shifted right by 2.
  EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0,  //
                                                         0, 9, 9, 0, 0, 0,  //
                                                         0, 0, 0, 9, 9, 0,  //
                                                         0, 0, 0, 9, 9, 0}));
  EXPECT_FALSE(target.Clip().active);  // the target's clip is restored
}

TEST(TDIBXWave, ClipUnionsPassToTheTargetAndEmptyBandsDrawNothing) {
  TDIBX target(6, 4, 8);
  target.Fill(0);
  TDIBXWave wave(target, 1, 1);
  wave.SetSize(4, 3, 8);
  wave.row_offsets = {0, 50, 0};
  wave.AddClipRect({0, 0, 3, 3});
  EXPECT_EQ(wave.ClipLimit(), (Rect{1, 1, 3, 3}));
  EXPECT_EQ(target.ClipLimit(), (Rect{1, 1, 3, 3}));
  wave.FillRect({0, 0, 6, 4}, 5);
  // Row 2 moves 50 columns right, past the target: its band is empty and draws nothing.
  EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0,  //
                                                         0, 5, 5, 0, 0, 0,  //
                                                         0, 0, 0, 0, 0, 0,  //
                                                         0, 0, 0, 0, 0, 0}));
  wave.ResetClip();
  EXPECT_FALSE(target.Clip().active);
}

}  // namespace
}  // namespace kest
