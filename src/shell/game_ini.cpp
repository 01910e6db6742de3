#include "shell/game_ini.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <vector>

#include "shell/ini_lines.h"

namespace kest::shell {

namespace {

// An integer as the INI reader takes it: decimal, optionally signed, or hexadecimal after "0x".
std::optional<std::int64_t> IniInteger(std::string_view text) {
  text = TrimIniBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

std::int32_t EffectiveDelayTime(std::int64_t stored) {
  // Rounding down, then clamping: everything below 200 becomes 100, everything from 500 up 500.
  // Clamping first keeps the arithmetic away from the ends of the range.
  const std::int64_t clamped = std::clamp<std::int64_t>(stored, 100, 500);
  return static_cast<std::int32_t>(clamped / 100 * 100);
}

SoundSettings ParseGameIni(std::string_view text) {
  SoundSettings settings;
  std::int64_t delay = 500;
  const std::vector<IniLine> lines = SplitIniLines(text);
  if (const std::optional<IniSection> sound = FindIniSection(lines, kSoundSection)) {
    // An unreadable value keeps the default.
    const auto value_of = [&](std::string_view key) -> std::optional<std::int64_t> {
      const std::optional<IniKey> found = FindIniKey(lines, *sound, key);
      if (!found) return std::nullopt;
      return IniInteger(lines[found->line].text.substr(found->value_start));
    };
    if (const auto value = value_of(kDirectSoundKey)) settings.direct_sound = *value != 0;
    if (const auto value = value_of(kDelayTimeKey)) delay = *value;
  }
  settings.delay_time = EffectiveDelayTime(delay);
  return settings;
}

SoundSettings ReadGameIni(const std::string& path) {
  // A settings file is a few lines; a larger one is not a settings file, and only its beginning
  // is read.
  constexpr std::size_t kLongestFile = 64 * 1024;
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text(kLongestFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return ParseGameIni(text);
}

}  // namespace kest::shell
