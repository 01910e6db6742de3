// The tiling operations: repeated copies of a source rectangle with offsets and gaps, grids of
// scaled copies, the whole source repeated and scaled, and the repeated whole source copied.
// Each narrows the clip to its work area while it draws and restores the clip afterwards.

#include <algorithm>
#include <cmath>

#include "render/row_engine.h"
#include "render/scaled_rows.h"
#include "render/surface.h"

namespace kest {

namespace {

// Lays pieces of `src` over `dst`, starting at the offsets, with gaps between pieces, and calls
// draw(x, y, piece) for each piece that can touch `work`. A gap of minus the tile size or less
// would never advance, and an empty source has no pieces: both draw nothing.
template <typename DrawPiece>
void LayPieces(const Rect& dst, const Rect& work, const Rect& src, const TileSpacing& t, DrawPiece draw) {
  const std::int64_t w = src.Width(), h = src.Height();
  if (w <= 0 || h <= 0 || t.gap_x <= -w || t.gap_y <= -h) return;
  const std::int64_t start_col = src.left + FloorMod(t.offset_x, w);
  const std::int64_t start_row = src.top + FloorMod(t.offset_y, h);
  // Pieces after the first repeat with a fixed period, so whole periods before the work area
  // are skipped arithmetically instead of one by one.
  const auto skip_to = [](std::int64_t pos, std::int64_t period, std::int64_t edge) {
    if (pos + period > edge) return pos;
    return pos + ((edge - pos) / period - 1) * period;
  };
  std::int64_t y = dst.top;
  bool first_row = true;
  while (y < dst.bottom && y < work.bottom) {
    const std::int64_t row0 = first_row ? start_row : src.top;
    const std::int64_t ph = std::min<std::int64_t>(src.bottom - row0, dst.bottom - y);
    if (y + ph > work.top) {
      std::int64_t x = dst.left;
      bool first_col = true;
      while (x < dst.right && x < work.right) {
        const std::int64_t col0 = first_col ? start_col : src.left;
        const std::int64_t pw = std::min<std::int64_t>(src.right - col0, dst.right - x);
        if (x + pw > work.left)
          draw(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
               Rect{static_cast<std::int32_t>(col0), static_cast<std::int32_t>(row0), static_cast<std::int32_t>(col0 + pw),
                    static_cast<std::int32_t>(row0 + ph)});
        x = skip_to(x + pw + t.gap_x, w + t.gap_x, work.left);
        first_col = false;
      }
    }
    y = skip_to(y + ph + t.gap_y, h + t.gap_y, work.top);
    first_row = false;
  }
}

// Runs `body` with the clip narrowed to the work area, restoring it afterwards.
template <typename Body>
void WithWorkArea(TCustomDIBX& surface, const Rect& dst, Body body) {
  const Rect work = Intersect(dst, surface.ClipLimit());
  if (work.IsEmpty()) return;
  ClipRestorer restore(surface);
  surface.SetClip({work, true});
  body(work);
}

}  // namespace

void TCustomDIBX::TileDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing,
                           Keyed key) {
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      Draw(x, y, source, piece, Flip::None, key);
    });
  });
}

void TCustomDIBX::TileDrawAlpha(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing,
                                int alpha, Keyed key) {
  if (alpha <= 0) return;
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      DrawAlpha(x, y, source, piece, alpha, Flip::None, key);
    });
  });
}

void TCustomDIBX::TileDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing,
                              int level) {
  if (level <= 0) return;
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      DrawAdd(x, y, source, piece, level);
    });
  });
}

void TCustomDIBX::TileDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                               const TileSpacing& spacing) {
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      DrawMask(x, y, source, piece, mask);
    });
  });
}

void TCustomDIBX::TileDrawMaskAlpha(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                                    const TileSpacing& spacing, int alpha) {
  if (alpha <= 0) return;
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      DrawMaskAlpha(x, y, source, piece, mask, alpha);
    });
  });
}

void TCustomDIBX::TileDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                                  const TileSpacing& spacing, int level) {
  if (level <= 0) return;
  WithWorkArea(*this, dst, [&](const Rect& work) {
    LayPieces(dst, work, src, spacing, [&](std::int32_t x, std::int32_t y, const Rect& piece) {
      DrawMaskAdd(x, y, source, piece, mask, level);
    });
  });
}

