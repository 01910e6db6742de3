// The arithmetic of tracks: interpolation, angles, zooms, frames at a time, picture delays.

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "images/motion_interp.h"

namespace kest {
namespace {

TEST(MotionInterpTest, IntegerCurves) {
  struct Case {
    std::int64_t c, d;
    std::int32_t b, e;
    std::uint8_t mode;
    Successor successor;
    std::int32_t expected;
  };
  const Case cases[] = {
      {10, 5, 0, 100, 0, Successor::No, 55},
      {10, 5, 0, 100, 1, Successor::No, 41},
      {10, 5, 0, 100, 2, Successor::No, 71},
      {10, 5, 0, 100, 7, Successor::No, 55},   // unknown modes are linear
      {5, 1, 255, 100, 0, Successor::No, 217},  // 255 - 38.75 truncated toward zero
      {10, 0, 3, 100, 1, Successor::No, 3},
      {10, 9, 3, 100, 2, Successor::No, 100},
      // A successor makes the count one larger: step 9 of 10 is no longer the end.
      {10, 9, 0, 100, 0, Successor::No, 100},
      {10, 9, 0, 100, 0, Successor::Yes, 90},
      {10, 5, 0, 100, 0, Successor::Yes, 50},
      // One step gives the start value, with or without a successor.
      {1, 0, 7, 9, 0, Successor::No, 7},
      {1, 0, 7, 9, 2, Successor::Yes, 7},
      // The widest values over a long track do not overflow.
      {std::int64_t{1} << 33, (std::int64_t{1} << 33) - 2, std::numeric_limits<std::int32_t>::min(),
       std::numeric_limits<std::int32_t>::max(), 0, Successor::No, 2147483646},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InterpolateInt(c.c, c.d, c.b, c.e, c.mode, c.successor), c.expected)
        << "c " << c.c << " d " << c.d << " mode " << int(c.mode);
}

TEST(MotionInterpTest, RealCurvesAndAngles) {
  EXPECT_DOUBLE_EQ(InterpolateReal(10, 5, 0, 90, 0, Successor::No), 50.0);
  EXPECT_NEAR(InterpolateReal(10, 5, 0, 100, 1, Successor::No), 100 - 58.778525229, 1e-6);
  EXPECT_NEAR(InterpolateReal(10, 5, 0, 100, 2, Successor::No), 70.710678118, 1e-6);
  EXPECT_DOUBLE_EQ(InterpolateReal(1, 0, 2.5, 9, 1, Successor::No), 2.5);

  struct Angle {
    double degrees;
    std::int32_t steps;
  };
  for (const Angle& a : {Angle{-90, 192}, Angle{90, 64}, Angle{360, 0}, Angle{-360, 0}, Angle{720 + 45, 32},
                         Angle{0.703125, 0} /* 0.5 step: ties to even */, Angle{2.109375, 2} /* 1.5 */,
                         Angle{-0.703125, 0}, Angle{1e300, AngleToTurnSteps(1e300)}})
    EXPECT_EQ(AngleToTurnSteps(a.degrees), a.steps) << a.degrees;
  EXPECT_GE(AngleToTurnSteps(-1e18), 0);
  EXPECT_LT(AngleToTurnSteps(-1e18), 256);
  EXPECT_EQ(AngleToTurnSteps(std::numeric_limits<double>::quiet_NaN()), 0);

  EXPECT_EQ(ZoomTo256(1.0), 256);
  EXPECT_EQ(ZoomTo256(0.5), 128);
  EXPECT_EQ(ZoomTo256(0.501953125), 128);  // 128.5: ties to even
  EXPECT_EQ(ZoomTo256(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ZoomTo256(std::numeric_limits<double>::infinity()), 256);
}

TEST(MotionInterpTest, FrameAtTime) {
  const std::vector<std::int64_t> durations{3, 5, 2};
  struct Case {
    std::int64_t cycle, t;
    std::int32_t frame;
  };
  for (const Case& c : {Case{10, 0, 0}, Case{10, 2, 0}, Case{10, 3, 1}, Case{10, 8, 2}, Case{10, 10, 0},
                        Case{10, 25, 1}, Case{20, 12, 2}, Case{20, 19, 2}, Case{20, 20, 0},
                        // A cycle below 1 counts as 1: every time is the start of the first frame.
                        Case{0, 7, 0}, Case{-5, 7, 0}, Case{10, -1, 2}})
    EXPECT_EQ(FrameAtTime(durations, c.cycle, c.t), c.frame) << "cycle " << c.cycle << " t " << c.t;
  EXPECT_EQ(FrameAtTime({}, 10, 3), -1);
}

TEST(MotionInterpTest, DelaysBecomeTicksOf16Ms) {
  struct Case {
    std::int32_t ms;
    std::int64_t ticks;
  };
  for (const Case& c : {Case{100, 6}, Case{48, 3}, Case{24, 2} /* 1.5 */, Case{40, 2} /* 2.5 */, Case{56, 4} /* 3.5 */,
                        Case{1, 1}, Case{0, 1}, Case{-40, 1}, Case{1600, 100}})
    EXPECT_EQ(DelayToTicks(c.ms), c.ticks) << c.ms;
}

}  // namespace
}  // namespace kest
