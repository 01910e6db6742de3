#pragma once
// The headless display: the window's picture (dock and scene, or the scene alone in full screen)
// in memory, changed only through Present.

#include <string>

#include "platform/platform.h"

namespace kest::platform {

class HeadlessPlatform;

// Copies the clipped rectangles of `source` into `target` (both scene surfaces, B, G, R, X);
// returns whether any pixel was copied. Rectangles are clipped to both surfaces.
bool CopyRectangles(const SurfaceView& source, Image& target, std::span<const Rect> rectangles);

// The output a viewport shows: black, with the scene stretched onto the destination rectangle by
// nearest pixel (each output pixel shows the scene pixel OutputToScene gives).
Image StretchToViewport(const SurfaceView& scene, const Viewport& viewport);

class HeadlessDisplay final : public Display {
 public:
  HeadlessDisplay(HeadlessPlatform& platform, const DisplaySpec& spec);

  Size SceneSize() const override { return scene_; }
  Size ClientSize() const override { return framebuffer_.size; }
  int PanelTop() const override { return mode_ == ScreenMode::kWindow ? dock_height_ : 0; }
  void SetTitle(std::string_view cp932_title) override { title_ = cp932_title; }
  bool Present(const SurfaceView& surface, std::span<const Rect> changed) override;
  bool SetScale(int scale) override;
  int Scale() const override { return scale_; }
  bool SetScreenMode(ScreenMode mode, std::optional<DisplayMode> exclusive_mode = {}) override;
  ScreenMode CurrentScreenMode() const override { return mode_; }
  std::vector<DisplayMode> DisplayModes() const override;
  DisplayMode DesktopMode() const override;
  Point PointerPosition() const override;
  void WarpPointer(Point scene_point) override;
  void SetCursorVisibility(CursorVisibility visibility) override { cursor_ = visibility; }
  bool SetPointerImage(const PointerImage* image) override;
  Image CaptureOutput() override;
  Image CaptureWindow() override { return framebuffer_; }

  const Image& Framebuffer() const { return framebuffer_; }
  const std::string& Title() const { return title_; }
  CursorVisibility Cursor() const { return cursor_; }
  // The pointer picture in effect (none: the standard pointer) and how often it was set.
  const std::optional<PointerImage>& Pointer() const { return pointer_; }
  std::uint64_t PointerChanges() const { return pointer_changes_; }
  std::uint64_t PresentedFrames() const { return presented_frames_; }
  Viewport CurrentViewport() const;

 private:
  void ResizePicture();

  HeadlessPlatform& platform_;
  Size scene_;
  int dock_height_ = 0;
  Image framebuffer_;
  std::string title_;
  int scale_ = 1;
  ScreenMode mode_ = ScreenMode::kWindow;
  Size full_screen_size_;
  CursorVisibility cursor_ = CursorVisibility::kShown;
  std::optional<PointerImage> pointer_;
  std::uint64_t pointer_changes_ = 0;
  std::uint64_t presented_frames_ = 0;
};

}  // namespace kest::platform
