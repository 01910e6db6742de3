// Parses arbitrary bytes as a scripted-input file. The only error allowed is ScriptedInputError;
// anything else (a crash, an overflow, another exception) is a finding. Every accepted action
// must hold what its line promised: a key code in 1..255 and frames that never decrease.

#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_target.h"
#include "platform/headless/scripted_input.h"

namespace {

kest::Bytes TextBytes(std::string_view text) { return kest::Bytes(text.begin(), text.end()); }

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  return {
      TextBytes("# every event once\n"
                "0 move 10 -20\n0 down left\n1 up right\n2 click 320 240\n2 wheel down\n"
                "3 key 0x0D\n3 keydown 27\n4 keyup 0x1b\n5 text \xE3\x81\x82 b\n6 deactivate\n7 activate\n"
                "8 answer no\n9 event start:label Button1\n9 event other\n10 quit\n"),
      TextBytes("0 key 13\r\n\r\n   # indented\r\n\t1\tclick\t1\t2\r\n"),
      TextBytes("5 move 1\n"),
      TextBytes("9 quit\n3 quit\n"),
      TextBytes("4294967296 key 256\n"),
      TextBytes("1 text \xFF\xFE\n"),
      TextBytes(""),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const kest::platform::ScriptedInput input = kest::platform::ParseScriptedInput(text, "fuzz.txt");
    std::uint32_t previous = 0;
    for (const kest::platform::ScriptedAction& action : input.actions) {
      if (action.frame < previous || action.line < 1) std::abort();
      previous = action.frame;
      const bool keyed = action.kind == kest::platform::ScriptedKind::kKey ||
                         action.kind == kest::platform::ScriptedKind::kKeyDown ||
                         action.kind == kest::platform::ScriptedKind::kKeyUp;
      if (keyed && action.virtual_key == 0) std::abort();
    }
  } catch (const kest::platform::ScriptedInputError&) {
  }
  return 0;
}
