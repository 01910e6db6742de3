#pragma once
// The frame clock: every script-visible time (waits, timers, "@TickCount", trace stamps) runs on
// the sum of counted frame durations, never on the wall clock, so nothing advances while the
// player is in the background or stopped in a debugger.

#include <cstdint>

#include "scenario/date_clock.h"

namespace kest {

class TFrameClock {
 public:
  static constexpr std::uint32_t kFrameTime = 16;      // target frame duration, milliseconds
  static constexpr std::uint32_t kLongestFrame = 3000;  // a longer gap is not counted
  static constexpr std::uint32_t kShortestSleep = 2;

  // The tick the next frame is measured from (at start, and on regaining the foreground, so
  // the time spent inactive is not counted).
  void Restart(std::uint32_t now) { last_tick_ = now; }

  // Counts the time since the last frame started. A gap above kLongestFrame is dropped and no
  // frame runs: answers false.
  bool BeginFrame(std::uint32_t now);

  // How long to sleep after a frame that began at `frame_start`, when the title asks for frame
  // pacing: what is left of kFrameTime, at least kShortestSleep.
  static std::uint32_t SleepAfterFrame(std::uint32_t frame_start, std::uint32_t now);

  // A scene update completed ("@UpdateCount").
  void CountUpdate();

  std::int32_t FrameClock = 0;     // sum of counted frame durations ("@TickCount")
  std::int32_t LastFrameTime = 0;  // duration of the last counted frame
  std::int32_t UpdateCount = 0;
  // The date and time scripts read, sampled once per frame-clock value.
  TDateClock Dates;

  const CivilTime& Date() { return Dates.Now(FrameClock); }

 private:
  std::uint32_t last_tick_ = 0;
};

}  // namespace kest
