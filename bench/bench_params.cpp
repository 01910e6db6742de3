// Variable lookup in a store of 10,000 variables: one million Find calls per iteration, names
// given in mixed case. The baseline is the same look-ups in a plain hash map keyed by the
// lower-cased name, the least any case-insensitive lookup has to do.
//
// Expression runs: two compiled expressions executed over and over against a store that also
// holds 10,000 other variables, as a script's loop would run them.

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "params/expression_compile.h"
#include "params/kest_parser.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"

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

std::unique_ptr<TKestParser> Compiled(std::string_view text) { return CompileExpressionToRun(text); }

enum class StoreChanges { Never, EveryRun };

// With StoreChanges::EveryRun the call depth is set before each run, which invalidates every
// remembered lookup: the figure then includes a full Find for every variable operand.
void RunExpression(benchmark::State& state, std::string_view text, TParamCollection& store,
                   StoreChanges changes = StoreChanges::Never) {
  for (int i = 0; i < kVariables; ++i) store.AddParam("other_" + std::to_string(i), PT_INT);
  TSysFuncMan functions;
  auto parser = Compiled(text);
  for (auto _ : state) {
    if (changes == StoreChanges::EveryRun) store.SetCurrentDepth(0);
    parser->Execute(store, functions);
  }
  if (!parser->LastError().empty()) state.SkipWithError("the expression failed");
  state.SetItemsProcessed(state.iterations());
}

void Expr_SumTimesProduct(benchmark::State& state) {
  TParamCollection store;
  store.AddParam("a", PT_INT).Value().SetInt(2);
  store.AddParam("b", PT_INT).Value().SetInt(3);
  store.AddParam("c", PT_INT).Value().SetInt(4);
  store.AddParam("x", PT_INT);
  RunExpression(state, "x = (a + b) * c", store);
  if (store.Find("x")->Value().AsInt() != 20) state.SkipWithError("wrong value");
}

void Expr_SumTimesProduct_LookupsEveryRun(benchmark::State& state) {
  TParamCollection store;
  store.AddParam("a", PT_INT).Value().SetInt(2);
  store.AddParam("b", PT_INT).Value().SetInt(3);
  store.AddParam("c", PT_INT).Value().SetInt(4);
  store.AddParam("x", PT_INT);
  RunExpression(state, "x = (a + b) * c", store, StoreChanges::EveryRun);
}

void Expr_ArrayElementUpdate(benchmark::State& state) {
  TParamCollection store;
  const std::int32_t sizes[] = {10, 3};
  store.AddParam("a", PT_INT).Value().SetDims(sizes);
  store.AddParam("i", PT_INT).Value().SetInt(4);
  RunExpression(state, "a[i, 2] = a[i, 1] + 1", store);
  if (store.Find("a")->Value().GetIntAt(4 * 3 + 2) != 1) state.SkipWithError("wrong value");
}

BENCHMARK(Expr_SumTimesProduct);
BENCHMARK(Expr_SumTimesProduct_LookupsEveryRun);
BENCHMARK(Expr_ArrayElementUpdate);
BENCHMARK(Params_Find10k)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_UnorderedMapFolded10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
