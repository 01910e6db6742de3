// The object model's costs: creating many unnamed objects, and painting a typical frame
// (a background, three sprite-sized boxes, a message-box-sized box, ten button-sized boxes,
// one hover change per frame) against copying the whole 800x600 surface with memcpy.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "objects/components/box.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest {
namespace {

void BM_UnnamedCreations(benchmark::State& state) {
  for (auto _ : state) {
    TKestBaseList list(64, 48);
    for (int i = 0; i < 5000; ++i) benchmark::DoNotOptimize(list.CreateByKind(LT_BOX));
  }
  state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_UnnamedCreations)->Unit(benchmark::kMillisecond);

TKestBox& AddBox(TKestBaseList& list, Rect r, std::int32_t colour, std::int32_t alpha) {
  auto& box = static_cast<TKestBox&>(*list.CreateByKind(LT_BOX));
  box.SetBounds(r.left, r.top, r.Width(), r.Height());
  box.SetColor(colour);
  SetProp(box, PR_ALPHA, alpha);
  box.SetParent(&list.ActiveScreen());
  return box;
}

void BM_TypicalFramePaint(benchmark::State& state) {
  TKestBaseList list(800, 600);
  AddBox(list, {0, 0, 800, 600}, 0x604020, 255);
  for (int i = 0; i < 3; ++i) AddBox(list, {50 + i * 250, 80, 250 + i * 250, 480}, 0x2040C0 + i, 200);
  AddBox(list, {40, 420, 760, 580}, 0x101010, 180);
  std::vector<TKestBox*> buttons;
  for (int i = 0; i < 10; ++i) buttons.push_back(&AddBox(list, {600, 20 + i * 38, 780, 52 + i * 38}, 0x808080, 255));
  list.Draw();
  std::size_t hover = 0;
  for (auto _ : state) {
    // The hover moves from one button to the next: two buttons change colour.
    buttons[hover]->SetColor(0x808080);
    hover = (hover + 1) % buttons.size();
    buttons[hover]->SetColor(0xC0C0C0);
    list.Draw();
  }
}
BENCHMARK(BM_TypicalFramePaint)->Unit(benchmark::kMicrosecond);

void BM_WholeSurfaceMemcpy(benchmark::State& state) {
  std::vector<std::uint8_t> from(800 * 600 * 4, 1), to(800 * 600 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WholeSurfaceMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kest
