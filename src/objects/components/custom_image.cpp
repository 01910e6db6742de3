#include "objects/components/custom_image.h"

#include <algorithm>
#include <cmath>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "objects/components/motion.h"
#include "objects/property_table.h"
#include "objects/rect64.h"
#include "objects/scene_list.h"
#include "render/rotate.h"
#include "render/wave_surface.h"

namespace kest {

namespace {

Keyed KeyedOf(const TCustomDIBX& surface) { return surface.transparent_color != -1 ? Keyed::Yes : Keyed::No; }

bool Adds(std::int32_t alpha) { return alpha >= 256 && alpha <= 511; }

// One unscaled draw of `src` at (x, y) by the alpha convention: through the mask when there is
// one, else keyed when the surface has a transparent colour.
void DrawByAlpha(TCustomDIBX& target, std::int32_t x, std::int32_t y, TCustomDIBX& surface, TCustomDIBX* mask,
                 const Rect& src, std::int32_t alpha, Flip flip) {
  if (mask) {
    if (alpha == 255)
      target.DrawMask(x, y, surface, src, *mask, flip);
    else if (Adds(alpha))
      target.DrawMaskAdd(x, y, surface, src, *mask, alpha - 256, flip);
    else
      target.DrawMaskAlpha(x, y, surface, src, *mask, alpha, flip);
  } else if (alpha == 255) {
    target.Draw(x, y, surface, src, flip, KeyedOf(surface));
  } else if (Adds(alpha)) {
    target.DrawAdd(x, y, surface, src, alpha - 256, flip);
  } else {
    target.DrawAlpha(x, y, surface, src, alpha, flip, KeyedOf(surface));
  }
}

// The same, stretched into `dst`.
void StretchByAlpha(TCustomDIBX& target, const Rect& dst, TCustomDIBX& surface, TCustomDIBX* mask, const Rect& src,
                    std::int32_t alpha, Flip flip) {
  if (mask) {
    if (Adds(alpha))
      target.StretchDrawMaskAdd(dst, surface, src, *mask, alpha - 256, flip);
    else
      target.StretchDrawMask(dst, surface, src, *mask, alpha, flip);
  } else if (Adds(alpha)) {
    target.StretchDrawAdd(dst, surface, src, alpha - 256, flip, KeyedOf(surface));
  } else {
    target.StretchDraw(dst, surface, src, alpha, flip, KeyedOf(surface));
  }
}

std::int32_t Extent(const TCustomDIBX& surface, int axis) { return axis == 0 ? surface.Width() : surface.Height(); }

// n div d truncating, plus 1 when the remainder exceeds `threshold`.
std::int64_t DivideUp(std::int64_t n, std::int64_t d, std::int64_t threshold) {
  return n / d + (n % d > threshold ? 1 : 0);
}

}  // namespace

TKestCustomImage::TKestCustomImage(TKestBaseList& owner, std::uint8_t kind) : TKestControl(owner, kind) {}

TKestCustomImage::~TKestCustomImage() = default;

TCustomDIBX* TKestCustomImage::GetSurface() const {
  if (TCustomDIBX* frame = ShownFrame()) return frame;
  return borrowed_ ? borrowed_ : own_.get();
}

TCustomDIBX* TKestCustomImage::GetMask() const {
  if (second_mask_) return second_mask_;
  if (ShownFrame()) return ShownFrameMask();
  return borrowed_ ? borrowed_mask_ : nullptr;
}

TDIBX& TKestCustomImage::OwnSurface() {
  if (!own_) own_ = std::make_unique<TDIBX>();
  return *own_;
}

void TKestCustomImage::SetBorrowed(TCustomDIBX* surface, TCustomDIBX* mask) {
  Invalidate();
  borrowed_ = surface;
  borrowed_mask_ = surface ? mask : nullptr;
  SizeFromPicture();
  Invalidate();
}

void TKestCustomImage::SetSecondMask(TCustomDIBX* mask) {
  second_mask_ = mask;
  Invalidate();
}

std::int32_t TKestCustomImage::PictureExtent(int axis) const {
  const TCustomDIBX* surface = GetSurface();
  return surface ? Extent(*surface, axis) : 0;
}

std::int64_t TKestCustomImage::ToShown(std::int64_t value, int axis) const {
  const std::int32_t picture = PictureExtent(axis);
  if (HasExplicitSize(axis) && picture > 0) return value * (axis == 0 ? width_ : height_) / picture;
  const std::int32_t zoom = zoom_[static_cast<std::size_t>(axis)];
  return zoom == 256 ? value : value * zoom / 256;
}

std::int64_t TKestCustomImage::ToPicture(std::int64_t value, int axis) const {
  const std::int32_t shown = axis == 0 ? width_ : height_;
  if (HasExplicitSize(axis) && shown > 0) return value * PictureExtent(axis) / shown;
  return value * 256 / zoom_[static_cast<std::size_t>(axis)];
}

// ---- geometry

std::int64_t TKestCustomImage::AnchorTermX() const {
  const std::int64_t scaled = ToShown(offset_x_, 0);
  return flip_[0] ? std::int64_t{width_} - 1 - scaled : scaled;
}

std::int64_t TKestCustomImage::AnchorTermY() const {
  const std::int64_t scaled = ToShown(offset_y_, 1);
  return flip_[1] ? std::int64_t{height_} - 1 - scaled : scaled;
}

std::optional<std::int64_t> TKestCustomImage::MappedDivisor(int axis) const {
  // A PosZoomed picture inside a parent that shows a picture at the same zoom is placed in the
  // parent's picture pixels, mapped through the parent's picture-to-size ratio.
  if (!pos_zoomed_ || !parent_ || parent_->IsScreen() || motion_ || !GetSurface()) return std::nullopt;
  const TCustomDIBX* parent_picture = parent_->PictureSurface();
  if (!parent_picture) return std::nullopt;
  const std::int32_t parent_zoom = axis == 0 ? parent_->ZoomXValue() : parent_->ZoomYValue();
  const std::int32_t parent_size = axis == 0 ? parent_->Width() : parent_->Height();
  if (zoom_[static_cast<std::size_t>(axis)] != parent_zoom || parent_size <= 0) return std::nullopt;
  const double ratio = static_cast<double>(Extent(*parent_picture, axis)) / parent_size * 65536.0;
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::nearbyint(ratio)));
}

