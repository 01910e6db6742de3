// Rotated and zoomed draws. Angles are in 256ths of a turn; positive angles turn clockwise on a
// screen whose y axis points down. Each destination pixel of the bounding box is mapped back
// into the source by the inverse transform in 16.16 fixed point, stepped along the row.

#include "render/rotate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "render/row_engine.h"
#include "render/scaled_rows.h"

namespace kest {

namespace {

std::int32_t SaturatedTrunc(double value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(TruncToInt64(value), INT32_MIN, INT32_MAX));
}

double Theta(std::int32_t angle) { return static_cast<double>(angle) * 2.0 * std::numbers::pi / 256.0; }

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

  for (std::int32_t yy = box.top; yy < box.bottom; ++yy) {
    std::int64_t u = std::int64_t{r.pivot_x} * 65536 + (std::int64_t{box.left} - x) * du_dx + (std::int64_t{yy} - y) * du_dy;
    std::int64_t v = std::int64_t{r.pivot_y} * 65536 + (std::int64_t{box.left} - x) * dv_dx + (std::int64_t{yy} - y) * dv_dy;
    int run_start = -1;
    const auto flush = [&](int end) {
      if (run_start < 0) return;
      ApplyRow(d.Format(), d.At(box.left + run_start, yy), values.data() + run_start,
               mask != nullptr ? coverage.data() + run_start : nullptr, end - run_start, op, scratch);
      run_start = -1;
    };
    for (int k = 0; k < n; ++k, u += du_dx, v += dv_dx) {
      bool valid = u >= 0 && v >= 0;
      std::int64_t col = 0, row = 0;
      if (valid) {
        // Offsets within the source rectangle, mirrored within it.
        const std::int64_t ou = u >> 16, ov = v >> 16;
        col = flip_h ? src_in.right - 1 - ou : src_in.left + ou;
        row = flip_v ? src_in.bottom - 1 - ov : src_in.top + ov;
        valid = ou < width && ov < height && col >= src.left && col < src.right && row >= src.top && row < src.bottom;
      }
      if (!valid) {
        flush(k);
        continue;
      }
      if (run_start < 0) run_start = k;
      values[static_cast<std::size_t>(k)] = sv.Get(static_cast<std::int32_t>(col), static_cast<std::int32_t>(row));
      if (mv) coverage[static_cast<std::size_t>(k)] = *mv->At(static_cast<std::int32_t>(col), static_cast<std::int32_t>(row));
    }
    flush(n);
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
