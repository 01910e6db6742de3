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

CurveStep::CurveStep(std::int64_t count, std::int64_t step, Successor successor)
    : c_(Steps(count, successor)), d_(step) {
  // Step 0 first: a track of one step shows its start value.
  if (d_ <= 0 || c_ <= 1) {
    where_ = Where::Begin;
  } else if (d_ >= c_ - 1) {
    where_ = Where::End;
  } else {
    where_ = Where::Between;
    const long double c = static_cast<long double>(c_);
    slow_start_ = std::sin(static_cast<long double>(c_ - d_ - 1) * kHalfPi / c);
    slow_end_ = std::sin(static_cast<long double>(d_) * kHalfPi / c);
  }
}

std::int32_t CurveStep::Int(std::int32_t begin, std::int32_t end, std::uint8_t mode) const {
  if (where_ == Where::Begin) return begin;
  if (where_ == Where::End) return end;
  const std::int64_t span = static_cast<std::int64_t>(end) - begin;
  switch (mode) {
    case 1: return SaturateToInt32(end - RoundHalfEven(static_cast<long double>(span) * slow_start_));
    case 2: return SaturateToInt32(begin + RoundHalfEven(slow_end_ * static_cast<long double>(span)));
    default:
      // Division truncates toward zero. The span takes 33 bits, so below 2^31 steps the product
      // fits in 64 bits; longer tracks over wide ranges need 128. The quotient stays between b
      // and e.
      if (d_ <= INT32_MAX) return static_cast<std::int32_t>(begin + d_ * span / (c_ - 1));
      return ClampToInt32(begin + static_cast<__int128>(d_) * span / (c_ - 1));
  }
}

double CurveStep::Real(double begin, double end, std::uint8_t mode) const {
  if (where_ == Where::Begin) return begin;
  if (where_ == Where::End) return end;
  const long double b = begin, e = end;
  switch (mode) {
    case 1: return static_cast<double>(e - (e - b) * slow_start_);
    case 2: return static_cast<double>(b + slow_end_ * (e - b));
    default: return static_cast<double>(b + static_cast<long double>(d_) * (e - b) / static_cast<long double>(c_ - 1));
  }
}

std::int32_t InterpolateInt(std::int64_t count, std::int64_t step, std::int32_t begin, std::int32_t end,
                            std::uint8_t mode, Successor successor) {
  return CurveStep(count, step, successor).Int(begin, end, mode);
}

double InterpolateReal(std::int64_t count, std::int64_t step, double begin, double end, std::uint8_t mode,
                       Successor successor) {
  return CurveStep(count, step, successor).Real(begin, end, mode);
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
