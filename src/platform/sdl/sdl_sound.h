#pragma once
// Sound output on an SDL audio device: 44100 Hz, 16-bit, stereo, fed by the mixer's callback on
// SDL's audio thread. Internal to the platform library.

#include <SDL.h>

#include <atomic>

#include "platform/platform.h"

namespace kest::platform {

class SdlSoundOutput final : public SoundOutput {
 public:
  // The audio subsystem must be initialised. Throws PlatformError.
  explicit SdlSoundOutput(MixCallback callback);
  ~SdlSoundOutput() override;  // waits for a running callback to return
  SdlSoundOutput(const SdlSoundOutput&) = delete;
  SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;

  void SetState(SoundState state) override;
  SoundState State() const override { return state_; }
  std::uint64_t FramesPlayed() const override { return frames_played_.load(std::memory_order_relaxed); }

 private:
  static void Feed(void* self, Uint8* stream, int length);

  MixCallback callback_;
  SDL_AudioDeviceID device_ = 0;
  SoundState state_ = SoundState::kPlaying;
  std::atomic<std::uint64_t> frames_played_{0};
};

}  // namespace kest::platform