std::optional<std::int64_t> TKestCustomImage::MappedScreenPos(int axis) const {
  const std::optional<std::int64_t> d = MappedDivisor(axis);
  if (!d) return std::nullopt;
  const std::int64_t local = axis == 0 ? std::int64_t{left_} - offset_x_ : std::int64_t{top_} - offset_y_;
  std::int64_t n = local * 65536;
  if (flip_[static_cast<std::size_t>(axis)])
    n = (Extent(*parent_->PictureSurface(), axis) - local - PictureExtent(axis)) * 65536;
  const std::int64_t e = DivideUp(n, *d, 32767);
  if (axis == 0) return e + parent_->GetScreenLeft() - parent_->ScrollX() + plus_x_;
  return e + parent_->GetScreenTop() - parent_->ScrollY() + plus_y_;
}

std::int64_t TKestCustomImage::GetScreenLeft() const {
  if (const std::optional<std::int64_t> mapped = MappedScreenPos(0)) return *mapped;
  return TKestControl::GetScreenLeft();
}

std::int64_t TKestCustomImage::GetScreenTop() const {
  if (const std::optional<std::int64_t> mapped = MappedScreenPos(1)) return *mapped;
  return TKestControl::GetScreenTop();
}

Rect TKestCustomImage::PlainScreenRect() const { return MakeRect(GetScreenLeft(), GetScreenTop(), width_, height_); }

