#include "images/motion_interp.h"

#include <cmath>
#include <numbers>

#include "core/arith.h"

namespace kest {

namespace {

constexpr long double kHalfPi = std::numbers::pi_v<long double> / 2;

// The count a track interpolates over: one more when a chained track follows.
std::int64_t Steps(std::int64_t count, Successor successor) {
  return successor == Successor::Yes ? count + 1 : count;
}

std::int32_t ClampToInt32(__int128 value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t InterpolateInt(std::int64_t count, std::int64_t step, std::int32_t begin, std::int32_t end,
                            std::uint8_t mode, Successor successor) {
  const std::int64_t c = Steps(count, successor);
  const std::int64_t d = step;
  // Step 0 first: a track of one step shows its start value.
  if (d <= 0 || c <= 1) return begin;
  if (d >= c - 1) return end;
  const std::int64_t span = static_cast<std::int64_t>(end) - begin;
  switch (mode) {
    case 1: {
      const long double turn = static_cast<long double>(c - d - 1) * kHalfPi / static_cast<long double>(c);
      const long double part = RoundHalfEven(static_cast<long double>(span) * std::sin(turn));
      return SaturateToInt32(static_cast<long double>(end) - part);
    }
    case 2: {
      const long double turn = static_cast<long double>(d) * kHalfPi / static_cast<long double>(c);
      const long double part = RoundHalfEven(std::sin(turn) * static_cast<long double>(span));
      return SaturateToInt32(static_cast<long double>(begin) + part);
    }
    default:
      // The product needs more than 64 bits for long tracks over wide ranges; the quotient
      // stays between b and e. Division truncates toward zero.
      return ClampToInt32(begin + static_cast<__int128>(d) * span / (c - 1));
  }
}

double InterpolateReal(std::int64_t count, std::int64_t step, double begin, double end, std::uint8_t mode,
                       Successor successor) {
  const std::int64_t c = Steps(count, successor);
  const std::int64_t d = step;
  if (d <= 0 || c <= 1) return begin;
  if (d >= c - 1) return end;
  const long double b = begin, e = end;
  switch (mode) {
    case 1:
      return static_cast<double>(e - (e - b) * std::sin(static_cast<long double>(c - d - 1) * kHalfPi /
                                                         static_cast<long double>(c)));
    case 2:
      return static_cast<double>(b + std::sin(static_cast<long double>(d) * kHalfPi / static_cast<long double>(c)) *
                                         (e - b));
    default:
      return static_cast<double>(b + static_cast<long double>(d) * (e - b) / static_cast<long double>(c - 1));
  }
}

std::int32_t AngleToTurnSteps(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  // fmod keeps the value small before it is rounded; whole turns do not change the result.
  const long double turns = std::fmod(static_cast<long double>(degrees), 360.0L * (1LL << 40));
  const long double steps = RoundHalfEven(turns * 256.0L / 360.0L);
  const long long wrapped = static_cast<long long>(std::fmod(steps, 256.0L));
  return static_cast<std::int32_t>(wrapped < 0 ? wrapped + 256 : wrapped);
}

std::int32_t ZoomTo256(double zoom) {
  if (!std::isfinite(zoom)) return 256;
  return SaturateToInt32(RoundHalfEven(static_cast<long double>(zoom) * 256.0L));
}

std::int32_t FrameAtTime(std::span<const std::int64_t> durations, std::int64_t cycle, std::int64_t t) {
  if (durations.empty()) return -1;
  const std::int64_t period = cycle < 1 ? 1 : cycle;
  std::int64_t rest = t % period;
  if (rest < 0) rest += period;
  for (std::size_t i = 0; i < durations.size(); ++i) {
    if (rest < durations[i]) return static_cast<std::int32_t>(i);
    rest -= durations[i];
  }
  return static_cast<std::int32_t>(durations.size() - 1);
}

std::int64_t DelayToTicks(std::int32_t delay_ms) {
  const long double ticks = RoundHalfEven(static_cast<long double>(delay_ms) / kMotionTickMs);
  return ticks < 1 ? 1 : static_cast<std::int64_t>(ticks);
}

}  // namespace kest
