// Parses arbitrary bytes as "game.ini". Nothing may be raised: every reading gives settings, and
// the delay is always one of 100, 200, 300, 400 and 500.

#include <cstdlib>
#include <string_view>

#include "fuzz_target.h"
#include "shell/game_ini.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  const auto text = [](std::string_view t) { return kest::Bytes(t.begin(), t.end()); };
  return {
      text("[Sound]\r\nDirectSound=1\r\nDelayTime=300\r\n"),
      text("; a comment\n[sound]\n delaytime = 0x1F4 \ndirectsound=0\n[Other]\nDelayTime=100\n"),
      text("[Sound\nDelayTime=-9223372036854775807\n[Sound]\nDelayTime=99999999999999999999\n"),
      text("[\x82\x60]\n=\n[Sound]\nDelayTime=+\n"),
      text(""),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kest::shell::SoundSettings settings =
      kest::shell::ParseGameIni(std::string_view(reinterpret_cast<const char*>(data), size));
  if (settings.delay_time < 100 || settings.delay_time > 500 || settings.delay_time % 100 != 0) std::abort();
  return 0;
}
