// The AVX2 row kernels: eight pixels per vector. This file alone is compiled with -mavx2; the
// dispatcher calls into it only when the processor reports AVX2. Each kernel ends with
// vzeroupper so that SSE code running after it pays no transition penalty.

#include "render/kernels_simd.h"
#include "render/simd_traits_avx2.h"

namespace kest {

const RowKernels& Avx2Kernels() {
  static constexpr RowKernels table = SimdKernels<Avx2>::kTable;
  return table;
}

}  // namespace kest