namespace {

// One axis of a TileZoom grid in 16.16: where the first cell starts and the step between cells.
struct GridAxis {
  std::int64_t start = 0;
  std::int64_t step = 0;
  std::int32_t cell = 0;
};

std::optional<GridAxis> ZoomAxis(std::int32_t r_lo, std::int32_t offset, std::int32_t pitch, std::int32_t zoom,
                                 std::int32_t extent) {
  if (pitch <= 0 || zoom <= 0 || extent <= 0) return std::nullopt;
  const double p = static_cast<double>(zoom) * pitch / 256.0;
  const double ratio = offset / p;
  const double frac = ratio - std::trunc(ratio);
  const double shift = offset < 0 ? (p + frac * p) * 65536.0 : frac * p * 65536.0;
  GridAxis a;
  a.start = std::int64_t{r_lo} * 65536 - TruncToInt64(std::nearbyint(shift));
  a.step = std::max<std::int64_t>(65536, TruncToInt64(std::nearbyint(p * 65536.0)));
  a.cell = static_cast<std::int32_t>(std::max<std::int64_t>(1, TruncToInt64(static_cast<double>(zoom) * extent / 256.0)));
  return a;
}

template <typename DrawCell>
void LayGrid(const Rect& dst, const Rect& work, const GridAxis& gx, const GridAxis& gy, DrawCell draw) {
  const auto first = [](const GridAxis& a, std::int64_t work_lo) {
    // The first cell whose right edge passes the work area's start.
    const std::int64_t need = std::int64_t{work_lo} * 65536 - std::int64_t{a.cell} * 65536 - a.start;
    return need <= 0 ? a.start : a.start + FloorDiv(need, a.step) * a.step;
  };
  const std::int64_t x_end = std::int64_t{std::min(dst.right, work.right)} * 65536;
  const std::int64_t y_end = std::int64_t{std::min(dst.bottom, work.bottom)} * 65536;
  for (std::int64_t y = first(gy, work.top); y < y_end; y += gy.step) {
    for (std::int64_t x = first(gx, work.left); x < x_end; x += gx.step) {
      const auto cx = static_cast<std::int32_t>(x >> 16), cy = static_cast<std::int32_t>(y >> 16);
      draw(Rect{cx, cy, cx + gx.cell, cy + gy.cell});
    }
  }
}

}  // namespace

namespace {

// Lays the zoomed grid over `dst` and calls `draw_cell` for every cell inside the work area.
template <typename DrawCell>
void ForEachZoomedCell(TCustomDIBX& target, const Rect& dst, const Rect& src, const TileZoomGrid& grid,
                       DrawCell draw_cell) {
  const auto gx = ZoomAxis(dst.left, grid.offset_x, grid.pitch_x, grid.zoom_x, src.Width());
  const auto gy = ZoomAxis(dst.top, grid.offset_y, grid.pitch_y, grid.zoom_y, src.Height());
  if (!gx || !gy) return;
  WithWorkArea(target, dst, [&](const Rect& work) { LayGrid(dst, work, *gx, *gy, draw_cell); });
}

}  // namespace

void TCustomDIBX::TileZoom(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileZoomGrid& grid,
                           int combined, Flip flip, Keyed key) {
  if (combined <= 0) return;
  ForEachZoomedCell(*this, dst, src, grid, [&](const Rect& cell) {
    if (combined <= 255)
      StretchDraw(cell, source, src, combined, flip, key);
    else
      StretchDrawAdd(cell, source, src, std::min(combined, 511) & 255, flip, key);
  });
}

void TCustomDIBX::TileZoomMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                               const TileZoomGrid& grid, int combined, Flip flip) {
  if (combined <= 0) return;
  ForEachZoomedCell(*this, dst, src, grid, [&](const Rect& cell) {
    if (combined <= 255)
      StretchDrawMask(cell, source, src, mask, combined, flip);
    else
      StretchDrawMaskAdd(cell, source, src, mask, std::min(combined, 511) & 255, flip);
  });
}

