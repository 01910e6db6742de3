// The scalar glyph kernels, and the choice of a table by level.

#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"

namespace kest {

const GlyphKernels& ScalarGlyphKernels() {
  static constexpr GlyphKernels table = {&AntialiasRow32, &LayerRow32};
  return table;
}

const GlyphKernels& GlyphKernelsFor(SimdLevel level) {
  // Only the scalar table exists so far; every level uses it.
  (void)level;
  return ScalarGlyphKernels();
}

const GlyphKernels& ActiveGlyphKernels() { return GlyphKernelsFor(ActiveSimdLevel()); }

}  // namespace kest
