#include "render/wave_surface.h"

#include <algorithm>
#include <climits>

#include "core/errors.h"

namespace kest {

namespace {

std::int32_t Saturate(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

Rect Shifted(const Rect& r, std::int32_t dx) {
  return {Saturate(std::int64_t{r.left} + dx), r.top, Saturate(std::int64_t{r.right} + dx), r.bottom};
}

}  // namespace

void TDIBXWave::SetSize(std::int32_t width, std::int32_t height, int) {
  if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    throw KestError("proxy size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range");
  width_ = width;
  height_ = height;
  row_offsets.resize(static_cast<std::size_t>(height), 0);
}

void TDIBXWave::ResetClip() {
  TCustomDIBX::ResetClip();
  target_->ResetClip();
}

void TDIBXWave::AddClipRect(const Rect& r) {
  TCustomDIBX::AddClipRect(r);
  if (Clip().active) target_->AddClipRect(Clip().rect);
}

template <typename DrawBand>
void TDIBXWave::ForBands(DrawBand draw) {
  const Rect limit = ClipLimit();
  if (limit.IsEmpty()) return;
  ClipRestorer restore(*target_);
  const Rect target_limit = target_->ClipLimit();
  row_offsets.resize(static_cast<std::size_t>(height_), 0);
  std::int32_t row = 0;
  while (row < height_) {
    const std::int32_t offset = row_offsets[static_cast<std::size_t>(row)];
    std::int32_t end = row + 1;
    while (end < height_ && row_offsets[static_cast<std::size_t>(end)] == offset) ++end;
    Rect band = limit;
    band.top = std::max(limit.top, Saturate(std::int64_t{top_} + row));
    band.bottom = std::min(limit.bottom, Saturate(std::int64_t{top_} + end));
    if (!band.IsEmpty()) {
      target_->SetClip({Intersect(Shifted(band, offset), target_limit), true});
      draw(offset);
    }
    row = end;
  }
}

void TDIBXWave::FillRect(const Rect& r, std::uint32_t colour) {
  ForBands([&](std::int32_t dx) { target_->FillRect(Shifted(r, dx), colour); });
}
void TDIBXWave::FillRectAlpha(const Rect& r, std::uint32_t colour, int alpha) {
  ForBands([&](std::int32_t dx) { target_->FillRectAlpha(Shifted(r, dx), colour, alpha); });
}
void TDIBXWave::FillRectAdd(const Rect& r, std::uint32_t colour) {
  ForBands([&](std::int32_t dx) { target_->FillRectAdd(Shifted(r, dx), colour); });
}
void TDIBXWave::FillRectSub(const Rect& r, std::uint32_t colour) {
  ForBands([&](std::int32_t dx) { target_->FillRectSub(Shifted(r, dx), colour); });
}
void TDIBXWave::Draw(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, Flip flip, Keyed key) {
  ForBands([&](std::int32_t dx) { target_->Draw(Saturate(std::int64_t{x} + dx), y, source, src, flip, key); });
}
void TDIBXWave::DrawAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int alpha, Flip flip,
                          Keyed key) {
  ForBands([&](std::int32_t dx) { target_->DrawAlpha(Saturate(std::int64_t{x} + dx), y, source, src, alpha, flip, key); });
}
void TDIBXWave::DrawAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int level, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawAdd(Saturate(std::int64_t{x} + dx), y, source, src, level, flip); });
}
void TDIBXWave::DrawMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                         Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawMask(Saturate(std::int64_t{x} + dx), y, source, src, mask, flip); });
}
void TDIBXWave::DrawMaskAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                              int alpha, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawMaskAlpha(Saturate(std::int64_t{x} + dx), y, source, src, mask, alpha, flip); });
}
void TDIBXWave::DrawMaskAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                            int level, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawMaskAdd(Saturate(std::int64_t{x} + dx), y, source, src, mask, level, flip); });
}
void TDIBXWave::DrawColorMask(std::int32_t x, std::int32_t y, TCustomDIBX& mask, const Rect& src, std::uint32_t colour,
                              int alpha, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawColorMask(Saturate(std::int64_t{x} + dx), y, mask, src, colour, alpha, flip); });
}
void TDIBXWave::DrawRotate(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                           const RotateZoom& rotate, int combined, Flip flip, Keyed key) {
  ForBands([&](std::int32_t dx) {
    target_->DrawRotate(Saturate(std::int64_t{x} + dx), y, source, src, rotate, combined, flip, key);
  });
}
void TDIBXWave::DrawRotateMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                               const RotateZoom& rotate, int combined, Flip flip) {
  ForBands([&](std::int32_t dx) {
    target_->DrawRotateMask(Saturate(std::int64_t{x} + dx), y, source, src, mask, rotate, combined, flip);
  });
}
void TDIBXWave::StretchDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, int alpha, Flip flip, Keyed key) {
  ForBands([&](std::int32_t dx) { target_->StretchDraw(Shifted(dst, dx), source, src, alpha, flip, key); });
}
void TDIBXWave::StretchDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int alpha,
                                Flip flip) {
  ForBands([&](std::int32_t dx) { target_->StretchDrawMask(Shifted(dst, dx), source, src, mask, alpha, flip); });
}
void TDIBXWave::StretchDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, int level, Flip flip, Keyed key) {
  ForBands([&](std::int32_t dx) { target_->StretchDrawAdd(Shifted(dst, dx), source, src, level, flip, key); });
}
void TDIBXWave::StretchDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int level,
                                   Flip flip) {
  ForBands([&](std::int32_t dx) { target_->StretchDrawMaskAdd(Shifted(dst, dx), source, src, mask, level, flip); });
}
void TDIBXWave::DrawMonoGlyph(std::int32_t x, std::int32_t y, int n, int alpha, std::uint32_t colour,
                              const PackedPixels& source, const Rect& src, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawMonoGlyph(Saturate(std::int64_t{x} + dx), y, n, alpha, colour, source, src, flip); });
}
void TDIBXWave::DrawGlyph4(std::int32_t x, std::int32_t y, int n, int combined, const GlyphColours& colours,
                           const PackedPixels& source, const Rect& src, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawGlyph4(Saturate(std::int64_t{x} + dx), y, n, combined, colours, source, src, flip); });
}
void TDIBXWave::DrawPalette4(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int combined,
                             const PackedPixels& source, const Rect& src, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawPalette4(Saturate(std::int64_t{x} + dx), y, palette, combined, source, src, flip); });
}
void TDIBXWave::DrawPalette8(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int level,
                             TCustomDIBX& source, const Rect& src, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->DrawPalette8(Saturate(std::int64_t{x} + dx), y, palette, level, source, src, flip); });
}
void TDIBXWave::StretchPalette4(const Rect& dst, const PackedPixels& source, const Rect& src,
                                std::span<const std::uint32_t> palette, int combined, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->StretchPalette4(Shifted(dst, dx), source, src, palette, combined, flip); });
}
void TDIBXWave::TileStretch(const Rect& dst, TCustomDIBX& source, const TileStretchPlacement& placement, int combined,
                            Flip flip, Keyed key) {
  ForBands([&](std::int32_t dx) { target_->TileStretch(Shifted(dst, dx), source, placement, combined, flip, key); });
}
void TDIBXWave::TileStretchMask(const Rect& dst, TCustomDIBX& source, TCustomDIBX& mask,
                                const TileStretchPlacement& placement, int combined, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->TileStretchMask(Shifted(dst, dx), source, mask, placement, combined, flip); });
}
void TDIBXWave::TileFill(const Rect& dst, TCustomDIBX& source, std::int32_t offset_x, std::int32_t offset_y, Flip flip) {
  ForBands([&](std::int32_t dx) { target_->TileFill(Shifted(dst, dx), source, offset_x, offset_y, flip); });
}

}  // namespace kest
