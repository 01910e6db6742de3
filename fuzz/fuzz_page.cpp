// Parses the input as a page file and writes what it read back. Damaged pages must end in the
// player's own errors (FormatError, an unknown command, a page too old), never a crash, a hang
// or a huge allocation.

#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"
#include "params/expression_compile.h"
#include "scenario/page.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (std::int32_t version : {103, 106, 110}) {
    kest::TPage page;
    page.Version = version;
    page.SetProperty(8, 0);
    page.StorePropertySets();
    for (std::uint8_t type : {0, 5, 7, 8, 13, 20, 31, 38, 59}) {
      auto command = std::make_unique<kest::TCommand>(type);
      for (std::size_t f = 0; f < command->Fields.size(); ++f) {
        kest::CommandField& field = command->Fields[f];
        field.expression = kest::CompileExpressionToRun("x = Random(3) + a[1, 2]");
        field.text = "text";
      }
      page.Commands.push_back(std::move(command));
    }
    seeds.push_back(page.Write());
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kest::TPage page;
  try {
    page.Parse(kest::ByteSpan(data, size), "fuzz.ksb");
    page.Write();
  } catch (const kest::KestError&) {
  } catch (const kest::PageTooOldError&) {
  }
  return 0;
}
