// Rewrites arbitrary bytes as "game.ini" with new settings. Reading the result must give exactly
// the settings written, every line of the input other than the two values must still be there in
// its order, and a second rewrite must change nothing.

#include <cstdlib>
#include <string_view>

#include "fuzz_target.h"
#include "shell/game_ini.h"
#include "shell/ini_lines.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  const auto text = [](std::string_view t) { return kest::Bytes(t.begin(), t.end()); };
  return {
      text("[Sound]\r\nDirectSound=1\r\nDelayTime=300\r\n"),
      text("; comment\n[Other]\nx=1\n\n[sound]\n directsound = 0 ; kept\n\n[Last]\ny=2"),
      text("[Sound]"),
      text("[Sound\nDelayTime=1\n[SOUND]\nDelayTime=2\nDelayTime=3\n"),
      text("a\rb\r\n\x82=\n"),
      text(""),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kest::shell;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  SoundSettings wanted = ParseGameIni(input);
  wanted.direct_sound = !wanted.direct_sound;
  wanted.delay_time = 100 + static_cast<std::int32_t>(size % 5) * 100;
  const std::string output = RewriteGameIni(input, wanted);

  const SoundSettings read = ParseGameIni(output);
  if (read.direct_sound != wanted.direct_sound || read.delay_time != wanted.delay_time) std::abort();
  if (RewriteGameIni(output, wanted) != output) std::abort();

  // The input's lines, but for the two values, appear in the output in order.
  const std::vector<IniLine> before = SplitIniLines(input);
  const std::vector<IniLine> after = SplitIniLines(output);
  std::vector<bool> replaced(before.size(), false);
  if (const auto section = FindIniSection(before, kSoundSection)) {
    for (std::string_view key : {kDirectSoundKey, kDelayTimeKey})
      if (const auto found = FindIniKey(before, *section, key)) replaced[found->line] = true;
  }
  std::size_t at = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (replaced[i]) continue;
    while (at < after.size() && after[at].text != before[i].text) ++at;
    if (at == after.size()) std::abort();
    ++at;
  }
  return 0;
}
