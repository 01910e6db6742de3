// Loads the scene block of a game save from arbitrary bytes, at a version taken from the input.
// Any error must be a KestError (a FormatError for corrupt bytes); a crash, a hang or a huge
// allocation is a finding.

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"
#include "objects/components/box.h"
#include "objects/scene_list.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  using namespace kest;
  TKestBaseList list(64, 48);
  auto& panel = static_cast<TKestBox&>(*list.CreateByKind(LT_BOX));
  panel.SetName("panel");
  panel.SetBounds(4, 4, 30, 20);
  panel.SetColor(0x123456);
  panel.SetParent(&list.ActiveScreen());
  auto& child = static_cast<TKestBox&>(*list.CreateByKind(LT_BOX));
  child.SetParent(&panel);
  child.SetHandleKey(true);
  list.ProcessInput(16);
  list.Events().Add({"page:label", child.Id(), 36, 0, {"1", "2"}});
  // The first byte selects the version (100 + byte % 40): 34 is the version saves are written in.
  ByteWriter out;
  out.U8(34);
  list.SaveToStream(out);
  return {out.Take()};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  kest::TKestBaseList list(16, 16);
  kest::ByteReader in(kest::ByteSpan(data + 1, size - 1), "fuzz");
  try {
    list.LoadFromStream(in, 100 + data[0] % 40);
    list.Update(16);
    list.Draw();
  } catch (const kest::KestError&) {
  }
  return 0;
}
