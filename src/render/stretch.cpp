// Scaled draws: a destination rectangle mapped onto a source rectangle in 16.16 fixed point.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/scaled_rows.h"
#include "render/surface.h"

namespace kest {

std::int64_t TruncToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 0x1p62) return std::int64_t{1} << 62;
  if (value <= -0x1p62) return -(std::int64_t{1} << 62);
  return static_cast<std::int64_t>(value);
}

std::optional<ScaledPlan> PlanStretch(const Rect& dst, const Rect& src, Flip flip, const Rect& limit,
                                      const Rect& source_bounds) {
  const std::int64_t ws = src.Width(), hs = src.Height(), wd = dst.Width(), hd = dst.Height();
  if (ws < 1 || hs < 1 || wd < 1 || hd < 1 || source_bounds.IsEmpty()) return std::nullopt;
  const Rect clipped = Intersect(dst, limit);
  if (clipped.IsEmpty()) return std::nullopt;
  const double q = static_cast<double>(ws) / static_cast<double>(wd);
  const double p = static_cast<double>(hs) / static_cast<double>(hd);
  const bool flip_h = FlipsH(flip), flip_v = FlipsV(flip);

  // One axis: the cut at the near side moves the source edge by Trunc(k * scale) and keeps the
  // fraction; the cut at the far side sets the other edge from the original near edge.
  struct Axis {
    std::int64_t first;  // 16.16 position of the first destination pixel
    std::int64_t step;
    std::int64_t lo, hi;  // the source range that may be read
  };
  const auto axis = [](std::int64_t s_lo, std::int64_t s_hi, std::int64_t d_lo, std::int64_t c_lo, std::int64_t c_hi,
                       double scale, bool mirrored) {
    const std::int64_t k = c_lo - d_lo;
    const std::int64_t moved = TruncToInt64(static_cast<double>(k) * scale);
    const double fraction = static_cast<double>(k) * scale - static_cast<double>(moved);
    const std::int64_t extent = TruncToInt64(static_cast<double>(c_hi - d_lo) * scale);
    std::int64_t lo = s_lo, hi = s_hi;
    if (mirrored) {
      hi = s_hi - moved;
      lo = s_hi - extent;
    } else {
      lo = s_lo + moved;
      hi = s_lo + extent;
    }
    const std::int64_t f = TruncToInt64(fraction * 65536.0);
    const std::int64_t step = TruncToInt64(scale * 65536.0);
    Axis a;
    a.step = mirrored ? -step : step;
    a.first = mirrored ? hi * 65536 - f - 1 : lo * 65536 + f;
    a.lo = std::max(lo, s_lo);
    a.hi = std::min(hi, s_hi);
    return a;
  };
  const Axis ax = axis(src.left, src.right, dst.left, clipped.left, clipped.right, q, flip_h);
  const Axis ay = axis(src.top, src.bottom, dst.top, clipped.top, clipped.bottom, p, flip_v);

  ScaledPlan plan;
  plan.dst = clipped;
  plan.columns.resize(static_cast<std::size_t>(clipped.Width()));
  std::int64_t u = ax.first;
  for (auto& column : plan.columns) {
    // Columns never leave the source surface, even where rounding would take them past it.
    column = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(u >> 16, source_bounds.left, source_bounds.right - 1));
    u += ax.step;
  }
  plan.rows.resize(static_cast<std::size_t>(clipped.Height()));
  std::int64_t v = ay.first;
  for (auto& row : plan.rows) {
    const std::int64_t sy = v >> 16;
    const bool inside = sy >= src.top && sy < src.bottom && sy >= source_bounds.top && sy < source_bounds.bottom;
    row = inside ? static_cast<std::int32_t>(sy) : -1;
    v += ay.step;
  }
  return plan;
}

void GatherRow(const SurfaceView& view, std::int32_t y, std::span<const std::int32_t> columns, std::uint32_t* out) {
  const PixelFormat& f = view.Format();
  const std::uint8_t* row = view.At(0, y);
  if (f.bytes_per_pixel == 4) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(row);
    for (std::size_t i = 0; i < columns.size(); ++i) out[i] = pixels[columns[i]];
    return;
  }
  for (std::size_t i = 0; i < columns.size(); ++i)
    out[i] = f.Load(row + static_cast<std::ptrdiff_t>(columns[i]) * f.bytes_per_pixel);
}

