// The SSE2 glyph kernels: four pixels per vector.

#include "render/glyphs/glyph_kernels_simd.h"
#include "render/simd_traits_sse2.h"

namespace kest {

const GlyphKernels& Sse2GlyphKernels() {
  static constexpr GlyphKernels table = GlyphSimdKernels<Sse2>::kTable;
  return table;
}

}  // namespace kest
