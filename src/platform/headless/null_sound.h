#pragma once
// A sound device that plays nothing but keeps time: while it plays, it pulls the mixer for as
// many sample frames as the virtual clock has moved on, so every sound position advances exactly
// as it would on a real device.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace kest::platform {

class NullSoundOutput final : public SoundOutput {
 public:
  // Frames pulled from the mixer in one call at most, so a long step of the clock is pulled in
  // blocks the size a real device would ask for.
  static constexpr std::size_t kBlockFrames = 1024;

  explicit NullSoundOutput(MixCallback callback);

  void SetState(SoundState state) override { state_ = state; }
  SoundState State() const override { return state_; }
  std::uint64_t FramesPlayed() const override { return frames_played_; }

  // Pulls the frames that `milliseconds` of playing time hold. Time while paused is not
  // counted. Fractions of a frame carry over to the next call.
  void Advance(std::uint32_t milliseconds);

 private:
  MixCallback callback_;
  SoundState state_ = SoundState::kPlaying;
  std::uint64_t played_ms_ = 0;  // playing time so far; frames due = played_ms * rate / 1000
  std::uint64_t frames_played_ = 0;
  std::vector<std::int16_t> block_;
};

}  // namespace kest::platform
