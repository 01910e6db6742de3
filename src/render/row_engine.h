#pragma once
// The machinery every drawing operation shares: placing a source rectangle on the destination
// under the clip limit, addressing rows through the signed pitch, fetching source and mask rows
// (mirrored rows into scratch buffers), and applying one row operation at any depth.

#include <cstdint>
#include <optional>
#include <vector>

#include "render/geometry.h"
#include "render/pixel_format.h"
#include "render/surface.h"

namespace kest {

// Direct access to a surface's pixels for the length of one operation; unlocks when it ends.
class SurfaceView {
 public:
  explicit SurfaceView(TCustomDIBX& surface);
  ~SurfaceView();
  SurfaceView(const SurfaceView&) = delete;
  SurfaceView& operator=(const SurfaceView&) = delete;

  bool Ok() const { return origin_ != nullptr; }
  const PixelFormat& Format() const { return *format_; }
  std::uint8_t* At(std::int32_t x, std::int32_t y) const {
    return origin_ + static_cast<std::ptrdiff_t>(y) * pitch_ + static_cast<std::ptrdiff_t>(x) * format_->bytes_per_pixel;
  }
  std::uint32_t Get(std::int32_t x, std::int32_t y) const { return format_->Load(At(x, y)); }

 private:
  TCustomDIBX& surface_;
  const PixelFormat* format_;
  std::uint8_t* origin_ = nullptr;
  std::ptrdiff_t pitch_ = 0;
};

// A source rectangle placed on the destination: `dst` is the clipped destination rectangle;
// reading starts at (src_x, src_y) and steps by step_x per column and step_y per row.
struct Placement {
  Rect dst;
  std::int32_t src_x = 0;
  std::int32_t src_y = 0;
  std::int32_t step_x = 1;
  std::int32_t step_y = 1;
};

// Places source rectangle `src` at (x, y). The parts of `src` outside `readable` are dropped
// first (moving the destination with them), then the destination is cut by `limit`; each cut
// removes the same columns or rows from the source, from the opposite side when that axis is
// mirrored. Returns nothing when no pixel remains.
std::optional<Placement> PlaceSource(std::int64_t x, std::int64_t y, Rect src, Flip flip, const Rect& limit,
                                     const Rect& readable);

enum class RowOpKind { Copy, CopyKeyed, Blend, Add, Mask, MaskAlpha, MaskAdd, ColorMask, Fill, FillAlpha, FillAdd, FillSub };

struct RowOp {
  RowOpKind kind = RowOpKind::Copy;
  int amount = 0;           // alpha or level
  bool keyed = false;
  std::uint32_t key = 0;
  std::uint32_t colour = 0;  // fills and the colour mask
  // A destination of 8 bits or less adds d + s capped at 255, ignoring the level (DrawAdd).
  bool plain_add_on_bytes = false;

  bool UsesSource() const { return kind <= RowOpKind::MaskAdd; }
  bool UsesMask() const { return kind >= RowOpKind::Mask && kind <= RowOpKind::ColorMask; }
};

// The operation of a combined value 0-511 (see DrawCombined); nothing for 0.
std::optional<RowOp> CombinedOp(int combined, Keyed key, std::int32_t transparent_color);
// The mask family's operation of a combined value: 255 mask copy, below blend, above add.
std::optional<RowOp> CombinedMaskOp(int combined);

// One pixel of `op` on native values (the per-channel formulas); returns d when untouched.
std::uint32_t CombinePixel(const PixelFormat& format, std::uint32_t d, std::uint32_t s, std::uint32_t m, const RowOp& op);

// Applies `op` to n pixels at `d` (destination format `format`), with native source values `s`
// and mask values `m` where the operation takes them.
void ApplyRow(const PixelFormat& format, std::uint8_t* d, const std::uint32_t* s, const std::uint8_t* m, int n,
              const RowOp& op, std::vector<std::uint32_t>& scratch);

// n native values of a row starting at (x, y), stepping by `step` columns; points into the
// surface when it can (32-bit, forward), else fills `scratch`.
const std::uint32_t* FetchRow(const SurfaceView& view, std::int32_t x, std::int32_t y, std::int32_t step, int n,
                              std::vector<std::uint32_t>& scratch);
// The same for an 8-bit mask.
const std::uint8_t* FetchMaskRow(const SurfaceView& view, std::int32_t x, std::int32_t y, std::int32_t step, int n,
                                 std::vector<std::uint8_t>& scratch);

// Draws a placed source row by row with one operation (mask: an 8-bit surface of the source's
// coordinates, or nullptr).
// The views one draw works through: the destination, and the source and mask when given.
// Not Ok() when any surface given cannot be drawn.
struct DrawViews {
  DrawViews(TCustomDIBX& destination, TCustomDIBX* source, TCustomDIBX* mask);
  bool Ok() const { return dst.Ok() && (!src || src->Ok()) && (!mask || mask->Ok()); }
  SurfaceView dst;
  std::optional<SurfaceView> src, mask;
};

void BlitPlaced(TCustomDIBX& dst, const Placement& p, TCustomDIBX* source, TCustomDIBX* mask, const RowOp& op);

}  // namespace kest
