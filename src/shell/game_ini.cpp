#include "shell/game_ini.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/cp932.h"

namespace kest::shell {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// An integer as the INI reader takes it: decimal, optionally signed, or hexadecimal after "0x".
std::optional<std::int64_t> IniInteger(std::string_view text) {
  text = Trim(text);
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
  const std::int64_t rounded = stored >= 0 ? stored / 100 * 100 : (stored - 99) / 100 * 100;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(rounded, 100, 500));
}

SoundSettings ParseGameIni(std::string_view text) {
  SoundSettings settings;
  std::int64_t delay = 500;
  bool in_sound = false;
  std::istringstream lines{std::string(text)};
  std::string raw;
  while (std::getline(lines, raw)) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      in_sound = close != std::string_view::npos && cp932::SameText(Trim(line.substr(1, close - 1)), "Sound");
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!in_sound || equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::optional<std::int64_t> value = IniInteger(line.substr(equals + 1));
    if (!value) continue;  // an unreadable value keeps the default
    if (cp932::SameText(key, "DirectSound")) settings.direct_sound = *value != 0;
    if (cp932::SameText(key, "DelayTime")) delay = *value;
  }
  settings.delay_time = EffectiveDelayTime(delay);
  return settings;
}

SoundSettings ReadGameIni(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::stringstream text;
  text << in.rdbuf();
  return ParseGameIni(text.str());
}

}  // namespace kest::shell
