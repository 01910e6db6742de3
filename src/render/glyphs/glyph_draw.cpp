// The plain glyph routines: solid, anti-aliased, onto a layer with coverage, and coverage only.
// Each places the mask under the clip limit once and then works row by row; 32-bit rows go
// through the glyph kernels of the active level, 15/16-bit rows through the per-channel rules.

#include "render/glyphs/glyph_draw.h"

#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"
#include "render/glyphs/glyph_placement.h"

namespace kest {

namespace {

// Calls row(mask_row, dst_x, dst_y, n) for every row of the placed mask.
template <typename Row>
void ForPlacedRows(const TFontPixel& glyph, const Placement& p, Row row) {
  const MaskRows mask(glyph);
  const std::int32_t n = p.dst.Width();
  for (std::int32_t r = 0; r < p.dst.Height(); ++r) row(mask.Row(p.src_y + r) + p.src_x, p.dst.left, p.dst.top + r, n);
}

// Rewrites every picture pixel under the mask through pixel(d, m) at 15/16 bits.
template <typename Pixel>
void NativeRow(const SurfaceView& view, std::int32_t x, std::int32_t y, const std::uint8_t* m, std::int32_t n,
               Pixel pixel) {
  const PixelFormat& f = view.Format();
  std::uint8_t* at = view.At(x, y);
  for (std::int32_t i = 0; i < n; ++i, at += f.bytes_per_pixel) {
    if (m[i] == 0) continue;
    f.Store(at, pixel(f.Load(at), m[i]));
  }
}

std::uint32_t* Row32(const SurfaceView& view, std::int32_t x, std::int32_t y) {
  // Rows of 32-bit surfaces start on 4-byte boundaries.
  return reinterpret_cast<std::uint32_t*>(view.At(x, y));
}

// Rewrites every coverage value under the placed mask through rule(a, m).
template <typename Rule>
void ForCoverageRows(TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph, Rule rule) {
  if (!IsCoverage(coverage)) return;
  const auto p = PlaceMask(glyph, x, y, coverage.ClipLimit());
  if (!p) return;
  SurfaceView cover(coverage);
  if (!cover.Ok()) return;
  ForPlacedRows(glyph, *p, [&](const std::uint8_t* m, std::int32_t dx, std::int32_t dy, std::int32_t n) {
    std::uint8_t* a = cover.At(dx, dy);
    for (std::int32_t i = 0; i < n; ++i) a[i] = rule(a[i], m[i]);
  });
}

}  // namespace

void DrawGlyphSolid(TCustomDIBX& dst, std::int32_t x, std::int32_t y, const TFontPixel& glyph, std::uint32_t colour) {
  if (!TakesGlyphs(dst)) return;
  const auto p = PlaceMask(glyph, x, y, dst.ClipLimit());
  if (!p) return;
  SurfaceView view(dst);
  if (!view.Ok()) return;
  ForPlacedRows(glyph, *p, [&](const std::uint8_t* m, std::int32_t dx, std::int32_t dy, std::int32_t n) {
    NativeRow(view, dx, dy, m, n, [colour](std::uint32_t, std::uint32_t) { return colour; });
  });
}

void DrawGlyphAntialiased(TCustomDIBX& dst, std::int32_t x, std::int32_t y, const TFontPixel& glyph,
                          std::uint32_t colour) {
  if (!TakesGlyphs(dst)) return;
  const auto p = PlaceMask(glyph, x, y, dst.ClipLimit());
  if (!p) return;
  SurfaceView view(dst);
  if (!view.Ok()) return;
  const GlyphKernels& kernels = ActiveGlyphKernels();
  const bool wide = view.Format().bytes_per_pixel == 4;
  ForPlacedRows(glyph, *p, [&](const std::uint8_t* m, std::int32_t dx, std::int32_t dy, std::int32_t n) {
    if (wide) return kernels.antialias(Row32(view, dx, dy), m, n, colour);
    const PixelFormat& f = view.Format();
    NativeRow(view, dx, dy, m, n, [&](std::uint32_t d, std::uint32_t mv) { return AntialiasNativePixel(f, d, mv, colour); });
  });
}

void DrawGlyphLayer(TCustomDIBX& dst, TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph,
                    std::uint32_t colour) {
  if (!TakesGlyphs(dst) || !IsCoverage(coverage)) return;
  const auto p = PlaceMask(glyph, x, y, LayerLimit(dst, coverage));
  if (!p) return;
  SurfaceView view(dst);
  SurfaceView cover(coverage);
  if (!view.Ok() || !cover.Ok()) return;
  const GlyphKernels& kernels = ActiveGlyphKernels();
  const bool wide = view.Format().bytes_per_pixel == 4;
  ForPlacedRows(glyph, *p, [&](const std::uint8_t* m, std::int32_t dx, std::int32_t dy, std::int32_t n) {
    std::uint8_t* a = cover.At(dx, dy);
    if (wide) return kernels.layer(Row32(view, dx, dy), a, m, n, colour);
    const PixelFormat& f = view.Format();
    std::uint8_t* at = view.At(dx, dy);
    for (std::int32_t i = 0; i < n; ++i, at += f.bytes_per_pixel) {
      if (m[i] == 0) continue;
      std::uint32_t d = f.Load(at);
      LayerNativePixel(f, d, a[i], m[i], colour);
      f.Store(at, d);
    }
  });
}

void DrawGlyphCoverage(TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph) {
  ForCoverageRows(coverage, x, y, glyph, [](std::uint8_t a, std::uint8_t m) -> std::uint8_t { return m != 0 ? 255 : a; });
}

void AccumulateGlyphCoverage(TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph) {
  ForCoverageRows(coverage, x, y, glyph, [](std::uint8_t a, std::uint8_t m) {
    return static_cast<std::uint8_t>(AccumulateCoverage(a, m));
  });
}

}  // namespace kest
