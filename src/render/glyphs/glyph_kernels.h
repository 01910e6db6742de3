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
  // One destination row of an outline of width w: each of the n pixels of d and a takes the layer
  // rule of every offset in the order dy = w down to -w, and within it dx = w down to -w, except
  // (0, 0). rows[k] is the mask row of dy = w - k (nullptr: outside the mask), pointing at the
  // value the row's first pixel takes at dx = 0; offset dx reads from rows[k] - dx. The rows are
  // padded with zeros so that every read, up to one vector past the end, is inside them.
  void (*outline_row)(std::uint32_t* d, std::uint8_t* a, int n, const std::uint8_t* const* rows, int w,
                      std::uint32_t colour);
};

// A padded mask row for outline_row has 2w zero columns on the left and 2w plus this many on the
// right: the widest vector, which the last pixels of a row read in full.
inline constexpr int kOutlineRowSlack = 8;

const GlyphKernels& GlyphKernelsFor(SimdLevel level);
// The table of the active level (ActiveSimdLevel()).
const GlyphKernels& ActiveGlyphKernels();

const GlyphKernels& ScalarGlyphKernels();
const GlyphKernels& Sse2GlyphKernels();
const GlyphKernels& Avx2GlyphKernels();

}  // namespace kest
