#pragma once
// "game.ini" beside the player: section "Sound", keys "DirectSound" (1 or 0: play Ogg and WAV
// through the media layer) and "DelayTime" (milliseconds per block of the player's own wave
// output). Section and key names are compared without regard to case, and the first section and
// key of a name count; a missing file, section, key or an unreadable value gives the default.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kest::shell {

inline constexpr std::string_view kSoundSection = "Sound";
inline constexpr std::string_view kDirectSoundKey = "DirectSound";
inline constexpr std::string_view kDelayTimeKey = "DelayTime";

struct SoundSettings {
  bool direct_sound = true;
  std::int32_t delay_time = 500;  // rounded down to a multiple of 100, then kept within 100..500
};

SoundSettings ParseGameIni(std::string_view text);
// Reads the file; a missing or unreadable file gives the defaults.
SoundSettings ReadGameIni(const std::string& path);

// Rewrites `text` with both keys set by private-profile rules: the section and the key are found
// without regard to case and the value is replaced in place; a missing key is appended to its
// section, a missing section to the file. Every other line, comment and line ending is kept.
// DirectSound is written "1" or "0", DelayTime as a decimal number.
std::string RewriteGameIni(std::string_view text, const SoundSettings& settings);
// Reads the file (a missing one is empty), rewrites it and replaces it atomically. Raises
// KestError naming the file when it cannot be read or written, or when it is larger than
// kMaxGameIniBytes (a file that big is not ours to cut).
void WriteGameIni(const std::string& path, const SoundSettings& settings);
inline constexpr std::size_t kMaxGameIniBytes = 1u << 20;

// The delay as the player uses it: rounded down to a multiple of 100, then clamped to 100..500.
std::int32_t EffectiveDelayTime(std::int64_t stored);

}  // namespace kest::shell
