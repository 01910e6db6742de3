#pragma once
// The row kernels of glyph drawing on 32-bit destinations, one table per instruction-set level
// (chosen like the surface kernels: KEST_SIMD or the best the processor has). Every level
// produces the same bytes; the scalar table is the reference.

#include <cstdint>

#include "render/row_kernels.h"

namespace kest {

struct GlyphKernels {
  // m = 255 sets the colour, m = 0 keeps d, else d_c = (m * k_c + (255 - m) * d_c) >> 8 on all
  // four bytes.
  void (*antialias)(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour);
  // The layer rule on a picture row d and its coverage row a: m = 0 keeps both, m = 255 sets the
  // colour and a = 255, else a += m * (255 - a) / 255, D = min(255, m * 255 / a) and
  // d_c = (D * k_c + (255 - D) * d_c) >> 8.
  void (*layer)(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, int n, std::uint32_t colour);
};

const GlyphKernels& GlyphKernelsFor(SimdLevel level);
// The table of the active level (ActiveSimdLevel()).
const GlyphKernels& ActiveGlyphKernels();

const GlyphKernels& ScalarGlyphKernels();
const GlyphKernels& Sse2GlyphKernels();
const GlyphKernels& Avx2GlyphKernels();

}  // namespace kest
