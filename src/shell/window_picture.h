#pragma once
// The main window's picture, composed by the player at scene resolution: the scene at the panel's
// place, the toolbar strip at the top (in the dock in a window; over the scene's top rows in full
// screen, while it is shown), and a dialog laid over everything (a message box). Only what
// changed is presented. A change of screen mode changes the picture's size; the next Flush then
// composes and presents all of it.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "render/dibx.h"

namespace kest::shell {

class WindowPicture {
 public:
  using Presenter = std::function<bool(const platform::SurfaceView&, std::span<const platform::Rect>)>;

  // `present` shows the picture's changed rectangles; none: the display's own Present.
  explicit WindowPicture(platform::Display& display, Presenter present = {});

  platform::Display& Display() { return display_; }
  platform::Size Size() const { return {picture_.Width(), picture_.Height()}; }
  int PanelTop() const { return panel_top_; }

  // Takes the changed rectangles (scene coordinates) of the scene's surface.
  void UpdateScene(const platform::SurfaceView& scene, std::span<const platform::Rect> changed);
  // The strip drawn at the picture's top-left; nullptr: no strip. The picture is copied.
  void SetStrip(TCustomDIBX* strip);
  // A picture laid over everything with its top-left at `at` (picture coordinates); copied.
  void ShowOverlay(TCustomDIBX& overlay, platform::Point at);
  void HideOverlay();

  // Presents every change since the last flush; answers whether anything was presented.
  bool Flush();
  // What has been composed so far (presented or not), B, G, R, X top-down.
  platform::Image Capture();

 private:
  void FollowDisplay();
  void Compose(const Rect& area);
  void CopyInto(const Rect& area, TDIBX& from, std::int32_t from_left, std::int32_t from_top);

  platform::Display& display_;
  Presenter present_;
  int panel_top_ = 0;
  TDIBX picture_;
  TDIBX scene_;
  std::unique_ptr<TDIBX> strip_;
  std::unique_ptr<TDIBX> overlay_;
  platform::Point overlay_at_;
  std::vector<platform::Rect> pending_;
};

// A 32-bit surface as the platform takes it.
platform::SurfaceView ViewOf(TCustomDIBX& surface);
// A copy of a 32-bit surface's pixels, top-down.
platform::Image ImageOf(TCustomDIBX& surface);

}  // namespace kest::shell