RotateZoom TKestCustomImage::Rotation() const {
  const std::int32_t w = PictureExtent(0), h = PictureExtent(1);
  // The zoom that maps the picture onto the shown size (the zoom itself unless a size was set).
  const auto shown_zoom = [&](int axis, std::int32_t extent) {
    if (!HasExplicitSize(axis) || extent <= 0) return zoom_[static_cast<std::size_t>(axis)];
    const std::int64_t shown = axis == 0 ? width_ : height_;
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, shown * 256 / extent));
  };
  RotateZoom r;
  r.angle = angle_ & 0xFF;
  r.pivot_x = flip_[0] ? w - 1 - offset_x_ : offset_x_;
  r.pivot_y = flip_[1] ? h - 1 - offset_y_ : offset_y_;
  r.zoom_x = shown_zoom(0, w);
  r.zoom_y = shown_zoom(1, h);
  return r;
}

Rect TKestCustomImage::GetScreenRect() const {
  if (!Rotated() || !GetSurface()) return PlainScreenRect();
  return RotatedBounds(Clamp32(GetScreenOriginX()), Clamp32(GetScreenOriginY()), PictureExtent(0), PictureExtent(1),
                       Rotation());
}

void TKestCustomImage::SizeFromPicture() {
  if (motion_ || !SizeFollowsPicture()) return;
  const TCustomDIBX* surface = GetSurface();
  std::array<std::int64_t, 2> size{};
  for (int axis = 0; axis < 2; ++axis) {
    const auto a = static_cast<std::size_t>(axis);
    if (explicit_[a] > 0) {
      size[a] = explicit_[a];
    } else if (!surface) {
      size[a] = 0;
    } else if (const std::optional<std::int64_t> d = MappedDivisor(axis)) {
      // Both edges mapped through the parent's picture, mirrored in it when flipped.
      const std::int64_t local = axis == 0 ? std::int64_t{left_} - offset_x_ : std::int64_t{top_} - offset_y_;
      const std::int64_t extent = Extent(*surface, axis);
      std::int64_t near = local;
      if (flip_[a]) near = Extent(*parent_->PictureSurface(), axis) - local - extent;
      const std::int64_t l = DivideUp(near * 65536, *d, 32767);
      const std::int64_t r = DivideUp((near + extent) * 65536, *d, 0);
      size[a] = r - l;
    } else {
      size[a] = std::int64_t{Extent(*surface, axis)} * zoom_[a] / 256;
    }
  }
  const std::int32_t w = Clamp32(size[0]), h = Clamp32(size[1]);
  if (w != width_ || h != height_) SetBounds(left_, top_, w, h);
}

void TKestCustomImage::SizeIfDirty() {
  if (!size_dirty_) return;
  size_dirty_ = false;
  Invalidate();
  SizeFromPicture();
  Invalidate();
}

bool TKestCustomImage::Update(std::int32_t frame_time) {
  SizeIfDirty();
  return TKestControl::Update(frame_time);
}

void TKestCustomImage::MarkPosZoomedSizesDirty() {
  size_dirty_ = true;
  for (TKestControl* child : children_)
    if (auto* image = dynamic_cast<TKestCustomImage*>(child); image && image->PosZoomed()) image->size_dirty_ = true;
}

void TKestCustomImage::SetZoom(int axis, std::int32_t value) {
  Invalidate();
  // Zooms of 0 or less are stored as 1; a zoom write ends an explicit size on its axis.
  zoom_[static_cast<std::size_t>(axis)] = std::max(1, value);
  explicit_[static_cast<std::size_t>(axis)] = 0;
  MarkPosZoomedSizesDirty();
}

void TKestCustomImage::SetFlip(int axis, bool value) {
  Invalidate();
  flip_[static_cast<std::size_t>(axis)] = value;
  SizeFromPicture();
  Invalidate();
}