void GatherMaskRow(const SurfaceView& view, std::int32_t y, std::span<const std::int32_t> columns, std::uint8_t* out) {
  const std::uint8_t* row = view.At(0, y);
  for (std::size_t i = 0; i < columns.size(); ++i) out[i] = row[columns[i]];
}

void DrawPlan(TCustomDIBX& dst, const ScaledPlan& plan, TCustomDIBX* source, TCustomDIBX* mask, const RowOp& op) {
  DrawViews views(dst, source, mask);
  if (!views.Ok()) return;
  SurfaceView& d = views.dst;
  std::optional<SurfaceView>& s = views.src;
  std::optional<SurfaceView>& m = views.mask;
  const int n = plan.dst.Width();
  // A plain copy between two 32-bit surfaces gathers straight into the destination, and a row
  // that reads the same source row as the row before it is a copy of that finished row.
  if (op.kind == RowOpKind::Copy && s && !m && source != &dst && d.Format().bytes_per_pixel == 4 &&
      s->Format().bytes_per_pixel == 4) {
    std::int32_t last_row = -1;
    const std::uint32_t* last = nullptr;
    for (std::size_t r = 0; r < plan.rows.size(); ++r) {
      if (plan.rows[r] < 0) continue;
      auto* out = reinterpret_cast<std::uint32_t*>(d.At(plan.dst.left, plan.dst.top + static_cast<std::int32_t>(r)));
      if (plan.rows[r] == last_row)
        std::memcpy(out, last, static_cast<std::size_t>(n) * 4);
      else
        GatherRow(*s, plan.rows[r], plan.columns, out);
      last_row = plan.rows[r];
      last = out;
    }
    return;
  }
  std::vector<std::uint32_t> src_row(static_cast<std::size_t>(n)), scratch;
  std::vector<std::uint8_t> mask_row(static_cast<std::size_t>(n));
  for (std::size_t r = 0; r < plan.rows.size(); ++r) {
    if (plan.rows[r] < 0) continue;
    if (s) GatherRow(*s, plan.rows[r], plan.columns, src_row.data());
    if (m) GatherMaskRow(*m, plan.rows[r], plan.columns, mask_row.data());
    ApplyRow(d.Format(), d.At(plan.dst.left, plan.dst.top + static_cast<std::int32_t>(r)), s ? src_row.data() : nullptr,
             m ? mask_row.data() : nullptr, n, op, scratch);
  }
}

namespace {

Rect Readable(TCustomDIBX& source, TCustomDIBX* mask) {
  return mask != nullptr ? Intersect(source.Bounds(), mask->Bounds()) : source.Bounds();
}

void Stretch(TCustomDIBX& dst, const Rect& d, TCustomDIBX& source, const Rect& s, Flip flip, TCustomDIBX* mask,
             const RowOp& op) {
  const auto plan = PlanStretch(d, s, flip, dst.ClipLimit(), Readable(source, mask));
  if (plan) DrawPlan(dst, *plan, &source, mask, op);
}

}  // namespace

void TCustomDIBX::StretchDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, int alpha, Flip flip, Keyed key) {
  const auto op = CombinedOp(std::min(alpha, 255), key, source.transparent_color);
  if (op) Stretch(*this, dst, source, src, flip, nullptr, *op);
}

void TCustomDIBX::StretchDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int alpha,
                                  Flip flip) {
  if (mask.BitCount() != 8) return;
  const auto op = CombinedMaskOp(std::min(alpha, 255));
  if (op) Stretch(*this, dst, source, src, flip, &mask, *op);
}

void TCustomDIBX::StretchDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, int level, Flip flip,
                                 Keyed key) {
  if (level <= 0) return;
  const auto op = CombinedOp(256 + std::min(level, 255), key, source.transparent_color);
  if (op) Stretch(*this, dst, source, src, flip, nullptr, *op);
}

void TCustomDIBX::StretchDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                                     int level, Flip flip) {
  if (level <= 0 || mask.BitCount() != 8) return;
  const auto op = CombinedMaskOp(256 + std::min(level, 255));
  if (op) Stretch(*this, dst, source, src, flip, &mask, *op);
}

}  // namespace kest
