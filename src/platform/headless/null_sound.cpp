#include "platform/headless/null_sound.h"

#include <algorithm>

namespace kest::platform {

NullSoundOutput::NullSoundOutput(MixCallback callback)
    : callback_(std::move(callback)), block_(kBlockFrames * kChannels) {}

void NullSoundOutput::Advance(std::uint32_t milliseconds) {
  if (state_ != SoundState::kPlaying) return;
  played_ms_ += milliseconds;
  // Counting from the total playing time keeps the sum exact: 16 ms steps give 705.6 frames
  // each, and after 1000 ms exactly 44100 have been pulled.
  const std::uint64_t due = played_ms_ * kSampleRate / 1000;
  while (frames_played_ < due) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(due - frames_played_, kBlockFrames));
    std::span<std::int16_t> samples(block_.data(), frames * kChannels);
    if (callback_) callback_(samples);
    frames_played_ += frames;
  }
}

}  // namespace kest::platform
