// Loading a page of 10,000 commands: the work a call or a jump to a new page costs.

#include <benchmark/benchmark.h>

#include "core/byte_writer.h"
#include "params/expression_compile.h"
#include "scenario/page.h"

namespace kest {
namespace {

Bytes LargePage() {
  TPage page;
  page.Version = 110;
  page.SetProperty(8, 0);
  page.SetProperty(8, 3);
  page.SetProperty(8, 4);
  page.StorePropertySets();
  const auto expression = [](std::string_view text) { return CompileExpressionToRun(text); };
  // A typical mix: assignments, conditions, waits, object creation.
  for (int i = 0; i < 10'000; ++i) {
    const std::uint8_t type = i % 4 == 0 ? 14 : i % 4 == 1 ? 0 : i % 4 == 2 ? 7 : 8;
    auto command = std::make_unique<TCommand>(type);
    for (CommandField& field : command->Fields) {
      field.expression = expression("x = (a + b) * c + Random(10)");
      field.properties.resize(kPropertyCount);
      for (std::size_t id : {0, 3, 4}) field.properties[id] = expression("10 + i * 2");
    }
    page.Commands.push_back(std::move(command));
  }
  return page.Write();
}

void Pages_Load10000Commands(benchmark::State& state) {
  const Bytes file = LargePage();
  for (auto _ : state) {
    TPage page;
    page.Parse(file, "large.ksb");
    benchmark::DoNotOptimize(page.Commands.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

BENCHMARK(Pages_Load10000Commands)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
