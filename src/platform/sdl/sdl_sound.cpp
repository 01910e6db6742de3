#include "platform/sdl/sdl_sound.h"

#include <cstring>
#include <string>

#include "core/cp932.h"

namespace kest::platform {

SdlSoundOutput::SdlSoundOutput(MixCallback callback) : callback_(std::move(callback)) {
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kChannels;
  wanted.samples = 1024;  // about 23 ms a block
  wanted.callback = &SdlSoundOutput::Feed;
  wanted.userdata = this;
  // No changes allowed: SDL converts to whatever the device wants, so the mixer always sees
  // the one format.
  SDL_AudioSpec obtained{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device_ == 0) {
    throw PlatformError(cp932::FromUtf8Lenient(std::string("cannot open the sound device: ") + SDL_GetError()));
  }
  SDL_PauseAudioDevice(device_, 0);
}

SdlSoundOutput::~SdlSoundOutput() { SDL_CloseAudioDevice(device_); }

void SdlSoundOutput::SetState(SoundState state) {
  state_ = state;
  SDL_PauseAudioDevice(device_, state == SoundState::kPaused ? 1 : 0);
}

void SdlSoundOutput::Feed(void* self, Uint8* stream, int length) {
  auto& output = *static_cast<SdlSoundOutput*>(self);
  const std::size_t samples = static_cast<std::size_t>(length) / sizeof(std::int16_t);
  if (output.callback_) {
    output.callback_(std::span<std::int16_t>(reinterpret_cast<std::int16_t*>(stream), samples));
  } else {
    std::memset(stream, 0, static_cast<std::size_t>(length));
  }
  output.frames_played_.fetch_add(samples / kChannels, std::memory_order_relaxed);
}

}  // namespace kest::platform
