// Compiles the input as the source of a page. Bad source must end in a SourceError naming the
// line and column (or the expression compiler's own error), never a crash or a hang.

#include <string>

#include "core/errors.h"
#include "fuzz_target.h"
#include "source/page_source.h"
#include "source/source_text.h"

namespace {
kest::Bytes Text(std::string_view text) { return kest::Bytes(text.begin(), text.end()); }
}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  return {
      Text("page-version 110\nresult-type int\nLabel top\nCalc x = (a + b) * c\nIf x == 1\n  Wait 500\n"
           "Else\n  Jump start.ksb#0\nWhileInit i = 0\nWhile i < 3\n  Break i == 2\n  WhileLoop i = i + 1\n"),
      Text("[frame-end line=9] BoxNew PR_NAME: \"b\", PR_LEFT: 10\nTextIns \"表示\\nです\", box: \"m\"\n"
           "Call sub.ksb#3, result: r, args: (1, \"a\", x + 1)\nCalc {ocTo \"x\" i:-5}\n"),
      Text("property-sets 61 21\nproperty-set 8 090000000000000000000000000000000000000000\n"),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    kest::source::CompiledPage page = kest::source::CompilePageSource(text, "fuzz.kss", "fuzz.ksb");
    page.page->Write();
  } catch (const kest::source::SourceError&) {
  } catch (const kest::KestError&) {
  }
  return 0;
}
