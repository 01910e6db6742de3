#pragma once
// TDIBXWave: a proxy with no pixels of its own. Callers draw on it in its target's coordinates;
// it covers the target's rows top to top + height - 1 and columns left to left + width - 1, and
// shifts each destination row right by that row's entry of RowOffsets. Every drawing operation is
// forwarded in bands of consecutive rows with equal offsets: for each band the target's clip is
// narrowed to the band (shifted by its offset, within the target's own limit and the proxy's
// clip) and the same operation runs on the target, moved right by the offset. A band that the
// clip leaves empty draws nothing.

#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace kest {

class TDIBXWave : public TCustomDIBX {
 public:
  TDIBXWave(TCustomDIBX& target, std::int32_t left, std::int32_t top) : target_(&target), left_(left), top_(top) {}

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  int BitCount() const override { return target_->BitCount(); }
  int StoreBitCount() const override { return target_->StoreBitCount(); }
  void SetBitCount(int) override {}
  std::int32_t Pitch() const override { return target_->Pitch(); }
  std::uint8_t* PixelAddress(std::int32_t, std::int32_t) override { return nullptr; }  // no pixels of its own
  // Sizes the proxy and its offset table (new rows get offset 0); the bit count is the target's.
  void SetSize(std::int32_t width, std::int32_t height, int bit_count) override;
  void Clear() override { SetSize(0, 0, 0); }
  TCustomDIBX* Target() override { return target_; }
  std::int32_t ColorToPixel(std::int32_t colour) const override { return target_->ColorToPixel(colour); }
  Rect Bounds() const override { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetOrigin(std::int32_t left, std::int32_t top) { left_ = left, top_ = top; }

  // One horizontal offset per proxy row.
  std::vector<std::int32_t> row_offsets;

  // Clamps to the proxy's area, keeps its own union and passes the union on to the target.
  void ResetClip() override;
  void AddClipRect(const Rect& r) override;

  void FillRect(const Rect& r, std::uint32_t colour) override;
  void FillRectAlpha(const Rect& r, std::uint32_t colour, int alpha) override;
  void FillRectAdd(const Rect& r, std::uint32_t colour) override;
  void FillRectSub(const Rect& r, std::uint32_t colour) override;
  void Fill(std::uint32_t colour) override { FillRect(Bounds(), colour); }
  void Draw(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, Flip flip, Keyed key) override;
  void DrawAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int alpha, Flip flip,
                 Keyed key) override;
  void DrawAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int level, Flip flip) override;
  void DrawMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                Flip flip) override;
  void DrawMaskAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                     int alpha, Flip flip) override;
  void DrawMaskAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int level,
                   Flip flip) override;
  void DrawColorMask(std::int32_t x, std::int32_t y, TCustomDIBX& mask, const Rect& src, std::uint32_t colour,
                     int alpha, Flip flip) override;
  void DrawRotate(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, const RotateZoom& rotate,
                  int combined, Flip flip, Keyed key) override;
  void DrawRotateMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                      const RotateZoom& rotate, int combined, Flip flip) override;
  void StretchDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, int alpha, Flip flip, Keyed key) override;
  void StretchDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int alpha,
                       Flip flip) override;
  void StretchDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, int level, Flip flip, Keyed key) override;
  void StretchDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int level,
                          Flip flip) override;
  void DrawMonoGlyph(std::int32_t x, std::int32_t y, int n, int alpha, std::uint32_t colour, const PackedPixels& source,
                     const Rect& src, Flip flip) override;
  void DrawGlyph4(std::int32_t x, std::int32_t y, int n, int combined, const GlyphColours& colours,
                  const PackedPixels& source, const Rect& src, Flip flip) override;
  void DrawPalette4(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int combined,
                    const PackedPixels& source, const Rect& src, Flip flip) override;
  void DrawPalette8(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int level,
                    TCustomDIBX& source, const Rect& src, Flip flip) override;
  void StretchPalette4(const Rect& dst, const PackedPixels& source, const Rect& src,
                       std::span<const std::uint32_t> palette, int combined, Flip flip) override;
  void TileStretch(const Rect& dst, TCustomDIBX& source, const TileStretchPlacement& placement, int combined, Flip flip,
                   Keyed key) override;
  void TileStretchMask(const Rect& dst, TCustomDIBX& source, TCustomDIBX& mask, const TileStretchPlacement& placement,
                       int combined, Flip flip) override;
  void TileFill(const Rect& dst, TCustomDIBX& source, std::int32_t offset_x, std::int32_t offset_y, Flip flip) override;

 private:
  // Runs draw(offset) once per band with the target's clip narrowed to the band.
  template <typename DrawBand>
  void ForBands(DrawBand draw);

  TCustomDIBX* target_;
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace kest
