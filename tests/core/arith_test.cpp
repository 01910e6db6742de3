#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/arith.h"

namespace kest {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(WrappingArithmetic, MatchesThirtyTwoBitMachineResults) {
  struct { const char* what; std::int32_t got, want; } cases[] = {
      {"max + 1", wrap::Add(kMax, 1), kMin},
      {"min - 1", wrap::Sub(kMin, 1), kMax},
      {"max * 2", wrap::Mul(kMax, 2), -2},
      {"65536 * 65536", wrap::Mul(65536, 65536), 0},
      {"-min", wrap::Neg(kMin), kMin},
      {"min / -1", wrap::Div(kMin, -1), kMin},
      {"min % -1", wrap::Mod(kMin, -1), 0},
      {"-7 / 2", wrap::Div(-7, 2), -3},
      {"7 % -2", wrap::Mod(7, -2), 1},
      {"-7 % 2", wrap::Mod(-7, 2), -1},
      {"1 << 33", wrap::ShiftLeft(1, 33), 2},
      {"1 << -1", wrap::ShiftLeft(1, -1), kMin},
      {"-1 >> 28", wrap::ShiftRight(-1, 28), 15},
      {"-1 >> 32", wrap::ShiftRight(-1, 32), -1},
  };
  for (auto c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(Rounding, TiesGoToEven) {
  struct { long double in, out; } cases[] = {
      {0.5L, 0.0L}, {1.5L, 2.0L}, {2.5L, 2.0L}, {-0.5L, -0.0L}, {-1.5L, -2.0L}, {2.4999L, 2.0L}, {2.5001L, 3.0L}};
  for (auto c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << static_cast<double>(c.in);
}

TEST(RealToInteger, TruncatesOrSaturatesAndNeverSeesNaN) {
  EXPECT_EQ(TruncateToLow32(3e9L), -1294967296);
  EXPECT_EQ(TruncateToLow32(-2.9L), -2);
  EXPECT_EQ(TruncateToLow32(std::nanl("")), 0);
  EXPECT_EQ(TruncateToLow32(1e30L), 0);
  EXPECT_EQ(SaturateToInt32(1e30L), kMax);
  EXPECT_EQ(SaturateToInt32(-1e30L), kMin);
  EXPECT_EQ(SaturateToInt32(-2.9L), -2);
  EXPECT_EQ(SaturateToInt32(std::nanl("")), 0);
}

}  // namespace
}  // namespace kest
