#pragma once
// TKestCustomImage, the base of the picture kinds: an own surface and a borrowed one (a cache
// frame, a video frame), two mask slots, and how the picture is placed and drawn: zoom, flips,
// rotation in 256ths of a turn, opacity by the alpha convention (0 or less nothing, 1-254
// blended, 255 opaque, 256-511 added with alpha - 256), and a hit test that can follow the mask.
//
// The shown size follows the picture (surface size x zoom / 256) unless a script writes
// PR_WIDTH or PR_HEIGHT: that axis then keeps the written size, the picture is stretched into
// it, and the anchor and the mask hit test map through shown size / surface size. A zoom write
// on that axis, or a size of 0 or less, goes back to following the picture.

#include <array>
#include <memory>
#include <optional>

#include "objects/object.h"
#include "render/dibx.h"

namespace kest {

class TKestCustomImage : public TKestControl {
 public:
  TKestCustomImage(TKestBaseList& owner, std::uint8_t kind);
  ~TKestCustomImage() override;

  // The surface drawn: the kind's current frame, else the borrowed one when set, else the own
  // one (none before it is made).
  TCustomDIBX* GetSurface() const;
  TCustomDIBX* PictureSurface() const override { return GetSurface(); }
  // The second mask slot when set, else the first.
  TCustomDIBX* GetMask() const;

  // The image's own surface, made empty at 32 bits on first use. A snapshot or a picture drawn
  // by the player goes here; it shows whenever nothing is borrowed.
  TDIBX& OwnSurface();
  void DropOwnSurface() { own_.reset(); }
  // A surface (and its mask) owned elsewhere, shown instead of the own one; none clears it. The
  // size follows the new picture.
  void SetBorrowed(TCustomDIBX* surface, TCustomDIBX* mask);
  void SetSecondMask(TCustomDIBX* mask);

  std::int32_t Alpha() const { return alpha_; }
  std::int32_t Angle() const { return angle_; }
  std::int32_t ZoomXValue() const override { return zoom_[0]; }
  std::int32_t ZoomYValue() const override { return zoom_[1]; }
  bool FlipHValue() const override { return flip_[0]; }
  bool FlipVValue() const override { return flip_[1]; }
  bool SizeDirty() const { return size_dirty_; }
  void SetSizeDirty() { size_dirty_ = true; }
  // Whether an axis keeps a size written by a script (0: x, 1: y).
  bool HasExplicitSize(int axis) const { return explicit_[static_cast<std::size_t>(axis)] > 0; }

  std::int64_t GetScreenLeft() const override;
  std::int64_t GetScreenTop() const override;
  // Rotated: the bounding box of the turned, zoomed and flipped picture about its anchor.
  Rect GetScreenRect() const override;
  // The rectangle of the picture before rotation.
  Rect PlainScreenRect() const;
  TKestControl* HitTest(std::int64_t x, std::int64_t y, MouseModes modes) override;

  // Before a display-mode change: the own surface goes and the borrowed one is dropped. After
  // it: a new own surface of 1 x 1 and the current frame borrowed again.
  virtual void ReleaseSurfaces();
  virtual void RestoreSurfaces();

  // Recomputes the size from the picture now when it is due (creation does this before the
  // position is applied).
  void SizeIfDirty();
  bool Update(std::int32_t frame_time) override;

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  void PaintSelf(TCustomDIBX& target) override;
  std::int64_t AnchorTermX() const override;
  std::int64_t AnchorTermY() const override;
  // Width and height from the shown surface and the zooms (the axes with an explicit size keep
  // it); a picture with a motion attached keeps its size.
  void SizeFromPicture();
  // After loading, once the kind showed its picture: an axis whose saved size differs from the
  // picture's keeps the saved size.
  void AdoptLoadedSize();
  // Whether width and height follow the picture (a tile's are the area it covers).
  virtual bool SizeFollowsPicture() const { return true; }
  // The frame a kind shows from its own frame list, found anew on every use (the cache may
  // reload its pictures); none when the kind shows no frame or its surfaces are released.
  virtual TCustomDIBX* ShownFrame() const { return nullptr; }
  virtual TCustomDIBX* ShownFrameMask() const { return nullptr; }
  bool SurfacesReleased() const { return surfaces_released_; }
  // A surface offset (a distance in picture pixels) as shown on the screen, and back.
  std::int64_t ToShown(std::int64_t value, int axis) const;
  std::int64_t ToPicture(std::int64_t value, int axis) const;

 private:
  // The screen position when PosZoomed maps the edges through the parent's picture.
  std::optional<std::int64_t> MappedScreenPos(int axis) const;
  std::optional<std::int64_t> MappedDivisor(int axis) const;
  std::int32_t PictureExtent(int axis) const;
  void SetZoom(int axis, std::int32_t value);
  void SetFlip(int axis, bool value);
  void SetExplicitSize(int axis, std::int32_t value);
  void MarkPosZoomedSizesDirty();
  // The rotation of a turned draw about the anchor (angle in the low 8 bits).
  RotateZoom Rotation() const;
  bool Rotated() const { return (angle_ & 0xFF) != 0; }
  bool MaskAllows(std::int64_t x, std::int64_t y);

  std::unique_ptr<TDIBX> own_;
  TCustomDIBX* borrowed_ = nullptr;
  TCustomDIBX* borrowed_mask_ = nullptr;
  TCustomDIBX* second_mask_ = nullptr;
  std::int32_t alpha_ = 255;
  std::array<std::int32_t, 2> zoom_{256, 256};
  std::int32_t angle_ = 0;
  std::array<bool, 2> flip_{false, false};
  bool capture_mask_ = false;
  bool size_dirty_ = false;
  std::array<std::int32_t, 2> explicit_{0, 0};  // a size written by a script, 0: none
  std::array<std::int32_t, 2> loaded_size_{0, 0};
  bool surfaces_released_ = false;
};

}  // namespace kest
