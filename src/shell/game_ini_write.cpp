// Writing "game.ini" the way Windows' private-profile functions do: only the two values change,
// so comments, other sections, unknown keys and line endings written by hand or by other tools
// survive the settings dialog.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "core/cp932.h"
#include "core/errors.h"
#include "shell/game_ini.h"
#include "shell/ini_lines.h"
#include "vfs/atomic_file.h"

namespace kest::shell {

namespace {

// New lines take the ending the file already uses; a new file gets CR LF, as titles ship theirs.
std::string_view LineEnding(const std::vector<IniLine>& lines) {
  for (const IniLine& line : lines)
    if (!line.ending.empty()) return line.ending;
  return "\r\n";
}

struct Setting {
  std::string_view key;
  std::string value;
};

}  // namespace

std::string RewriteGameIni(std::string_view text, const SoundSettings& settings) {
  std::vector<IniLine> lines = SplitIniLines(text);
  const std::string ending(LineEnding(lines));
  const Setting wanted[] = {
      {kDirectSoundKey, settings.direct_sound ? "1" : "0"},
      {kDelayTimeKey, std::to_string(settings.delay_time)},
  };
  // Replacement and added lines live here, so the views in `lines` stay valid.
  std::vector<std::string> made;
  made.reserve(std::size(wanted) * 2 + 1);
  std::optional<IniSection> section = FindIniSection(lines, kSoundSection);
  if (!section) {
    // A new section goes at the end, on a line of its own.
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = ending;
    made.push_back("[" + std::string(kSoundSection) + "]");
    lines.push_back({made.back(), ending});
    section = IniSection{lines.size() - 1, lines.size()};
  }
  for (const Setting& setting : wanted) {
    if (const std::optional<IniKey> key = FindIniKey(lines, *section, setting.key)) {
      IniLine& line = lines[key->line];
      made.push_back(std::string(line.text.substr(0, key->value_start)) + setting.value);
      line.text = made.back();
      continue;
    }
    // A missing key goes after the section's last line that is not blank.
    std::size_t at = section->end;
    while (at > section->header + 1 && TrimIniBlanks(lines[at - 1].text).empty()) --at;
    if (lines[at - 1].ending.empty()) lines[at - 1].ending = ending;
    made.push_back(std::string(setting.key) + "=" + setting.value);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), IniLine{made.back(), ending});
    ++section->end;
  }
  std::string out;
  for (const IniLine& line : lines) out.append(line.text).append(line.ending);
  return out;
}

void WriteGameIni(const std::string& path, const SoundSettings& settings) {
  const auto fail = [&](std::string_view why) {
    throw KestError(cp932::FromUtf8Lenient(path + ": " + std::string(why)));
  };
  std::string text;
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) fail("cannot read the settings file");
    if (static_cast<std::uint64_t>(size) > kMaxGameIniBytes)
      fail("the settings file is larger than 1 MiB; it is left as it is");
    in.seekg(0);
    text.resize(static_cast<std::size_t>(size));
    if (!in.read(text.data(), size)) fail("cannot read the settings file");
  } else if (errno != ENOENT && errno != 0) {
    fail(std::string("cannot read the settings file (") + std::strerror(errno) + ")");
  }
  const std::string rewritten = RewriteGameIni(text, settings);
  WriteFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(rewritten.data()), rewritten.size()});
}

}  // namespace kest::shell
