// The surface basics: format queries, single pixels, the clip rectangle, fills and frames.

#include "render/surface.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <vector>

#include "render/row_engine.h"
#include "render/row_kernels.h"

namespace kest {

void TCustomDIBX::GetPaletteEntries(std::span<std::uint32_t> out, int) const { std::fill(out.begin(), out.end(), 0u); }
void TCustomDIBX::SetPaletteEntries(std::span<const std::uint32_t>, int) {}

std::uint32_t TCustomDIBX::RedMask() const {
  switch (BitCount()) {
    case 15: return 0x7C00;
    case 16: return 0xF800;
    case 8: return 0;
    default: return 0x00FF0000;
  }
}
std::uint32_t TCustomDIBX::GreenMask() const {
  switch (BitCount()) {
    case 15: return 0x03E0;
    case 16: return 0x07E0;
    case 8: return 0;
    default: return 0x0000FF00;
  }
}
std::uint32_t TCustomDIBX::BlueMask() const {
  switch (BitCount()) {
    case 15:
    case 16: return 0x001F;
    case 8: return 0;
    default: return 0x000000FF;
  }
}
int TCustomDIBX::GreenShift() const { return std::popcount(BlueMask()); }
int TCustomDIBX::RedShift() const { return std::popcount(BlueMask()) + std::popcount(GreenMask()); }

std::uint32_t TCustomDIBX::GetPixel(std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  SurfaceView view(*this);
  return view.Ok() ? view.Get(x, y) : 0;
}

void TCustomDIBX::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t colour) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  SurfaceView view(*this);
  if (view.Ok()) view.Format().Store(view.At(x, y), colour);
}

void TCustomDIBX::ResetClip() { clip_ = {}; }

void TCustomDIBX::AddClipRect(const Rect& r) {
  const Rect clamped = Intersect(r, Bounds());
  if (clamped.IsEmpty()) return;
  if (!clip_.active) {
    clip_ = {clamped, true};
    return;
  }
  clip_.rect = {std::min(clip_.rect.left, clamped.left), std::min(clip_.rect.top, clamped.top),
                std::max(clip_.rect.right, clamped.right), std::max(clip_.rect.bottom, clamped.bottom)};
}

Rect TCustomDIBX::ClipLimit() const { return clip_.active ? Intersect(clip_.rect, Bounds()) : Bounds(); }

namespace {

void FillWith(TCustomDIBX& surface, const Rect& r, const RowOp& op) {
  const Rect area = Intersect(r, surface.ClipLimit());
  if (area.IsEmpty()) return;
  SurfaceView view(surface);
  if (!view.Ok()) return;
  // A fill of whole rows of a 32-bit surface whose rows follow each other without padding is
  // one run of pixels from the lowest row address on.
  if (op.kind == RowOpKind::Fill && view.Format().bytes_per_pixel == 4 && area.left == 0 &&
      area.right == surface.Width() && area.Height() > 1) {
    std::uint8_t* first = view.At(0, area.top);
    std::uint8_t* second = view.At(0, area.top + 1);
    const std::ptrdiff_t pitch = second - first;
    if (pitch == std::ptrdiff_t{4} * area.Width() || pitch == -std::ptrdiff_t{4} * area.Width()) {
      std::uint8_t* lowest = pitch > 0 ? first : view.At(0, area.bottom - 1);
      ActiveKernels().fill(reinterpret_cast<std::uint32_t*>(lowest),
                           static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height()), op.colour);
      return;
    }
  }
  std::vector<std::uint32_t> scratch;
  for (std::int32_t y = area.top; y < area.bottom; ++y)
    ApplyRow(view.Format(), view.At(area.left, y), nullptr, nullptr, area.Width(), op, scratch);
}

RowOp FillOp(RowOpKind kind, std::uint32_t colour, int amount = 0) {
  RowOp op;
  op.kind = kind;
  op.colour = colour;
  op.amount = amount;
  return op;
}

}  // namespace

// Like every drawing operation, Fill stays within the clip limit.
void TCustomDIBX::Fill(std::uint32_t colour) { FillRect(Bounds(), colour); }

void TCustomDIBX::FillRect(const Rect& r, std::uint32_t colour) { FillWith(*this, r, FillOp(RowOpKind::Fill, colour)); }

void TCustomDIBX::FillRectAlpha(const Rect& r, std::uint32_t colour, int alpha) {
  if (alpha <= 0) return;
  FillWith(*this, r, FillOp(RowOpKind::FillAlpha, colour, std::min(alpha, 255)));
}

void TCustomDIBX::FillRectAdd(const Rect& r, std::uint32_t colour) { FillWith(*this, r, FillOp(RowOpKind::FillAdd, colour)); }
void TCustomDIBX::FillRectSub(const Rect& r, std::uint32_t colour) { FillWith(*this, r, FillOp(RowOpKind::FillSub, colour)); }

namespace {

// The four bands of a frame of width w: top and bottom across the whole width, left and right
// between them only when something is left between the two.
// Coordinates are computed in 64 bits and saturated, so no width can overflow them.
template <typename FillBand>
void FrameBands(const Rect& r, std::int32_t w, FillBand fill) {
  if (w <= 0) return;
  const auto at = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  const std::int64_t l = r.left, t = r.top, rr = r.right, b = r.bottom;
  fill(Rect{r.left, r.top, r.right, at(t + w)});
  fill(Rect{r.left, at(b - w), r.right, r.bottom});
  if (b - t - 2 * static_cast<std::int64_t>(w) > 0) {
    fill(Rect{r.left, at(t + w), at(l + w), at(b - w)});
    fill(Rect{at(rr - w), at(t + w), r.right, at(b - w)});
  }
}

}  // namespace

void TCustomDIBX::FrameRect(const Rect& r, std::int32_t width, std::uint32_t colour) {
  FrameBands(r, width, [&](const Rect& band) { FillRect(band, colour); });
}

void TCustomDIBX::FrameRectAlpha(const Rect& r, std::int32_t width, int alpha, std::uint32_t colour) {
  if (alpha == 0) return;
  FrameBands(r, width, [&](const Rect& band) { FillRectAlpha(band, colour, alpha); });
}

void TCustomDIBX::FrameRectAdd(const Rect& r, std::int32_t width, std::uint32_t colour) {
  FrameBands(r, width, [&](const Rect& band) { FillRectAdd(band, colour); });
}

}  // namespace kest
