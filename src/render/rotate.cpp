// Rotated and zoomed draws. Angles are in 256ths of a turn; positive angles turn clockwise on a
// screen whose y axis points down. Each destination pixel of the bounding box is mapped back
// into the source by the inverse transform in 16.16 fixed point, stepped along the row.

#include "render/rotate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <utility>

#include "render/row_engine.h"
#include "render/scaled_rows.h"

namespace kest {

namespace {

std::int32_t SaturatedTrunc(double value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(TruncToInt64(value), INT32_MIN, INT32_MAX));
}

double Theta(std::int32_t angle) { return static_cast<double>(angle) * 2.0 * std::numbers::pi / 256.0; }

// The steps k in [0, n) with lo <= start + k * step < hi, as a half-open range (exact integer
// arithmetic: the bounds are the ones the per-pixel test gives).
std::pair<int, int> StepRange(std::int64_t start, std::int64_t step, std::int64_t lo, std::int64_t hi, int n) {
  const auto ceil_div = [](std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); };
  std::int64_t first = 0, last = n;
  if (step > 0) {
    first = ceil_div(lo - start, step);
    last = ceil_div(hi - start, step);
  } else if (step < 0) {
    const std::int64_t e = -step;
    first = FloorDiv(start - hi, e) + 1;
    last = FloorDiv(start - lo, e) + 1;
  } else if (start < lo || start >= hi) {
    return {0, 0};
  }
  first = std::clamp<std::int64_t>(first, 0, n);
  last = std::clamp<std::int64_t>(last, 0, n);
  return {static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

Rect RotatedBounds(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, const RotateZoom& r) {
  if (r.zoom_x <= 0 || r.zoom_y <= 0) return {};
  const double zx = r.zoom_x / 256.0, zy = r.zoom_y / 256.0;
  const double c = std::cos(Theta(r.angle)), s = std::sin(Theta(r.angle));
  const double xs[2] = {-r.pivot_x * zx, width * zx - r.pivot_x * zx - 1};
  const double ys[2] = {-r.pivot_y * zy, height * zy - r.pivot_y * zy - 1};
  double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
  for (const double dx : xs) {
    for (const double dy : ys) {
      const double px = x + c * dx - s * dy, py = y + s * dx + c * dy;
      min_x = std::min(min_x, px), max_x = std::max(max_x, px);
      min_y = std::min(min_y, py), max_y = std::max(max_y, py);
    }
  }
  return {SaturatedTrunc(min_x), SaturatedTrunc(min_y), SaturatedTrunc(max_x + 1), SaturatedTrunc(max_y + 1)};
}

namespace {

void Rotate(TCustomDIBX& dst, std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src_in,
            TCustomDIBX* mask, const RotateZoom& r, Flip flip, const RowOp& op) {
  if (r.zoom_x <= 0 || r.zoom_y <= 0) return;
  Rect readable = source.Bounds();
  if (mask != nullptr) readable = Intersect(readable, mask->Bounds());
  const Rect src = Intersect(src_in, readable);
  if (src.IsEmpty()) return;
  const Rect box = Intersect(RotatedBounds(x, y, src_in.Width(), src_in.Height(), r), dst.ClipLimit());
  if (box.IsEmpty()) return;

  const double zx = r.zoom_x / 256.0, zy = r.zoom_y / 256.0;
  const double c = std::cos(Theta(r.angle)), s = std::sin(Theta(r.angle));
  const std::int64_t du_dx = TruncToInt64(c / zx * 65536), dv_dx = TruncToInt64(-s / zy * 65536);
  const std::int64_t du_dy = TruncToInt64(s / zx * 65536), dv_dy = TruncToInt64(c / zy * 65536);
  const std::int64_t width = src_in.Width(), height = src_in.Height();

  SurfaceView d(dst), sv(source);
  if (!d.Ok() || !sv.Ok()) return;
  std::optional<SurfaceView> mv;
  if (mask != nullptr) {
    mv.emplace(*mask);
    if (!mv->Ok()) return;
  }
  const int n = box.Width();
  std::vector<std::uint32_t> values(static_cast<std::size_t>(n)), scratch;
  std::vector<std::uint8_t> coverage(static_cast<std::size_t>(n));
  const bool flip_h = FlipsH(flip), flip_v = FlipsV(flip);

  // A destination pixel reads the source when u and v (16.16) fall in these ranges: inside the
  // source rectangle and inside the readable part of it, mirrored within the rectangle.
  const auto range = [](std::int64_t size, std::int64_t in_lo, std::int64_t in_hi, std::int64_t readable_lo,
                        std::int64_t readable_hi, bool mirrored) {
    std::int64_t lo = mirrored ? in_hi - readable_hi : readable_lo - in_lo;
    std::int64_t hi = mirrored ? in_hi - readable_lo : readable_hi - in_lo;
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min<std::int64_t>(hi, size);
    return std::pair{lo * 65536, hi * 65536};
  };
  const auto [u_lo, u_hi] = range(width, src_in.left, src_in.right, src.left, src.right, flip_h);
  const auto [v_lo, v_hi] = range(height, src_in.top, src_in.bottom, src.top, src.bottom, flip_v);
  if (u_lo >= u_hi || v_lo >= v_hi) return;
  const bool direct = sv.Format().bytes_per_pixel == 4;

  for (std::int32_t yy = box.top; yy < box.bottom; ++yy) {
    const std::int64_t u0 = std::int64_t{r.pivot_x} * 65536 + (std::int64_t{box.left} - x) * du_dx + (std::int64_t{yy} - y) * du_dy;
    const std::int64_t v0 = std::int64_t{r.pivot_y} * 65536 + (std::int64_t{box.left} - x) * dv_dx + (std::int64_t{yy} - y) * dv_dy;
    // The row's inside span, solved once: u and v move linearly along the row, so the pixels
    // that read the source are one run [first, last).
    const auto [a0, a1] = StepRange(u0, du_dx, u_lo, u_hi, n);
    const auto [b0, b1] = StepRange(v0, dv_dx, v_lo, v_hi, n);
    const int first = std::max(a0, b0), last = std::min(a1, b1);
    if (first >= last) continue;
    std::int64_t u = u0 + first * du_dx, v = v0 + first * dv_dx;
    for (int k = first; k < last; ++k, u += du_dx, v += dv_dx) {
      const std::int64_t ou = u >> 16, ov = v >> 16;
      const auto col = static_cast<std::int32_t>(flip_h ? src_in.right - 1 - ou : src_in.left + ou);
      const auto row = static_cast<std::int32_t>(flip_v ? src_in.bottom - 1 - ov : src_in.top + ov);
      values[static_cast<std::size_t>(k)] =
          direct ? *reinterpret_cast<const std::uint32_t*>(sv.At(col, row)) : sv.Get(col, row);
      if (mv) coverage[static_cast<std::size_t>(k)] = *mv->At(col, row);
    }
    ApplyRow(d.Format(), d.At(box.left + first, yy), values.data() + first, mask != nullptr ? coverage.data() + first : nullptr,
             last - first, op, scratch);
  }
}

}  // namespace

void TCustomDIBX::DrawRotate(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                             const RotateZoom& rotate, int combined, Flip flip, Keyed key) {
  const auto op = CombinedOp(combined, key, source.transparent_color);
  if (op) Rotate(*this, x, y, source, src, nullptr, rotate, flip, *op);
}

void TCustomDIBX::DrawRotateMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                                 TCustomDIBX& mask, const RotateZoom& rotate, int combined, Flip flip) {
  if (mask.BitCount() != 8) return;
  const auto op = CombinedMaskOp(combined);
  if (op) Rotate(*this, x, y, source, src, &mask, rotate, flip, *op);
}

}  // namespace kest