void TKestCustomImage::SetExplicitSize(int axis, std::int32_t value) {
  // With a motion attached the size is the control's own; otherwise a size of 0 or less goes
  // back to the picture's (creation writes 0 wherever a page's property set carries the slot).
  if (motion_ || !SizeFollowsPicture()) {
    if (axis == 0) SetWidth(value);
    else SetHeight(value);
    return;
  }
  explicit_[static_cast<std::size_t>(axis)] = std::max(0, value);
  SizeFromPicture();
}

// ---- drawing

void TKestCustomImage::PaintSelf(TCustomDIBX& target) {
  if (!IsBuilt()) {
    TKestControl::PaintSelf(target);
    return;
  }
  TCustomDIBX* surface = GetSurface();
  if (!surface || surface->IsEmpty() || alpha_ < 1 || width_ < 1 || height_ < 1) return;
  TCustomDIBX* mask = GetMask();
  const Flip flip = FlipOf(flip_[0], flip_[1]);
  const Rect whole{0, 0, surface->Width(), surface->Height()};
  if (Rotated()) {
    const std::int32_t x = Clamp32(GetScreenOriginX()), y = Clamp32(GetScreenOriginY());
    if (mask)
      target.DrawRotateMask(x, y, *surface, whole, *mask, Rotation(), alpha_, flip);
    else
      target.DrawRotate(x, y, *surface, whole, Rotation(), alpha_, flip, KeyedOf(*surface));
    return;
  }
  const std::int32_t x = Clamp32(GetScreenLeft()), y = Clamp32(GetScreenTop());
  if (width_ != surface->Width() || height_ != surface->Height()) {
    StretchByAlpha(target, PlainScreenRect(), *surface, mask, whole, alpha_, flip);
    return;
  }
  // Pictures with region rectangles show only those areas (not on a wave surface, whose rows
  // are shifted anyway).
  if (!surface->region_rects.empty() && !dynamic_cast<TDIBXWave*>(&target)) {
    for (const Rect& region : surface->region_rects) {
      const Rect src = Intersect(region, whole);
      if (!src.IsEmpty()) DrawByAlpha(target, x + src.left, y + src.top, *surface, mask, src, alpha_, flip);
    }
    return;
  }
  DrawByAlpha(target, x, y, *surface, mask, whole, alpha_, flip);
}

// ---- hit test

bool TKestCustomImage::MaskAllows(std::int64_t x, std::int64_t y) {
  TCustomDIBX* mask = GetMask();
  if (!capture_mask_ || !mask) return true;
  std::int64_t mx = ToPicture(x - GetScreenLeft(), 0);
  std::int64_t my = ToPicture(y - GetScreenTop(), 1);
  if (flip_[0]) mx = std::int64_t{PictureExtent(0)} - 1 - mx;
  if (flip_[1]) my = std::int64_t{PictureExtent(1)} - 1 - my;
  if (mx < 0 || my < 0 || mx >= mask->Width() || my >= mask->Height()) return false;
  return (mask->GetPixel(static_cast<std::int32_t>(mx), static_cast<std::int32_t>(my)) & 0xFF) > 127;
}

TKestControl* TKestCustomImage::HitTest(std::int64_t x, std::int64_t y, MouseModes modes) {
  if (!GetVisible()) return nullptr;
  const Rect r = GetScreenRect();
  if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) return nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if (TKestControl* hit = (*it)->HitTest(x, y, modes)) return hit;
  if (ignore_mouse_ >= 8 || (modes & (1u << ignore_mouse_)) == 0) return nullptr;
  if (Rotated()) {
    // The point turned back about the anchor must lie on the unturned picture.
    const double theta = -(angle_ & 0xFF) * 2.0 * 3.14159265358979323846 / 256.0;
    const double ox = static_cast<double>(GetScreenOriginX()), oy = static_cast<double>(GetScreenOriginY());
    const double dx = static_cast<double>(x) - ox, dy = static_cast<double>(y) - oy;
    x = static_cast<std::int64_t>(std::nearbyint(ox + dx * std::cos(theta) - dy * std::sin(theta)));
    y = static_cast<std::int64_t>(std::nearbyint(oy + dx * std::sin(theta) + dy * std::cos(theta)));
    const Rect plain = PlainScreenRect();
    if (x < plain.left || y < plain.top || x >= plain.right || y >= plain.bottom) return nullptr;
  }
  return MaskAllows(x, y) ? this : nullptr;
}

