// Palette draws: 4-bit and 8-bit indexed sources looked up in a table of native colours.

#include <algorithm>

#include "render/row_engine.h"
#include "render/scaled_rows.h"
#include "render/surface.h"

namespace kest {

namespace {

// One looked-up colour combined with the destination under a combined value: 255 copies, 1-254
// blends (untouched when equal), above 255 adds with level & 255, skipping colour 0 and, on
// 16-bit destinations, pixels already at 0xFFFF.
void CombinePalettePixel(const PixelFormat& f, std::uint8_t* at, std::uint32_t colour, int combined) {
  const std::uint32_t d = f.Load(at);
  RowOp op;
  if (combined == 255) {
    op.kind = RowOpKind::Copy;
  } else if (combined < 255) {
    op.kind = RowOpKind::Blend;
    op.amount = combined;
  } else {
    if (colour == 0 || (f.bytes_per_pixel == 2 && d == 0xFFFF)) return;
    op.kind = RowOpKind::Add;
    op.amount = std::min(combined, 511) & 255;
  }
  const std::uint32_t out = CombinePixel(f, d, colour, 0, op);
  if (out != d) f.Store(at, out);
}

std::uint32_t Lookup(std::span<const std::uint32_t> palette, std::uint32_t index) {
  return index < palette.size() ? palette[index] : 0;
}

}  // namespace

void TCustomDIBX::DrawPalette4(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int combined,
                               const PackedPixels& source, const Rect& src, Flip flip) {
  if (combined <= 0 || source.bits_per_pixel != 4) return;
  const auto p = PlaceSource(x, y, src, flip, ClipLimit(), source.Bounds());
  if (!p) return;
  SurfaceView view(*this);
  if (!view.Ok()) return;
  for (std::int32_t row = 0; row < p->dst.Height(); ++row) {
    for (std::int32_t col = 0; col < p->dst.Width(); ++col) {
      const std::uint32_t index = source.At(p->src_x + col * p->step_x, p->src_y + row * p->step_y);
      if (static_cast<std::int32_t>(index) == source.transparent_index) continue;
      CombinePalettePixel(view.Format(), view.At(p->dst.left + col, p->dst.top + row), Lookup(palette, index), combined);
    }
  }
}

void TCustomDIBX::StretchPalette4(const Rect& dst, const PackedPixels& source, const Rect& src,
                                  std::span<const std::uint32_t> palette, int combined, Flip flip) {
  if (combined <= 0 || source.bits_per_pixel != 4) return;
  const auto plan = PlanStretch(dst, src, flip, ClipLimit(), source.Bounds());
  if (!plan) return;
  SurfaceView view(*this);
  if (!view.Ok()) return;
  for (std::size_t r = 0; r < plan->rows.size(); ++r) {
    if (plan->rows[r] < 0) continue;
    for (std::size_t c = 0; c < plan->columns.size(); ++c) {
      const std::uint32_t index = source.At(plan->columns[c], plan->rows[r]);
      if (static_cast<std::int32_t>(index) == source.transparent_index) continue;
      CombinePalettePixel(view.Format(),
                          view.At(plan->dst.left + static_cast<std::int32_t>(c), plan->dst.top + static_cast<std::int32_t>(r)),
                          Lookup(palette, index), combined);
    }
  }
}

void TCustomDIBX::DrawPalette8(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int level,
                               TCustomDIBX& source, const Rect& src, Flip flip) {
  if (level <= 0 || source.BitCount() != 8) return;
  const auto p = PlaceSource(x, y, src, flip, ClipLimit(), source.Bounds());
  if (!p) return;
  SurfaceView d(*this), s(source);
  if (!d.Ok() || !s.Ok()) return;
  RowOp op;
  op.kind = RowOpKind::Add;
  op.amount = std::min(level, 255);
  op.plain_add_on_bytes = true;
  const std::int32_t skip_up_to = source.transparent_color;  // indexes not above it are skipped
  for (std::int32_t row = 0; row < p->dst.Height(); ++row) {
    const std::uint8_t* indexes = s.At(p->src_x, p->src_y + row * p->step_y);
    for (std::int32_t col = 0; col < p->dst.Width(); ++col) {
      const std::uint8_t index = *(indexes + col * p->step_x);
      if (static_cast<std::int32_t>(index) <= skip_up_to) continue;
      std::uint8_t* at = d.At(p->dst.left + col, p->dst.top + row);
      const std::uint32_t before = d.Format().Load(at);
      const std::uint32_t after = CombinePixel(d.Format(), before, Lookup(palette, index), 0, op);
      if (after != before) d.Format().Store(at, after);
    }
  }
}

}  // namespace kest
