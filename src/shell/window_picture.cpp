#include "shell/window_picture.h"

#include <algorithm>
#include <cstring>

namespace kest::shell {

platform::SurfaceView ViewOf(TCustomDIBX& surface) {
  if (surface.Width() <= 0 || surface.Height() <= 0) return {};
  return {surface.PixelAddress(0, 0), surface.Pitch(), {surface.Width(), surface.Height()}};
}

namespace {

Rect ToRect(const platform::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
platform::Rect ToPlatform(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A copy of a surface (any depth is drawn into a 32-bit one).
std::unique_ptr<TDIBX> CopyOf(TCustomDIBX& source) {
  auto copy = std::make_unique<TDIBX>(source.Width(), source.Height(), 32);
  copy->Draw(0, 0, source, {0, 0, source.Width(), source.Height()});
  return copy;
}

}  // namespace

WindowPicture::WindowPicture(platform::Display& display, Presenter present)
    : display_(display), present_(std::move(present)) {
  const platform::Size scene = display.SceneSize();
  scene_.SetSize(scene.width, scene.height, 32);
  scene_.Fill(0);
  FollowDisplay();
}

void WindowPicture::FollowDisplay() {
  const platform::Size client = display_.ClientSize();
  if (client.width == picture_.Width() && client.height == picture_.Height() && panel_top_ == display_.PanelTop())
    return;
  panel_top_ = display_.PanelTop();
  picture_.SetSize(client.width, client.height, 32);
  pending_.clear();
  Compose({0, 0, client.width, client.height});
}

void WindowPicture::UpdateScene(const platform::SurfaceView& scene, std::span<const platform::Rect> changed) {
  FollowDisplay();
  if (scene.pixels == nullptr) return;
  const Rect bounds = Intersect({0, 0, scene.size.width, scene.size.height}, {0, 0, scene_.Width(), scene_.Height()});
  for (const platform::Rect& r : changed) {
    const Rect area = Intersect(ToRect(r), bounds);
    if (area.IsEmpty()) continue;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      std::memcpy(scene_.PixelAddress(area.left, y), scene.Row(y) + std::ptrdiff_t{area.left} * 4,
                  static_cast<std::size_t>(area.Width()) * 4);
    }
    Compose(Offset(area, 0, panel_top_));
  }
}

void WindowPicture::SetStrip(TCustomDIBX* strip) {
  FollowDisplay();
  const Rect old = strip_ ? Rect{0, 0, strip_->Width(), strip_->Height()} : Rect{};
  if (strip) {
    strip_ = CopyOf(*strip);
  } else {
    strip_.reset();
  }
  if (!old.IsEmpty()) Compose(old);
  if (strip_) Compose({0, 0, strip_->Width(), strip_->Height()});
}

void WindowPicture::ShowOverlay(TCustomDIBX& overlay, platform::Point at) {
  FollowDisplay();
  HideOverlay();
  overlay_ = CopyOf(overlay);
  overlay_at_ = at;
  Compose({at.x, at.y, at.x + overlay_->Width(), at.y + overlay_->Height()});
}

void WindowPicture::HideOverlay() {
  if (!overlay_) return;
  const Rect area{overlay_at_.x, overlay_at_.y, overlay_at_.x + overlay_->Width(), overlay_at_.y + overlay_->Height()};
  overlay_.reset();
  Compose(area);
}

void WindowPicture::CopyInto(const Rect& area, TDIBX& from, std::int32_t from_left, std::int32_t from_top) {
  const Rect placed{from_left, from_top, from_left + from.Width(), from_top + from.Height()};
  const Rect part = Intersect(area, placed);
  if (part.IsEmpty()) return;
  picture_.Draw(part.left, part.top, from, Offset(part, -from_left, -from_top));
}

void WindowPicture::Compose(const Rect& wanted) {
  const Rect area = Intersect(wanted, {0, 0, picture_.Width(), picture_.Height()});
  if (area.IsEmpty()) return;
  // Row by row: the scene's pixels where the panel is, black elsewhere (32-bit rows copy as
  // bytes); then the strip and the box over them where they reach.
  const Rect panel{0, panel_top_, scene_.Width(), panel_top_ + scene_.Height()};
  const Rect from_scene = Intersect(area, panel);
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    std::uint8_t* row = picture_.PixelAddress(area.left, y);
    if (y >= from_scene.top && y < from_scene.bottom && !from_scene.IsEmpty()) {
      std::memset(row, 0, static_cast<std::size_t>(from_scene.left - area.left) * 4);
      std::memcpy(picture_.PixelAddress(from_scene.left, y), scene_.PixelAddress(from_scene.left, y - panel_top_),
                  static_cast<std::size_t>(from_scene.Width()) * 4);
      std::memset(picture_.PixelAddress(from_scene.right, y), 0, static_cast<std::size_t>(area.right - from_scene.right) * 4);
    } else {
      std::memset(row, 0, static_cast<std::size_t>(area.Width()) * 4);
    }
  }
  if (strip_) CopyInto(area, *strip_, 0, 0);
  if (overlay_) CopyInto(area, *overlay_, overlay_at_.x, overlay_at_.y);
  pending_.push_back(ToPlatform(area));
}

bool WindowPicture::Flush() {
  FollowDisplay();
  if (pending_.empty()) return false;
  const platform::SurfaceView view = ViewOf(picture_);
  const bool presented = present_ ? present_(view, pending_) : display_.Present(view, pending_);
  pending_.clear();
  return presented;
}

platform::Image WindowPicture::Capture() { return ImageOf(picture_); }

platform::Image ImageOf(TCustomDIBX& surface) {
  platform::Image image{{surface.Width(), surface.Height()}, {}};
  image.bgrx.resize(static_cast<std::size_t>(surface.Width()) * surface.Height() * 4);
  for (std::int32_t y = 0; y < surface.Height(); ++y) {
    std::memcpy(image.bgrx.data() + static_cast<std::size_t>(y) * surface.Width() * 4, surface.PixelAddress(0, y),
                static_cast<std::size_t>(surface.Width()) * 4);
  }
  return image;
}

}  // namespace kest::shell
