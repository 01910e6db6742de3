// The SSE2 row kernels: four pixels per vector. SSE2 is part of every x86-64 processor.

#include "render/kernels_simd.h"
#include "render/simd_traits_sse2.h"

namespace kest {

const RowKernels& Sse2Kernels() {
  static constexpr RowKernels table = SimdKernels<Sse2>::kTable;
  return table;
}

}  // namespace kest
