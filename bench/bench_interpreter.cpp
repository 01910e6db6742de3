// Commands per second of the interpreter: a While loop of Calc commands that runs to its end
// in one frame. Beside it, the same expressions run directly, without the interpreter, so the
// interpreter's own cost per command shows.

#include <benchmark/benchmark.h>

#include <map>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "params/expression_compile.h"
#include "params/param_collection.h"
#include "params/param_values.h"
#include "params/sys_func_man.h"
#include "scenario/call_man.h"
#include "scenario/frame_clock.h"
#include "scenario/interpreter_state.h"
#include "scenario/page.h"
#include "scenario/scene.h"
#include "scenario/script_host.h"
#include "source/page_source.h"

namespace kest {
namespace {

constexpr int kIterations = 10'000;
constexpr int kCommandsPerIteration = 4;  // While, Calc, Calc, WhileLoop

class BenchHost final : public TScriptHost {
 public:
  explicit BenchHost(std::string source) {
    std::map<std::string, source::CompiledPage> pages;
    pages["loop.ksb"] = source::CompilePageSource(source, "loop.kss", "loop.ksb");
    source::ResolveTargets(pages);
    bytes_ = pages["loop.ksb"].page->Write();
  }
  void LoadPage(TPage& page, const std::string& name) override { page.Parse(bytes_, name); }
  bool EnsureFile(std::string_view) override { return true; }
  bool IsOnSomeDisk(std::string_view) override { return false; }
  bool QuitRequested() const override { return false; }
  void RequestQuit() override {}
  void RequestSave(std::int32_t, std::string, std::int32_t, std::string) override {}
  void RequestLoad(std::int32_t) override {}

 private:
  Bytes bytes_;
};

void BM_InterpreterWhileLoopOfCalc(benchmark::State& state) {
  BenchHost host("VarNew i, type: int, value: 0\n"
                 "VarNew total, type: int, value: 0\n"
                 "WhileInit i = 0\n"
                 "While i < " + std::to_string(kIterations) + "\n"
                 "  Calc total = total + i\n"
                 "  Calc total = total ^ 3\n"
                 "  WhileLoop i = i + 1\n");
  TParamCollection params;
  TSysFuncMan functions;
  TEmptyScene scene;
  TFrameClock clock;
  TCallMan call_man({params, functions, scene, clock, host});
  params.SetSystemState(std::make_unique<TInterpreterState>(call_man, clock));
  for (auto _ : state) {
    call_man.Start("loop.ksb");
    call_man.Run();  // one frame: the whole loop
    if (!call_man.MainScriptEnded()) state.SkipWithError("the loop did not end in one frame");
  }
  benchmark::DoNotOptimize(params.Find("total")->Value().AsInt());
  state.SetItemsProcessed(state.iterations() * kIterations * kCommandsPerIteration);
  params.SetSystemState(std::make_unique<TSystemState>());
}
BENCHMARK(BM_InterpreterWhileLoopOfCalc)->Unit(benchmark::kMillisecond);

std::unique_ptr<TKestParser> Compile(std::string_view text) { return CompileExpressionToRun(text); }

// The same four expressions per iteration, run by a C++ loop: what the loop costs without the
// interpreter.
void BM_SameExpressionsWithoutInterpreter(benchmark::State& state) {
  TParamCollection params;
  TSysFuncMan functions;
  auto zero = std::make_unique<TParamInt>();
  params.Declare("i", PT_INT, ParamScope::Global, zero.get());
  params.Declare("total", PT_INT, ParamScope::Global, zero.get());
  auto init = Compile("i = 0");
  auto condition = Compile("i < " + std::to_string(kIterations));
  auto add = Compile("total = total + i");
  auto mix = Compile("total = total ^ 3");
  auto step = Compile("i = i + 1");
  for (auto _ : state) {
    init->Execute(params, functions);
    for (;;) {
      condition->Execute(params, functions);
      if (!condition->Result() || !condition->Result()->AsBool()) break;
      add->Execute(params, functions);
      mix->Execute(params, functions);
      step->Execute(params, functions);
    }
  }
  state.SetItemsProcessed(state.iterations() * kIterations * kCommandsPerIteration);
}
BENCHMARK(BM_SameExpressionsWithoutInterpreter)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
