// The outlined glyph: the layer rule stamped at every offset (dx, dy) of -w..w around each mask
// pixel, except (0, 0).
//
// The reference walks the mask row by row, left to right, and stamps each pixel at its offsets
// ordered by dy, then dx, both ascending. The layer rule does not commute, so what counts is the
// order in which one destination pixel (X, Y) receives its stamps. It receives at most one stamp
// per mask pixel, from the pixel (X - x - dx, Y - y - dy); mask order (row, then column,
// ascending) therefore gives its stamps in dy descending, then dx descending. The row passes
// below stamp the whole mask at one offset at a time in exactly that order, so every destination
// pixel sees the reference's sequence, and each pass is a run of whole rows for the kernels.

#include <algorithm>
#include <vector>

#include "render/glyphs/glyph_draw.h"
#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"
#include "render/glyphs/glyph_placement.h"

namespace kest {

namespace {

// The columns [first, last) of each mask row that hold a non-zero value (first == last: none).
struct RowSpan {
  std::int32_t first = 0;
  std::int32_t last = 0;
};

std::vector<RowSpan> InkSpans(const TFontPixel& glyph) {
  const MaskRows mask(glyph);
  const std::int32_t width = glyph.mask.Width();
  std::vector<RowSpan> spans(static_cast<std::size_t>(glyph.mask.Height()));
  for (std::size_t r = 0; r < spans.size(); ++r) {
    const std::uint8_t* m = mask.Row(static_cast<std::int32_t>(r));
    std::int32_t first = 0, last = width;
    while (first < width && m[first] == 0) ++first;
    while (last > first && m[last - 1] == 0) --last;
    spans[r] = {first, last};
  }
  return spans;
}

bool Contains(const Rect& r, std::int64_t x, std::int64_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The order the format gives: each mask pixel in turn, at every offset.
void OutlineReference(const SurfaceView& view, const SurfaceView& cover, const TFontPixel& glyph, std::int64_t x,
                      std::int64_t y, std::uint32_t colour, int w, const Rect& limit) {
  const MaskRows mask(glyph);
  const PixelFormat& f = view.Format();
  const std::int32_t mw = glyph.mask.Width(), mh = glyph.mask.Height();
  const Rect stamped_inside = ClampedRect(x - w, y - w, x + mw + w, y + mh + w, limit);
  const bool all_inside = stamped_inside.left == x - w && stamped_inside.top == y - w &&
                          stamped_inside.right == x + mw + w && stamped_inside.bottom == y + mh + w;
  for (std::int32_t row = 0; row < mh; ++row) {
    const std::uint8_t* m = mask.Row(row);
    for (std::int32_t col = 0; col < mw; ++col) {
      if (m[col] == 0) continue;
      for (int dy = -w; dy <= w; ++dy) {
        for (int dx = -w; dx <= w; ++dx) {
          if (dx == 0 && dy == 0) continue;
          const std::int64_t tx = x + col + dx, ty = y + row + dy;
          if (!all_inside && !Contains(limit, tx, ty)) continue;
          const auto px = static_cast<std::int32_t>(tx), py = static_cast<std::int32_t>(ty);
          std::uint8_t* at = view.At(px, py);
          std::uint32_t d = f.Load(at);
          LayerNativePixel(f, d, *cover.At(px, py), m[col], colour);
          f.Store(at, d);
        }
      }
    }
  }
}

// One whole-mask pass per offset, dy from w down to -w and dx likewise, on 32-bit rows.
void OutlinePasses(const SurfaceView& view, const SurfaceView& cover, const TFontPixel& glyph, std::int64_t x,
                   std::int64_t y, std::uint32_t colour, int w, const Rect& limit, const GlyphKernels& kernels) {
  const MaskRows mask(glyph);
  const std::vector<RowSpan> spans = InkSpans(glyph);
  for (int dy = w; dy >= -w; --dy) {
    for (int dx = w; dx >= -w; --dx) {
      if (dx == 0 && dy == 0) continue;
      const auto p = PlaceMask(glyph, x + dx, y + dy, limit);
      if (!p) continue;
      const std::int32_t left = p->src_x, right = p->src_x + p->dst.Width();
      for (std::int32_t r = 0; r < p->dst.Height(); ++r) {
        const std::int32_t mask_row = p->src_y + r;
        const RowSpan span = spans[static_cast<std::size_t>(mask_row)];
        const std::int32_t first = std::max(left, span.first), last = std::min(right, span.last);
        if (last <= first) continue;
        const std::int32_t px = p->dst.left + (first - left), py = p->dst.top + r;
        kernels.layer(reinterpret_cast<std::uint32_t*>(view.At(px, py)), cover.At(px, py), mask.Row(mask_row) + first,
                      last - first, colour);
      }
    }
  }
}

}  // namespace

void DrawGlyphOutlined(TCustomDIBX& dst, TCustomDIBX& coverage, std::int32_t x, std::int32_t y,
                       const TFontPixel& glyph, std::uint32_t colour, int width) {
  if (!TakesGlyphs(dst) || !IsCoverage(coverage) || !HasDrawableMask(glyph)) return;
  const int w = std::clamp(width, 1, kMaxOutlineWidth);
  const Rect limit = LayerLimit(dst, coverage);
  const std::int64_t mw = glyph.mask.Width(), mh = glyph.mask.Height();
  if (ClampedRect(std::int64_t{x} - w, std::int64_t{y} - w, x + mw + w, y + mh + w, limit).IsEmpty()) return;
  SurfaceView view(dst);
  SurfaceView cover(coverage);
  if (!view.Ok() || !cover.Ok()) return;
  const SimdLevel level = ActiveSimdLevel();
  if (level == SimdLevel::Scalar || view.Format().bytes_per_pixel != 4)
    return OutlineReference(view, cover, glyph, x, y, colour, w, limit);
  OutlinePasses(view, cover, glyph, x, y, colour, w, limit, GlyphKernelsFor(level));
}

}  // namespace kest