namespace {

// TileStretch along one axis: source positions (16.16) for each destination pixel of the work
// area, wrapping modulo the source extent.
std::vector<std::int32_t> WrappedPositions(std::int32_t r_lo, std::int32_t work_lo, std::int32_t count,
                                           std::int32_t offset, std::int32_t zoom, std::int32_t extent, bool mirrored) {
  const std::int64_t span = std::int64_t{extent} * 65536;
  const std::int64_t step = std::min(TruncToInt64(256.0 / zoom * 65536.0), span);
  const double tile = static_cast<double>(extent) * zoom / 256.0;
  const double ratio = offset / tile;
  double start = (ratio - std::trunc(ratio)) * extent;
  if (offset < 0) start += extent;
  if (mirrored) start = extent - start;
  start = std::clamp(start, 0.0, static_cast<double>(extent));
  std::int64_t pos = FloorMod(TruncToInt64(start * 65536.0), span);
  const std::int64_t signed_step = mirrored ? -step : step;
  pos = FloorMod(pos + FloorMod(std::int64_t{work_lo} - r_lo, span) * FloorMod(signed_step, span) % span, span);
  std::vector<std::int32_t> out(static_cast<std::size_t>(count));
  for (auto& o : out) {
    o = static_cast<std::int32_t>(pos >> 16);
    pos = FloorMod(pos + signed_step, span);
  }
  return out;
}

void StretchTiles(TCustomDIBX& dst, const Rect& r, TCustomDIBX& source, TCustomDIBX* mask,
                  const TileStretchPlacement& t, Flip flip, const RowOp& op) {
  if (t.zoom_x <= 0 || t.zoom_y <= 0 || source.IsEmpty()) return;
  if (mask != nullptr && (mask->Width() < source.Width() || mask->Height() < source.Height())) return;
  const Rect work = Intersect(r, dst.ClipLimit());
  if (work.IsEmpty()) return;
  ScaledPlan plan;
  plan.dst = work;
  plan.columns = WrappedPositions(r.left, work.left, work.Width(), t.offset_x, t.zoom_x, source.Width(), FlipsH(flip));
  plan.rows = WrappedPositions(r.top, work.top, work.Height(), t.offset_y, t.zoom_y, source.Height(), FlipsV(flip));
  DrawPlan(dst, plan, &source, mask, op);
}

}  // namespace

void TCustomDIBX::TileStretch(const Rect& dst, TCustomDIBX& source, const TileStretchPlacement& placement, int combined,
                              Flip flip, Keyed key) {
  const auto op = CombinedOp(combined, key, source.transparent_color);
  if (op) StretchTiles(*this, dst, source, nullptr, placement, flip, *op);
}

void TCustomDIBX::TileStretchMask(const Rect& dst, TCustomDIBX& source, TCustomDIBX& mask,
                                  const TileStretchPlacement& placement, int combined, Flip flip) {
  if (mask.BitCount() != 8) return;
  const auto op = CombinedMaskOp(combined);
  if (op) StretchTiles(*this, dst, source, &mask, placement, flip, *op);
}

void TCustomDIBX::TileFill(const Rect& dst, TCustomDIBX& source, std::int32_t offset_x, std::int32_t offset_y,
                           Flip flip) {
  if (source.IsEmpty()) return;
  const Rect work = Intersect(dst, ClipLimit());
  if (work.IsEmpty()) return;
  const std::int64_t w = source.Width(), h = source.Height();
  ScaledPlan plan;
  plan.dst = work;
  plan.columns.resize(static_cast<std::size_t>(work.Width()));
  plan.rows.resize(static_cast<std::size_t>(work.Height()));
  // The pattern stays anchored to dst: the offsets advance by what the clip cut away.
  for (std::size_t i = 0; i < plan.columns.size(); ++i) {
    const std::int64_t c = FloorMod(std::int64_t{offset_x} + work.left - dst.left + static_cast<std::int64_t>(i), w);
    plan.columns[i] = static_cast<std::int32_t>(FlipsH(flip) ? w - 1 - c : c);
  }
  for (std::size_t i = 0; i < plan.rows.size(); ++i) {
    const std::int64_t r = FloorMod(std::int64_t{offset_y} + work.top - dst.top + static_cast<std::int64_t>(i), h);
    plan.rows[i] = static_cast<std::int32_t>(FlipsV(flip) ? h - 1 - r : r);
  }
  RowOp copy;
  copy.kind = RowOpKind::Copy;
  DrawPlan(*this, plan, &source, nullptr, copy);
}

void TCustomDIBX::FrameTile(const Rect& r, std::int32_t width, TCustomDIBX& source, std::int32_t offset_x,
                            std::int32_t offset_y) {
  if (width <= 0) return;
  const std::int64_t t = r.top, b = r.bottom, l = r.left, rr = r.right;
  const auto at = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
  TileFill(Rect{r.left, r.top, r.right, at(t + width)}, source, offset_x, offset_y);
  TileFill(Rect{r.left, at(b - width), r.right, r.bottom}, source, offset_x, offset_y);
  if (b - t - 2 * std::int64_t{width} > 0) {
    TileFill(Rect{r.left, at(t + width), at(l + width), at(b - width)}, source, offset_x, offset_y);
    TileFill(Rect{at(rr - width), at(t + width), r.right, at(b - width)}, source, offset_x, offset_y);
  }
}

}  // namespace kest
