// The outlined glyph: the layer rule stamped at every offset (dx, dy) of -w..w around each mask
// pixel, except (0, 0).
//
// The reference walks the mask row by row, left to right, and stamps each pixel at its offsets
// ordered by dy, then dx, both ascending. The layer rule does not commute, so what counts is the
// order in which one destination pixel (X, Y) receives its stamps. It receives at most one stamp
// per mask pixel, from the pixel (X - x - dx, Y - y - dy); mask order (row, then column,
// ascending) therefore brings its stamps in dy descending, then dx descending. The vector path
// walks the destination instead: for each vector of pixels it applies every offset in exactly
// that order while the pixels stay in registers, reading the mask from a zero-padded copy.

#include <algorithm>
#include <vector>

#include "render/glyphs/glyph_draw.h"
#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"
#include "render/glyphs/glyph_placement.h"

namespace kest {

namespace {

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

// The destination walk on 32-bit rows: every pixel of the stamped area inside the limit, row by
// row, each taking all its stamps at once.
void OutlineRows(const SurfaceView& view, const SurfaceView& cover, const TFontPixel& glyph, std::int64_t x,
                 std::int64_t y, std::uint32_t colour, int w, const Rect& limit, const GlyphKernels& kernels) {
  const std::int32_t mw = glyph.mask.Width(), mh = glyph.mask.Height();
  const Rect area = ClampedRect(x - w, y - w, x + mw + w, y + mh + w, limit);
  if (area.IsEmpty()) return;
  // The mask with 2w zero columns on the left and 2w plus a vector on the right: a pixel of the
  // area reads columns from -2w to mw + 2w - 1 of the mask, and a vector reads on past its end.
  const std::int32_t left_pad = 2 * w;
  const std::size_t stride = static_cast<std::size_t>(mw + 4 * w + kOutlineRowSlack);
  std::vector<std::uint8_t> padded(stride * static_cast<std::size_t>(mh), 0);
  const MaskRows mask(glyph);
  for (std::int32_t r = 0; r < mh; ++r)
    std::copy_n(mask.Row(r), mw, padded.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(r) + left_pad));
  // The column of the padded row that the area's first pixel reads at dx = 0.
  const std::int64_t first_column = left_pad + (area.left - x);
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(2 * w + 1));
  for (std::int32_t py = area.top; py < area.bottom; ++py) {
    for (int k = 0; k <= 2 * w; ++k) {
      const std::int64_t r = py - y - (w - k);
      rows[static_cast<std::size_t>(k)] =
          r >= 0 && r < mh ? padded.data() + stride * static_cast<std::size_t>(r) + first_column : nullptr;
    }
    kernels.outline_row(reinterpret_cast<std::uint32_t*>(view.At(area.left, py)), cover.At(area.left, py),
                        area.Width(), rows.data(), w, colour);
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
  OutlineRows(view, cover, glyph, x, y, colour, w, limit, GlyphKernelsFor(level));
}

}  // namespace kest