// ---- surfaces

void TKestCustomImage::ReleaseSurfaces() {
  Invalidate();
  surfaces_released_ = true;
  own_.reset();
  borrowed_ = nullptr;
  borrowed_mask_ = nullptr;
  second_mask_ = nullptr;
}

void TKestCustomImage::RestoreSurfaces() {
  surfaces_released_ = false;
  own_ = std::make_unique<TDIBX>(1, 1, 32);
  SizeFromPicture();
  Invalidate();
}

// ---- properties

std::optional<PropValue> TKestCustomImage::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_ALPHA: return alpha_;
    case PR_ZOOMX: return zoom_[0];
    case PR_ZOOMY: return zoom_[1];
    case PR_ANGLE: return angle_;
    case PR_FLIPH: return flip_[0];
    case PR_FLIPV: return flip_[1];
    case PR_CAPTUREMASK: return capture_mask_;
    case PR_ORIGWIDTH: return PictureExtent(0);
    case PR_ORIGHEIGHT: return PictureExtent(1);
    default: return TKestControl::ReadProperty(id);
  }
}

void TKestCustomImage::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_ALPHA:
      alpha_ = AsInt(value);
      Invalidate();
      return;
    case PR_ANGLE:
      Invalidate();
      angle_ = AsInt(value);
      Invalidate();
      return;
    case PR_ZOOMX: SetZoom(0, AsInt(value)); return;
    case PR_ZOOMY: SetZoom(1, AsInt(value)); return;
    case PR_POSZOOMED:
      Invalidate();
      pos_zoomed_ = AsBool(value);
      MarkPosZoomedSizesDirty();
      return;
    case PR_FLIPH: SetFlip(0, AsBool(value)); return;
    case PR_FLIPV: SetFlip(1, AsBool(value)); return;
    case PR_CAPTUREMASK: capture_mask_ = AsBool(value); return;
    case PR_WIDTH: SetExplicitSize(0, AsInt(value)); return;
    case PR_HEIGHT: SetExplicitSize(1, AsInt(value)); return;
    default: TKestControl::WriteProperty(id, value); return;
  }
}

void TKestCustomImage::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestControl::SaveToStream(out, version);
  out.I32(alpha_);
  out.I32(zoom_[0]);
  out.I32(angle_);
  out.Bool(flip_[0]);
  out.Bool(flip_[1]);
  out.Bool(capture_mask_);
  if (version >= 104) out.I32(zoom_[1]);
}

void TKestCustomImage::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestControl::LoadFromStream(in, version, depth);
  loaded_size_ = {width_, height_};
  alpha_ = in.I32();
  const std::int32_t zoom_x = in.I32();
  angle_ = in.I32();
  flip_[0] = in.Bool();
  flip_[1] = in.Bool();
  capture_mask_ = in.Bool();
  const std::int32_t zoom_y = version >= 104 ? in.I32() : zoom_x;
  zoom_ = {std::max(1, zoom_x), std::max(1, zoom_y)};
}

void TKestCustomImage::AdoptLoadedSize() {
  // The save carries the shown size; an axis whose saved size differs from what the picture
  // gives was sized by a script, and keeps that size.
  SizeFromPicture();
  if (!GetSurface() || motion_ || !SizeFollowsPicture()) return;
  const std::array<std::int32_t, 2> shown{width_, height_};
  for (std::size_t a = 0; a < 2; ++a)
    if (loaded_size_[a] > 0 && loaded_size_[a] != shown[a]) explicit_[a] = loaded_size_[a];
  SizeFromPicture();
}

}  // namespace kest
