#pragma once
// TCustomDIBX: the abstract surface. A concrete surface provides size, format and pixel access;
// every drawing operation is implemented here once on top of those, with the 32-bit rows going
// through the vector kernels (row_kernels.h) and other depths through the per-channel formulas.
//
// Colours passed to drawing operations are native pixel values of the destination (see
// ColorToPixel). Rectangles are half-open. A source rectangle names part of the source in the
// source's own coordinates; the parts of it that lie outside the source (or outside a mask) are
// never read.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "render/geometry.h"
#include "render/pixel_format.h"

namespace kest {

// The largest side a surface may have; bigger sizes are refused before anything is allocated.
inline constexpr std::int32_t kMaxSurfaceSide = 32767;

// The clip rectangle with an explicit active flag: an active clip may be empty (a narrowed clip
// that covers nothing draws nothing), which "right != 0" could not express.
struct ClipState {
  Rect rect;
  bool active = false;
};

// Rotation and zoom of DrawRotate: angle in 256ths of a full turn (positive turns clockwise on
// screen), pivot measured from the source rectangle's top-left, zooms in 256ths.
struct RotateZoom {
  std::int32_t angle = 0;
  std::int32_t pivot_x = 0;
  std::int32_t pivot_y = 0;
  std::int32_t zoom_x = 256;
  std::int32_t zoom_y = 256;
};

// Offsets and gaps of the tile-by-copies family.
struct TileSpacing {
  std::int32_t offset_x = 0;
  std::int32_t offset_y = 0;
  std::int32_t gap_x = 0;
  std::int32_t gap_y = 0;
};

// The grid of TileZoom: cell pitch in source pixels (scaled by the zoom), offsets and zooms.
struct TileZoomGrid {
  std::int32_t offset_x = 0;
  std::int32_t offset_y = 0;
  std::int32_t pitch_x = 0;
  std::int32_t pitch_y = 0;
  std::int32_t zoom_x = 256;
  std::int32_t zoom_y = 256;
};

// TileStretch: the whole source repeated, scaled by zoom / 256, shifted by the offsets.
struct TileStretchPlacement {
  std::int32_t offset_x = 0;
  std::int32_t offset_y = 0;
  std::int32_t zoom_x = 256;
  std::int32_t zoom_y = 256;
};

// Pixels packed below a byte (1 or 4 bits), rows top-down, as glyph rasterisation produces them.
// Within a byte the leftmost pixel is in the highest bits.
struct PackedPixels {
  std::span<const std::uint8_t> bytes;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t row_bytes = 0;
  int bits_per_pixel = 1;                // 1 or 4
  std::int32_t transparent_index = -1;  // palette draws skip this index; -1: none

  Rect Bounds() const { return {0, 0, width, height}; }
  // The value of pixel (x, y); 0 outside the picture or the bytes.
  std::uint32_t At(std::int32_t x, std::int32_t y) const;
};

struct GlyphColours {
  std::uint32_t k1 = 0;
  std::uint32_t k2 = 0;
  std::uint32_t k3 = 0;
};

class TCustomDIBX {
 public:
  TCustomDIBX() = default;
  TCustomDIBX(const TCustomDIBX&) = delete;
  TCustomDIBX& operator=(const TCustomDIBX&) = delete;
  virtual ~TCustomDIBX() = default;

  // ---- primitives of a concrete surface
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  virtual int BitCount() const = 0;        // 8, 15, 16, 24 or 32
  virtual int StoreBitCount() const = 0;   // 16 for both 15 and 16
  virtual void SetBitCount(int bit_count) = 0;
  virtual std::int32_t Pitch() const = 0;  // signed row stride in bytes
  // The address of pixel (x, y), or nullptr when the memory cannot be locked. Rows outside the
  // surface raise KestError (drawing operations clip first, so only direct callers meet it).
  virtual std::uint8_t* PixelAddress(std::int32_t x, std::int32_t y) = 0;
  virtual void Unlock() {}
  virtual void SetSize(std::int32_t width, std::int32_t height, int bit_count) = 0;
  virtual void Clear() = 0;
  virtual TCustomDIBX* Target() { return nullptr; }
  virtual void GetPaletteEntries(std::span<std::uint32_t> out, int first) const;
  virtual void SetPaletteEntries(std::span<const std::uint32_t> entries, int first);

