#include "render/wipes/mask_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kest {

namespace {

// A half-plane through the centre: the points p with a * px + b * py >= 0 (> 0 when strict),
// px and py measured from the centre.
struct HalfPlane {
  double a = 0, b = 0;
  bool strict = false;
  bool Holds(double px, double py) const {
    const double v = a * px + b * py;
    return strict ? v > 0 : v >= 0;
  }
};

// Points clockwise from the direction of `degrees` by less than half a turn: cross(u, p) >= 0
// with u = (sin, -cos) on a screen whose y axis points down.
HalfPlane ClockwiseOf(double degrees, bool strict) {
  const double t = degrees * std::numbers::pi / 180.0;
  const double ux = std::sin(t), uy = -std::cos(t);
  return {-uy, ux, strict};
}

// Points counter-clockwise from the direction by less than half a turn.
HalfPlane CounterClockwiseOf(double degrees, bool strict) {
  HalfPlane h = ClockwiseOf(degrees, strict);
  h.a = -h.a, h.b = -h.b;
  return h;
}

struct Span {
  std::int32_t lo = 0, hi = 0;  // half-open
};

// The columns of row `y` where the half-plane holds: a ray, found from the boundary and mended
// at its end by the exact test.
Span RowSpan(const HalfPlane& h, double cx, double py, std::int32_t width) {
  const auto px = [cx](std::int32_t x) { return x + 0.5 - cx; };
  if (h.a == 0) return h.Holds(0, py) ? Span{0, width} : Span{0, 0};
  const double boundary = -h.b * py / h.a + cx - 0.5;  // x where a * px + b * py = 0
  const double clamped = std::clamp(boundary, -1.0, static_cast<double>(width));
  std::int32_t edge = static_cast<std::int32_t>(std::ceil(clamped));
  if (h.a > 0) {  // holds from the edge rightwards
    while (edge > 0 && h.Holds(px(edge - 1), py)) --edge;
    while (edge < width && !h.Holds(px(edge), py)) ++edge;
    return {std::clamp(edge, 0, width), width};
  }
  // holds from the left up to the edge
  while (edge < width && h.Holds(px(edge), py)) ++edge;
  while (edge > 0 && !h.Holds(px(edge - 1), py)) --edge;
  return {0, std::clamp(edge, 0, width)};
}

Span Both(Span a, Span b) { return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

void FillSpan(std::uint8_t* row, Span s, std::uint8_t value) {
  if (s.hi > s.lo) std::memset(row + s.lo, value, static_cast<std::size_t>(s.hi - s.lo));
}

// A sector of at most half a turn clockwise from `start`: one span per row.
void FillNarrowSector(const MaskCanvas& canvas, double cx, double cy, double start, double sweep, std::uint8_t value) {
  const HalfPlane from = ClockwiseOf(start, false);
  const HalfPlane to = CounterClockwiseOf(start + sweep, true);
  for (std::int32_t y = 0; y < canvas.height; ++y) {
    const double py = y + 0.5 - cy;
    std::uint8_t* row = canvas.bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width);
    if (sweep >= 180.0) {
      FillSpan(row, RowSpan(from, cx, py, canvas.width), value);
    } else {
      FillSpan(row, Both(RowSpan(from, cx, py, canvas.width), RowSpan(to, cx, py, canvas.width)), value);
    }
  }
}

}  // namespace

void FillSector(const MaskCanvas& canvas, double cx, double cy, double start_degrees, double sweep_degrees,
                std::uint8_t value) {
  if (canvas.bits == nullptr || canvas.width <= 0 || canvas.height <= 0 || !(std::abs(sweep_degrees) > 0)) return;
  if (sweep_degrees < 0) {
    start_degrees += sweep_degrees;
    sweep_degrees = -sweep_degrees;
  }
  if (sweep_degrees >= 360.0) {
    std::memset(canvas.bits, value, static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height));
    return;
  }
  if (sweep_degrees <= 180.0) {
    FillNarrowSector(canvas, cx, cy, start_degrees, sweep_degrees, value);
    return;
  }
  // Wider than half a turn: the first half turn, then the rest.
  FillNarrowSector(canvas, cx, cy, start_degrees, 180.0, value);
  FillNarrowSector(canvas, cx, cy, start_degrees + 180.0, sweep_degrees - 180.0, value);
}

void FillDisc(const MaskCanvas& canvas, double cx, double cy, double radius, std::uint8_t value) {
  if (canvas.bits == nullptr || canvas.width <= 0 || !(radius > 0)) return;
  const double r2 = radius * radius;
  const auto inside = [&](std::int32_t x, double py) {
    const double px = x + 0.5 - cx;
    return px * px + py * py < r2;
  };
  for (std::int32_t y = 0; y < canvas.height; ++y) {
    const double py = y + 0.5 - cy;
    if (py * py >= r2) continue;
    const double half = std::sqrt(r2 - py * py);
    std::int32_t lo = static_cast<std::int32_t>(std::clamp(std::ceil(cx - half - 0.5), 0.0, static_cast<double>(canvas.width)));
    std::int32_t hi = static_cast<std::int32_t>(std::clamp(std::floor(cx + half - 0.5) + 1, 0.0, static_cast<double>(canvas.width)));
    while (lo > 0 && inside(lo - 1, py)) --lo;
    while (lo < hi && !inside(lo, py)) ++lo;
    while (hi < canvas.width && inside(hi, py)) ++hi;
    while (hi > lo && !inside(hi - 1, py)) --hi;
    std::uint8_t* row = canvas.bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width);
    FillSpan(row, {lo, hi}, value);
  }
}

}  // namespace kest
