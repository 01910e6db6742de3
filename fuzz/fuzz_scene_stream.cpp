// Loads the scene block of a game save from arbitrary bytes, at a version taken from the input.
// Any error must be a KestError (a FormatError for corrupt bytes); a crash, a hang or a huge
// allocation is a finding.

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"
#include "objects/components.h"
#include "objects/properties.h"
#include "objects/property_table.h"
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
  // The picture kinds, with their sources (no image cache here, so they load nothing), zooms,
  // a button group and a tile's scroll.
  const auto make = [&](std::uint8_t kind, TKestControl& parent) -> TKestObject& {
    TKestObject& object = *list.CreateByKind(kind);
    object.AsControl()->SetParent(&parent);
    return object;
  };
  TKestObject& image = make(LT_IMAGES, panel);
  SetProp(image, PR_SOURCE, std::string("a.zel"));
  SetProp(image, PR_ZOOMX, std::int32_t{300});
  SetProp(image, PR_ANGLE, std::int32_t{40});
  SetProp(image, PR_REPEAT, true);
  for (int i = 0; i < 2; ++i) {
    TKestObject& button = make(LT_BUTTON, list.ActiveScreen());
    SetProp(button, PR_HOVERSOURCE, std::string("h.zel"));
    SetProp(button, PR_CLICKEDSOURCE, std::string("c.kmt"));
    SetProp(button, PR_GROUPINDEX, std::int32_t{1});
  }
  TKestObject& tile = make(LT_TILE, list.ActiveScreen());
  SetProp(tile, PR_SOURCE, std::string("sky.zel"));
  SetProp(tile, PR_SCROLLX, std::int32_t{-3});
  SetProp(tile, PR_DISTANCEY, std::int32_t{40});
  // The first byte selects the version (100 + byte % 40): 34 is the version saves are written
  // in; 3 and 4 give the layouts of 103 and 104.
  std::vector<Bytes> seeds;
  for (std::uint8_t selector : {34, 3, 4}) {
    ByteWriter out;
    out.U8(selector);
    list.SaveToStream(out, 100 + selector);
    seeds.push_back(out.Take());
  }
  return seeds;
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