  bool IsEmpty() const { return Width() == 0 || Height() == 0; }
  std::uint32_t RedMask() const;
  std::uint32_t GreenMask() const;
  std::uint32_t BlueMask() const;
  int BlueShift() const { return 0; }
  int GreenShift() const;
  int RedShift() const;
  const PixelFormat& Format() const { return FormatFor(BitCount()); }
  // The area drawing is limited to when no clip is active (a proxy answers its area in its
  // target's coordinates).
  virtual Rect Bounds() const { return {0, 0, Width(), Height()}; }

  std::uint32_t GetPixel(std::int32_t x, std::int32_t y);  // 0 outside
  void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t colour);  // ignored outside
  virtual std::int32_t ColorToPixel(std::int32_t colour) const { return ColorToNative(BitCount(), colour); }

  // ---- clipping
  virtual void ResetClip();
  virtual void AddClipRect(const Rect& r);
  // The limit every drawing operation takes: the clip when active, else the whole surface.
  Rect ClipLimit() const;
  const ClipState& Clip() const { return clip_; }
  // Replaces the clip wholesale (the tiling operations narrow it and restore it afterwards). An
  // active empty rectangle is kept: it makes every draw do nothing.
  void SetClip(const ClipState& clip) { clip_ = clip; }

  std::int32_t transparent_color = -1;  // native value that keyed draws skip; -1: none
  std::vector<Rect> region_rects;       // visible areas copied from a layered image frame
  std::vector<Rect> second_rects;       // kept, not interpreted

  // ---- fills
  virtual void Fill(std::uint32_t colour);
  virtual void FillRect(const Rect& r, std::uint32_t colour);
  virtual void FillRectAlpha(const Rect& r, std::uint32_t colour, int alpha);
  virtual void FillRectAdd(const Rect& r, std::uint32_t colour);
  virtual void FillRectSub(const Rect& r, std::uint32_t colour);
  void FrameRect(const Rect& r, std::int32_t width, std::uint32_t colour);
  void FrameRectAlpha(const Rect& r, std::int32_t width, int alpha, std::uint32_t colour);
  void FrameRectAdd(const Rect& r, std::int32_t width, std::uint32_t colour);

