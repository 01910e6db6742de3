#include "objects/components/tile.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "objects/property_table.h"
#include "objects/rect64.h"

namespace kest {

TKestTile::TKestTile(TKestBaseList& owner) : TKestCustomImages(owner, LT_TILE) {}

TKestTile::~TKestTile() = default;

std::int64_t TKestTile::GetScreenLeft() const {
  const std::int64_t local = GetMotion() ? motion_x_ : left_;
  return parent_ ? local + parent_->GetScreenLeft() - parent_->ScrollX() : local;
}

std::int64_t TKestTile::GetScreenTop() const {
  const std::int64_t local = GetMotion() ? motion_y_ : top_;
  return parent_ ? local + parent_->GetScreenTop() - parent_->ScrollY() : local;
}

Rect TKestTile::GetScreenRect() const { return MakeRect(GetScreenLeft(), GetScreenTop(), width_, height_); }

TKestControl* TKestTile::HitTest(std::int64_t x, std::int64_t y, MouseModes modes) {
  return TKestControl::HitTest(x, y, modes);
}

bool TKestTile::Update(std::int32_t frame_time) {
  if (GetMotion()) return TKestControl::Update(frame_time);
  Animate(frame_time);
  return false;
}

std::int32_t TKestTile::ZoomedFrame(int axis) const {
  const TCustomDIBX* surface = GetSurface();
  if (!surface) return 0;
  const std::int64_t extent = axis == 0 ? surface->Width() : surface->Height();
  return Clamp32(std::max<std::int64_t>(1, extent * (axis == 0 ? ZoomXValue() : ZoomYValue()) / 256));
}

std::int32_t TKestTile::Pitch(int axis) const {
  const std::int32_t frame = ZoomedFrame(axis);
  const std::int32_t distance = axis == 0 ? distance_x_ : distance_y_;
  return distance >= frame ? distance : frame;
}

void TKestTile::PaintSelf(TCustomDIBX& target) {
  TCustomDIBX* surface = GetSurface();
  const std::int32_t alpha = Alpha();
  if (!surface || surface->IsEmpty() || alpha < 1 || width_ < 1 || height_ < 1) return;
  TCustomDIBX* mask = GetMask();
  const Rect dst = GetScreenRect();
  const Rect whole{0, 0, surface->Width(), surface->Height()};
  const Flip flip = FlipOf(FlipHValue(), FlipVValue());
  const bool unzoomed = ZoomXValue() == 256 && ZoomYValue() == 256;
  const std::int32_t gap_x = Pitch(0) - ZoomedFrame(0), gap_y = Pitch(1) - ZoomedFrame(1);
  const bool keyed = surface->transparent_color != -1;
  if (unzoomed && alpha == 255 && !keyed && !mask && gap_x == 0 && gap_y == 0) {
    target.TileFill(dst, *surface, scroll_x_, scroll_y_, flip);
    return;
  }
  if (unzoomed && flip == Flip::None) {
    const TileSpacing spacing{scroll_x_, scroll_y_, gap_x, gap_y};
    const Keyed key = keyed ? Keyed::Yes : Keyed::No;
    const bool adds = alpha >= 256 && alpha <= 511;
    if (mask) {
      if (alpha == 255) target.TileDrawMask(dst, *surface, whole, *mask, spacing);
      else if (adds) target.TileDrawMaskAdd(dst, *surface, whole, *mask, spacing, alpha - 256);
      else target.TileDrawMaskAlpha(dst, *surface, whole, *mask, spacing, alpha);
    } else if (alpha == 255) {
      target.TileDraw(dst, *surface, whole, spacing, key);
    } else if (adds) {
      target.TileDrawAdd(dst, *surface, whole, spacing, alpha - 256);
    } else {
      target.TileDrawAlpha(dst, *surface, whole, spacing, alpha, key);
    }
    return;
  }
  // Zoomed or mirrored: a grid of scaled copies, the pitch given in picture pixels.
  TileZoomGrid grid;
  grid.offset_x = scroll_x_;
  grid.offset_y = scroll_y_;
  grid.zoom_x = ZoomXValue();
  grid.zoom_y = ZoomYValue();
  grid.pitch_x = Clamp32(std::max<std::int64_t>(1, std::int64_t{Pitch(0)} * 256 / grid.zoom_x));
  grid.pitch_y = Clamp32(std::max<std::int64_t>(1, std::int64_t{Pitch(1)} * 256 / grid.zoom_y));
  if (mask)
    target.TileZoomMask(dst, *surface, whole, *mask, grid, alpha, flip);
  else
    target.TileZoom(dst, *surface, whole, grid, alpha, flip, keyed ? Keyed::Yes : Keyed::No);
}

void TKestTile::SetSource(const std::string& source) {
  Invalidate();
  ForgetFrame();
  list_.Clear();
  DropMotion();
  source_ = source;
  if (SourceKindOf(source) == SourceKind::Picture) list_.Load(Owner(), Id(), source);
  else if (SourceKindOf(source) == SourceKind::Motion) LoadMotion(source);
  if (list_.Count() > 0) SetIndex(0);
  Invalidate();
}

std::optional<PropValue> TKestTile::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_SOURCE: return source_;
    case PR_SCROLLX: return scroll_x_;
    case PR_SCROLLY: return scroll_y_;
    case PR_DISTANCEX: return distance_x_;
    case PR_DISTANCEY: return distance_y_;
    default: return TKestCustomImages::ReadProperty(id);
  }
}

void TKestTile::WriteProperty(std::uint8_t id, const PropValue& value) {
  const auto change = [this](std::int32_t& field, std::int32_t v) {
    if (v == field) return;
    field = v;
    Invalidate();
    PositionChanged();
  };
  switch (id) {
    case PR_SOURCE: SetSource(AsStr(value)); return;
    case PR_SCROLLX: change(scroll_x_, AsInt(value)); return;
    case PR_SCROLLY: change(scroll_y_, AsInt(value)); return;
    case PR_DISTANCEX: change(distance_x_, AsInt(value)); return;
    case PR_DISTANCEY: change(distance_y_, AsInt(value)); return;
    default: TKestCustomImages::WriteProperty(id, value); return;
  }
}

void TKestTile::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestCustomImages::SaveToStream(out, version);
  out.I32(scroll_x_);
  out.I32(scroll_y_);
  out.LString(source_);
  out.LString(AsStr(ReadProperty(PR_ONIDLE).value_or(std::string())));
  out.I32(distance_x_);
  out.I32(distance_y_);
}

void TKestTile::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestCustomImages::LoadFromStream(in, version, depth);
  scroll_x_ = in.I32();
  scroll_y_ = in.I32();
  const std::string source = in.LString();
  stored_[PR_ONIDLE] = in.LString();
  distance_x_ = in.I32();
  distance_y_ = in.I32();
  SetSource(source);
  ApplyLoadedFrame();
}

}  // namespace kest
