#pragma once
// The main window on SDL: an SDL_Renderer with one streaming texture of the window's picture
// (the dock and the scene in a window, the scene in full screen). The texture keeps every pixel
// presented so far; a present uploads only the changed rectangles and then shows the texture
// stretched onto the window (integer scale) or the screen (aspect kept, black bars). Internal to
// the platform library; the engine sees only Display.

#include <SDL.h>

#include "platform/platform.h"

namespace kest::platform {

class SdlDisplay final : public Display {
 public:
  // The video subsystem must be initialised. Throws PlatformError.
  explicit SdlDisplay(const DisplaySpec& spec);
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  Size SceneSize() const override { return scene_; }
  Size ClientSize() const override { return {scene_.width, scene_.height + PanelTop()}; }
  int PanelTop() const override { return mode_ == ScreenMode::kWindow ? dock_height_ : 0; }
  void SetTitle(std::string_view cp932_title) override;
  bool Present(const SurfaceView& surface, std::span<const Rect> changed) override;
  bool SetScale(int scale) override;
  int Scale() const override { return scale_; }
  bool SetScreenMode(ScreenMode mode, std::optional<DisplayMode> exclusive_mode = {}) override;
  ScreenMode CurrentScreenMode() const override { return mode_; }
  std::vector<DisplayMode> DisplayModes() const override;
  DisplayMode DesktopMode() const override;
  Point PointerPosition() const override;
  void WarpPointer(Point scene_point) override;
  void SetCursorVisibility(CursorVisibility visibility) override;
  bool SetPointerImage(const PointerImage* image) override;
  Image CaptureOutput() override;
  Image CaptureWindow() override;

  SDL_Window* Window() const { return window_; }
  std::uint32_t WindowId() const { return SDL_GetWindowID(window_); }

  // Shows the texture again, for a window that was uncovered, resized or switched.
  void Redraw();

  // A position in window coordinates (as mouse events give them) in panel coordinates.
  Point WindowToScene(int x, int y) const;

 private:
  Viewport CurrentViewport() const;
  Size WindowSize() const;
  Size OutputSize() const;
  void RenderTexture();
  void UploadRectangle(const SurfaceView& surface, const Rect& rectangle);
  // A black texture of ClientSize, made anew when the size changed; false when SDL refused it.
  bool MakeTexture();
  // The renderer's pixels in `area` (output pixels).
  Image ReadPixels(const Rect& area);
  void ResizeWindowToScale();
  int DisplayIndex() const;

  Size scene_;
  int dock_height_ = 0;
  Size texture_size_;
  int scale_ = 1;
  ScreenMode mode_ = ScreenMode::kWindow;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* pointer_ = nullptr;  // the title's pointer picture; none: the standard pointer
};

}  // namespace kest::platform
