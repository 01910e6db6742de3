// Reads the input as a main block of a game save and as a status block, into a store that
// already holds variables of every scope. Any error must be a FormatError, and a failed load
// must leave the store's own blocks as they were.

#include <cstdlib>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"
#include "params/param_collection.h"
#include "params/param_var.h"

namespace {

void Populate(kest::TParamCollection& store) {
  const std::int32_t sizes[] = {2, 2};
  store.Declare("a", kest::PT_INT, kest::ParamScope::Global, nullptr).Value().SetDims(sizes);
  store.Declare("s", kest::PT_STR, kest::ParamScope::Status, nullptr).Value().SetStr("status");
  store.SetCurrentDepth(1);
  store.Declare("l", kest::PT_FLOAT, kest::ParamScope::Local, nullptr).Value().SetFloat(0.5L);
  store.Declare("b", kest::PT_BOOL, kest::ParamScope::AutoDestroy, nullptr).Value().SetBool(true);
  auto& ref = dynamic_cast<kest::TParamVar&>(store.AddParam("r", kest::PT_NONE).Value());
  ref.SetTarget(store.Find("a")->Anchor());
  ref.SetElementIndex(3);
}

kest::Bytes Main(const kest::TParamCollection& store) {
  kest::ByteWriter out;
  store.SaveMain(out);
  return out.Take();
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  kest::TParamCollection store;
  Populate(store);
  kest::ByteWriter status;
  store.SaveStatus(status);
  return {Main(store), status.Take(), {}};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kest::TParamCollection store;
  Populate(store);
  const kest::Bytes before = Main(store);
  kest::ByteReader main(kest::ByteSpan(data, size), "fuzz");
  try {
    store.LoadMain(main, kest::kLatestSaveVersion);
    Main(store);  // whatever was read must write again
  } catch (const kest::FormatError&) {
    if (Main(store) != before) std::abort();
  }
  kest::ByteReader status(kest::ByteSpan(data, size), "fuzz");
  try {
    store.LoadStatus(status, 0);
    kest::ByteWriter out;
    store.SaveStatus(out);
  } catch (const kest::FormatError&) {
  }
  return 0;
}
