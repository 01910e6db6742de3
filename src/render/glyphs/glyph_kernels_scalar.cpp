// The scalar glyph kernels, and the choice of a table by level.

#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"

namespace kest {

const GlyphKernels& ScalarGlyphKernels() {
  static constexpr GlyphKernels table = {&AntialiasRow32, &LayerRow32, &OutlineRow32};
  return table;
}

const GlyphKernels& GlyphKernelsFor(SimdLevel level) {
  // SetActiveSimdLevel has already clamped the active level; a level asked for directly is
  // clamped the same way (the best the processor has).
  if (!SimdLevelSupported(level)) level = SimdLevelSupported(SimdLevel::Avx2) ? SimdLevel::Avx2 : SimdLevel::Sse2;
  switch (level) {
    case SimdLevel::Scalar: return ScalarGlyphKernels();
    case SimdLevel::Sse2: return Sse2GlyphKernels();
    case SimdLevel::Avx2: return Avx2GlyphKernels();
  }
  return ScalarGlyphKernels();
}

const GlyphKernels& ActiveGlyphKernels() { return GlyphKernelsFor(ActiveSimdLevel()); }

}  // namespace kest
