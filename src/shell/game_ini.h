#pragma once
// "game.ini" beside the player: section "Sound", keys "DirectSound" (1 or 0: play Ogg and WAV
// through the media layer) and "DelayTime" (milliseconds per block of the player's own wave
// output). Section and key names are compared without regard to case; a missing file, section,
// key or an unreadable value gives the default.

#include <cstdint>
#include <string>
#include <string_view>

namespace kest::shell {

struct SoundSettings {
  bool direct_sound = true;
  std::int32_t delay_time = 500;  // rounded down to a multiple of 100, then kept within 100..500
};

SoundSettings ParseGameIni(std::string_view text);
// Reads the file; a missing or unreadable file gives the defaults.
SoundSettings ReadGameIni(const std::string& path);

// The delay as the player uses it: rounded down to a multiple of 100, then clamped to 100..500.
std::int32_t EffectiveDelayTime(std::int64_t stored);

}  // namespace kest::shell
