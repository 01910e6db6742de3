#pragma once
// The arithmetic of motion tracks: interpolating a value over a track's steps, finding the
// picture frame at a time, and turning degrees into the 256 steps of a turn.
//
// Interpolation over a count c of steps (one more when a chained track follows, so this track's
// last step does not repeat the next one's first value), at step d from b to e:
//   step 0 gives b; otherwise step c - 1 gives e; otherwise by mode
//   0 linear     b + d * (e - b) / (c - 1)              (integer division, toward zero)
//   1 slow start e - round((e - b) * sin((c - d - 1) * pi / 2 / c))
//   2 slow end   b + round(sin(d * pi / 2 / c) * (e - b))
// Other modes are linear. "round" is to nearest, ties to even. The real form (angles, zooms)
// applies the same formulas without rounding or truncation.

#include <cstdint>
#include <span>

namespace kest {

enum class Successor : bool { No = false, Yes = true };

std::int32_t InterpolateInt(std::int64_t count, std::int64_t step, std::int32_t begin, std::int32_t end,
                            std::uint8_t mode, Successor successor);
double InterpolateReal(std::int64_t count, std::int64_t step, double begin, double end, std::uint8_t mode,
                       Successor successor);

// One step of a track, for interpolating all of its properties: the two curves' sines depend
// only on the count and the step, so they are computed once.
class CurveStep {
 public:
  CurveStep(std::int64_t count, std::int64_t step, Successor successor);
  std::int32_t Int(std::int32_t begin, std::int32_t end, std::uint8_t mode) const;
  double Real(double begin, double end, std::uint8_t mode) const;

 private:
  enum class Where : std::uint8_t { Begin, End, Between };
  std::int64_t c_ = 0, d_ = 0;
  Where where_ = Where::Begin;
  long double slow_start_ = 0, slow_end_ = 0;  // the sines of modes 1 and 2
};

// Degrees to 256 steps a turn: round(degrees * 256 / 360) brought into 0..255 (-90 gives 192).
std::int32_t AngleToTurnSteps(double degrees);

// A zoom factor times 256, rounded (1.0 gives 256), saturated to the 32-bit range.
std::int32_t ZoomTo256(double zoom);

// The frame in which time t (from the track's start) falls: t mod max(1, cycle), then each
// frame's duration is subtracted in turn; past them all, the last frame. -1 without frames.
std::int32_t FrameAtTime(std::span<const std::int64_t> durations, std::int64_t cycle, std::int64_t t);

// A picture frame's delay (milliseconds) in ticks of 16 ms: round(delay / 16), at least 1.
std::int64_t DelayToTicks(std::int32_t delay_ms);
inline constexpr std::int32_t kMotionTickMs = 16;

}  // namespace kest
