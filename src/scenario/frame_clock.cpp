#include "scenario/frame_clock.h"

#include <algorithm>

#include "core/arith.h"

namespace kest {

bool TFrameClock::BeginFrame(std::uint32_t now) {
  const std::uint32_t elapsed = now - last_tick_;  // the tick wraps at 2^32
  if (elapsed > kLongestFrame) {
    last_tick_ = now;
    return false;
  }
  FrameClock = wrap::Add(FrameClock, static_cast<std::int32_t>(elapsed));
  LastFrameTime = static_cast<std::int32_t>(elapsed);
  last_tick_ = now;
  return true;
}

std::uint32_t TFrameClock::SleepAfterFrame(std::uint32_t frame_start, std::uint32_t now) {
  const std::uint32_t spent = now - frame_start;
  if (spent >= kFrameTime) return kShortestSleep;
  return std::max(kShortestSleep, kFrameTime - spent);
}

void TFrameClock::CountUpdate() { UpdateCount = wrap::Add(UpdateCount, 1); }

}  // namespace kest
