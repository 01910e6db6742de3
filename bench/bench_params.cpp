// Variable lookup in a store of 10,000 variables: one million Find calls per iteration, names
// given in mixed case. The baseline is the same look-ups in a plain hash map keyed by the
// lower-cased name, the least any case-insensitive lookup has to do.

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "core/cp932.h"
#include "params/param_collection.h"

namespace kest {
namespace {

constexpr int kVariables = 10000;
constexpr int kLookups = 1000000;

std::vector<std::string> QueryNames() {
  std::vector<std::string> names;
  for (int i = 0; i < kVariables; ++i) names.push_back("Flag_" + std::to_string((i * 7919) % kVariables));
  return names;
}

void Params_Find10k(benchmark::State& state) {
  TParamCollection store;
  for (int i = 0; i < kVariables; ++i) store.AddParam("flag_" + std::to_string(i), PT_INT);
  const std::vector<std::string> queries = QueryNames();
  for (auto _ : state) {
    std::size_t found = 0;
    for (int i = 0; i < kLookups; ++i) found += store.Find(queries[static_cast<std::size_t>(i % kVariables)]) != nullptr;
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}

void Baseline_UnorderedMapFolded10k(benchmark::State& state) {
  std::unordered_map<std::string, int> map;
  for (int i = 0; i < kVariables; ++i) map.emplace("flag_" + std::to_string(i), i);
  const std::vector<std::string> queries = QueryNames();
  for (auto _ : state) {
    std::size_t found = 0;
    for (int i = 0; i < kLookups; ++i)
      found += map.count(cp932::LowerCase(queries[static_cast<std::size_t>(i % kVariables)]));
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}

BENCHMARK(Params_Find10k)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_UnorderedMapFolded10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
