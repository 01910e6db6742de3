// The AVX2 glyph kernels: eight pixels per vector. Only this file of the glyph library is built
// with -mavx2, and the table is chosen only on processors that report AVX2.

#include "render/glyphs/glyph_kernels_simd.h"
#include "render/simd_traits_avx2.h"

namespace kest {

const GlyphKernels& Avx2GlyphKernels() {
  static constexpr GlyphKernels table = GlyphSimdKernels<Avx2>::kTable;
  return table;
}

}  // namespace kest
