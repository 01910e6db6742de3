#include "platform/headless/headless_display.h"

#include <algorithm>
#include <cstring>

#include "platform/headless/headless_platform.h"

namespace kest::platform {

bool CopyRectangles(const SurfaceView& source, Image& target, std::span<const Rect> rectangles) {
  if (source.pixels == nullptr) return false;
  const Rect bounds = Intersect(Rect{0, 0, source.size.width, source.size.height},
                                Rect{0, 0, target.size.width, target.size.height});
  const std::ptrdiff_t target_pitch = static_cast<std::ptrdiff_t>(target.size.width) * 4;
  bool copied = false;
  for (const Rect& rectangle : rectangles) {
    const Rect clipped = Intersect(rectangle, bounds);
    if (clipped.IsEmpty()) continue;
    const std::size_t row_bytes = static_cast<std::size_t>(clipped.Width()) * 4;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
      std::memcpy(target.bgrx.data() + target_pitch * y + std::ptrdiff_t{clipped.left} * 4,
                  source.Row(y) + std::ptrdiff_t{clipped.left} * 4, row_bytes);
    }
    copied = true;
  }
  return copied;
}

Image StretchToViewport(const SurfaceView& scene, const Viewport& viewport) {
  Image output{viewport.output, {}};
  output.bgrx.assign(static_cast<std::size_t>(std::max(viewport.output.width, 0)) *
                         static_cast<std::size_t>(std::max(viewport.output.height, 0)) * 4,
                     0);
  const Rect dest = Intersect(viewport.dest, Rect{0, 0, viewport.output.width, viewport.output.height});
  for (int y = dest.top; y < dest.bottom; ++y) {
    const int scene_y = OutputToScene(viewport, Point{dest.left, y}).y;
    if (scene_y < 0 || scene_y >= scene.size.height) continue;
    std::uint8_t* out = output.bgrx.data() + (static_cast<std::size_t>(y) * viewport.output.width + dest.left) * 4;
    for (int x = dest.left; x < dest.right; ++x, out += 4) {
      const int scene_x = OutputToScene(viewport, Point{x, y}).x;
      if (scene_x < 0 || scene_x >= scene.size.width) continue;
      std::memcpy(out, scene.Row(scene_y) + std::ptrdiff_t{scene_x} * 4, 4);
    }
  }
  return output;
}

HeadlessDisplay::HeadlessDisplay(HeadlessPlatform& platform, const DisplaySpec& spec)
    : platform_(platform), scene_(spec.scene), dock_height_(std::max(spec.dock_height, 0)), title_(spec.title) {
  if (spec.scene.width <= 0 || spec.scene.height <= 0) {
    throw PlatformError("headless display: the scene size must be positive");
  }
  ResizePicture();
  SetScale(spec.scale);
  if (spec.mode == ScreenMode::kFullScreen) SetScreenMode(ScreenMode::kFullScreen);
}

void HeadlessDisplay::ResizePicture() {
  const Size client{scene_.width, scene_.height + PanelTop()};
  if (client == framebuffer_.size) return;
  framebuffer_.size = client;
  framebuffer_.bgrx.assign(static_cast<std::size_t>(client.width) * client.height * 4, 0);
}

bool HeadlessDisplay::Present(const SurfaceView& surface, std::span<const Rect> changed) {
  const bool presented = CopyRectangles(surface, framebuffer_, changed);
  if (presented) ++presented_frames_;
  return presented;
}

bool HeadlessDisplay::SetScale(int scale) {
  if (scale < 1 || scale > kMaxScale) return false;
  scale_ = scale;
  return true;
}

bool HeadlessDisplay::SetScreenMode(ScreenMode mode, std::optional<DisplayMode> exclusive_mode) {
  if (mode == ScreenMode::kWindow) {
    mode_ = mode;
    ResizePicture();
    return true;
  }
  if (exclusive_mode) {
    const std::vector<DisplayMode>& modes = HeadlessDisplayModes();
    if (std::find(modes.begin(), modes.end(), *exclusive_mode) == modes.end()) return false;
    full_screen_size_ = {exclusive_mode->width, exclusive_mode->height};
  } else {
    full_screen_size_ = {HeadlessDesktopMode().width, HeadlessDesktopMode().height};
  }
  mode_ = mode;
  ResizePicture();
  return true;
}

std::vector<DisplayMode> HeadlessDisplay::DisplayModes() const { return HeadlessDisplayModes(); }

DisplayMode HeadlessDisplay::DesktopMode() const { return HeadlessDesktopMode(); }

Point HeadlessDisplay::PointerPosition() const { return platform_.pointer_; }

void HeadlessDisplay::WarpPointer(Point scene_point) {
  // Moving the pointer reports a move, as the windowing systems do.
  platform_.pointer_ = scene_point;
  platform_.events_.push_back(MouseMove{scene_point});
}

bool HeadlessDisplay::SetPointerImage(const PointerImage* image) {
  ++pointer_changes_;
  // As on a real display, an empty picture is refused and the standard pointer shows.
  const bool usable = image && image->size.width > 0 && image->size.height > 0;
  if (usable) {
    pointer_ = *image;
  } else {
    pointer_.reset();
  }
  return usable || image == nullptr;
}

Viewport HeadlessDisplay::CurrentViewport() const {
  return mode_ == ScreenMode::kFullScreen ? FullScreenViewport(scene_, full_screen_size_)
                                          : WindowViewport(scene_, scale_);
}

Image HeadlessDisplay::CaptureOutput() {
  // The panel's part of the picture, stretched as the screen shows it.
  SurfaceView panel = framebuffer_.View();
  panel.pixels = framebuffer_.View().Row(PanelTop());
  panel.size = scene_;
  return StretchToViewport(panel, CurrentViewport());
}

}  // namespace kest::platform