  // ---- copies and blends
  void Assign(TCustomDIBX& source);
  virtual void Draw(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, Flip flip = Flip::None,
                    Keyed key = Keyed::No);
  virtual void DrawAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int alpha,
                         Flip flip = Flip::None, Keyed key = Keyed::No);
  // Always skips the source's transparent colour (when it is not -1).
  virtual void DrawAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int level,
                       Flip flip = Flip::None);
  virtual void DrawMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                        Flip flip = Flip::None);
  virtual void DrawMaskAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                             TCustomDIBX& mask, int alpha, Flip flip = Flip::None);
  virtual void DrawMaskAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                           int level, Flip flip = Flip::None);
  virtual void DrawColorMask(std::int32_t x, std::int32_t y, TCustomDIBX& mask, const Rect& src,
                             std::uint32_t colour, int alpha, Flip flip = Flip::None);
  // A combined value 0-511: 0 nothing, 1-254 blend, 255 copy, 256-511 add with level value & 255.
  void DrawCombined(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int combined,
                    Flip flip = Flip::None, Keyed key = Keyed::No);

  // ---- rotation with zoom
  virtual void DrawRotate(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                          const RotateZoom& rotate, int combined, Flip flip = Flip::None, Keyed key = Keyed::No);
  virtual void DrawRotateMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                              TCustomDIBX& mask, const RotateZoom& rotate, int combined, Flip flip = Flip::None);

  // ---- scaled draws
  virtual void StretchDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, int alpha, Flip flip = Flip::None,
                           Keyed key = Keyed::No);
  virtual void StretchDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask, int alpha,
                               Flip flip = Flip::None);
  virtual void StretchDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, int level,
                              Flip flip = Flip::None, Keyed key = Keyed::No);
  virtual void StretchDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                                  int level, Flip flip = Flip::None);

  // ---- glyphs and palettes
  // An n-times oversampled 1-bit glyph: each destination pixel covers an n x n block of bits,
  // and its coverage is the number of 0 bits in the block.
  virtual void DrawMonoGlyph(std::int32_t x, std::int32_t y, int n, int alpha, std::uint32_t colour,
                             const PackedPixels& source, const Rect& src, Flip flip = Flip::None);
  // An n-times oversampled 4-bit glyph whose samples select colour class 0 (empty) to 3.
  virtual void DrawGlyph4(std::int32_t x, std::int32_t y, int n, int combined, const GlyphColours& colours,
                          const PackedPixels& source, const Rect& src, Flip flip = Flip::None);
  virtual void DrawPalette4(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int combined,
                            const PackedPixels& source, const Rect& src, Flip flip = Flip::None);
  virtual void DrawPalette8(std::int32_t x, std::int32_t y, std::span<const std::uint32_t> palette, int level,
                            TCustomDIBX& source, const Rect& src, Flip flip = Flip::None);
  virtual void StretchPalette4(const Rect& dst, const PackedPixels& source, const Rect& src,
                               std::span<const std::uint32_t> palette, int combined, Flip flip = Flip::None);

  // ---- tiling
  void TileDraw(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing,
                Keyed key = Keyed::No);
  void TileDrawAlpha(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing, int alpha,
                     Keyed key = Keyed::No);
  void TileDrawAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileSpacing& spacing, int level);
  void TileDrawMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                    const TileSpacing& spacing);
  void TileDrawMaskAlpha(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                         const TileSpacing& spacing, int alpha);
  void TileDrawMaskAdd(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                       const TileSpacing& spacing, int level);
  void TileZoom(const Rect& dst, TCustomDIBX& source, const Rect& src, const TileZoomGrid& grid, int combined,
                Flip flip = Flip::None, Keyed key = Keyed::No);
  void TileZoomMask(const Rect& dst, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                    const TileZoomGrid& grid, int combined, Flip flip = Flip::None);
  virtual void TileStretch(const Rect& dst, TCustomDIBX& source, const TileStretchPlacement& placement, int combined,
                           Flip flip = Flip::None, Keyed key = Keyed::No);
  virtual void TileStretchMask(const Rect& dst, TCustomDIBX& source, TCustomDIBX& mask,
                               const TileStretchPlacement& placement, int combined, Flip flip = Flip::None);
  virtual void TileFill(const Rect& dst, TCustomDIBX& source, std::int32_t offset_x, std::int32_t offset_y,
                        Flip flip = Flip::None);
  void FrameTile(const Rect& r, std::int32_t width, TCustomDIBX& source, std::int32_t offset_x,
                 std::int32_t offset_y);

  // ---- files (image_io.cpp)
  // Only an existing file with an extension DecodeImageByName knows (".png", ".bmp", ".dib",
  // ".gif", ".tga", ".ico", ".cur", ".ani", any case) is read; other names leave the surface
  // unchanged. Decoding errors raise FormatError.
  void LoadFromFile(const std::string& path);
  // Windows bitmap ("BM"), PNG, GIF, JPEG (FF D8 FF), or the layered image format ("Zelk",
  // through the registered loader, which reads only the first frame). The surface keeps its bit
  // count and takes the picture's size. Returns false (and
  // leaves the surface unchanged) for data in none of these formats.
  bool LoadFromStream(ByteSpan data, std::int32_t identification = 0, const std::string& name = {});
  // Only for ".bmp": the surface as a 24-bit bitmap, written atomically.
  void SaveToFile(const std::string& path);

 private:
  ClipState clip_;
};

// Scope that restores a surface's clip state when it ends (tiling narrows the clip meanwhile).
class ClipRestorer {
 public:
  explicit ClipRestorer(TCustomDIBX& surface) : surface_(surface), saved_(surface.Clip()) {}
  ~ClipRestorer() { surface_.SetClip(saved_); }
  ClipRestorer(const ClipRestorer&) = delete;
  ClipRestorer& operator=(const ClipRestorer&) = delete;

 private:
  TCustomDIBX& surface_;
  ClipState saved_;
};

}  // namespace kest
