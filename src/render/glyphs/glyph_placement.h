#pragma once
// What the glyph routines share: reading a glyph's mask rows, placing the mask under a limit
// (positions may be anywhere in 32 bits; the arithmetic is done in 64), and the depths drawn.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/glyphs/font_pixel.h"
#include "render/row_engine.h"

namespace kest {

// Only 15/16- and 32-bit pictures take glyphs; coverage surfaces are 8-bit.
inline bool TakesGlyphs(const TCustomDIBX& dst) {
  const int bits = dst.BitCount();
  return bits == 15 || bits == 16 || bits == 32;
}
inline bool IsCoverage(const TCustomDIBX& surface) { return surface.BitCount() == 8; }

// Read-only rows of a glyph mask, top-down. The mask is a memory surface whose pixel address is
// not const; nothing here writes through it.
class MaskRows {
 public:
  explicit MaskRows(const TFontPixel& glyph)
      : origin_(const_cast<TDIBX&>(glyph.mask).PixelAddress(0, 0)), pitch_(glyph.mask.Pitch()) {}
  const std::uint8_t* Row(std::int32_t y) const { return origin_ + static_cast<std::ptrdiff_t>(y) * pitch_; }

 private:
  const std::uint8_t* origin_;
  std::ptrdiff_t pitch_;
};

// A glyph with an 8-bit mask that has pixels.
inline bool HasDrawableMask(const TFontPixel& glyph) { return glyph.HasMask() && glyph.mask.BitCount() == 8; }

inline Rect MaskBounds(const TFontPixel& glyph) { return {0, 0, glyph.mask.Width(), glyph.mask.Height()}; }

// The mask placed with its top-left at (x, y) and cut by `limit`: `dst` is the part drawn and
// (src_x, src_y) the mask pixel at its top-left. Nothing when no pixel remains.
inline std::optional<Placement> PlaceMask(const TFontPixel& glyph, std::int64_t x, std::int64_t y, const Rect& limit) {
  if (!HasDrawableMask(glyph)) return std::nullopt;
  const Rect bounds = MaskBounds(glyph);
  return PlaceSource(x, y, bounds, Flip::None, limit, bounds);
}

// The limit of a draw onto a picture with its coverage: the picture's clip limit, and never
// outside the coverage surface.
inline Rect LayerLimit(const TCustomDIBX& dst, const TCustomDIBX& coverage) {
  return Intersect(dst.ClipLimit(), coverage.Bounds());
}

// A rectangle given in 64-bit edges, cut by `limit` (so it fits 32 bits); empty when nothing is left.
inline Rect ClampedRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, const Rect& limit) {
  const std::int64_t l = std::max<std::int64_t>(left, limit.left), t = std::max<std::int64_t>(top, limit.top);
  const std::int64_t r = std::min<std::int64_t>(right, limit.right), b = std::min<std::int64_t>(bottom, limit.bottom);
  if (r <= l || b <= t) return {};
  return {static_cast<std::int32_t>(l), static_cast<std::int32_t>(t), static_cast<std::int32_t>(r),
          static_cast<std::int32_t>(b)};
}

// The smallest rectangle holding both; an empty one adds nothing.
inline Rect UnionRect(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? Rect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace kest
