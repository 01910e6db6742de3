// Chooses the row kernels once: the best level the processor has, or the one KEST_SIMD names.

#include <atomic>
#include <cstdlib>
#include <string>

#include "render/row_kernels.h"

namespace kest {
namespace {

// Asked once: the kernels are looked up for every row operation.
SimdLevel BestLevel() {
  static const SimdLevel best = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? SimdLevel::Avx2 : SimdLevel::Sse2;
  }();
  return best;
}

SimdLevel Clamp(SimdLevel wanted) {
  return static_cast<int>(wanted) <= static_cast<int>(BestLevel()) ? wanted : BestLevel();
}

SimdLevel LevelFromEnvironment() {
  const char* forced = std::getenv("KEST_SIMD");
  if (forced == nullptr) return BestLevel();
  const std::string name(forced);
  if (name == "scalar") return SimdLevel::Scalar;
  if (name == "sse2") return SimdLevel::Sse2;
  if (name == "avx2") return Clamp(SimdLevel::Avx2);
  return BestLevel();
}

std::atomic<SimdLevel>& Active() {
  static std::atomic<SimdLevel> level(LevelFromEnvironment());
  return level;
}

}  // namespace

std::string_view SimdLevelName(SimdLevel level) {
  switch (level) {
    case SimdLevel::Scalar: return "scalar";
    case SimdLevel::Sse2: return "sse2";
    case SimdLevel::Avx2: return "avx2";
  }
  return "?";
}

bool SimdLevelSupported(SimdLevel level) { return Clamp(level) == level; }

const RowKernels& KernelsFor(SimdLevel level) {
  switch (Clamp(level)) {
    case SimdLevel::Scalar: return ScalarKernels();
    case SimdLevel::Sse2: return Sse2Kernels();
    case SimdLevel::Avx2: return Avx2Kernels();
  }
  return ScalarKernels();
}

SimdLevel ActiveSimdLevel() { return Active().load(std::memory_order_relaxed); }
const RowKernels& ActiveKernels() { return KernelsFor(ActiveSimdLevel()); }
void SetActiveSimdLevel(SimdLevel level) { Active().store(Clamp(level), std::memory_order_relaxed); }

}  // namespace kest
