#pragma once
// TScreenManager: the screen the scene is shown on. It lists the display modes a title can use
// in full screen and picks one, switches between the window and full screen, and presents the
// changed rectangles of the scene surface each frame.
//
// Full screen keeps the desktop's own mode and scales the scene into it with its aspect ratio
// kept (black bars), which is what a modern desktop shows best; the selected mode still decides
// whether full screen is possible at all and is what "@DisplayModeIndex" reports.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace kest::shell {

// Whether `candidate` should replace the mode selected so far (`selected`, none at first):
// the preferred size wins; between two of the preferred size, the desktop's depth wins, and
// between two of that depth, the lower refresh rate.
bool PrefersMode(const platform::DisplayMode& candidate, const platform::DisplayMode* selected,
                 platform::Size preferred, int desktop_depth);

class TScreenManager {
 public:
  static constexpr int kWindowMode = -1;
  static constexpr int kNoMode = -2;

  // `scene` is the smallest usable mode; `preferred` the title's full-screen size.
  TScreenManager(platform::Display& display, platform::Size scene, platform::Size preferred);

  // Modes at least as large as the scene, of 16 bits or more, in the driver's order.
  const std::vector<platform::DisplayMode>& Modes() const { return modes_; }
  std::int32_t ModeCount() const { return static_cast<std::int32_t>(modes_.size()); }
  // "@DisplayModeIndex": the mode full screen uses, -1 none. Scripts may store any number; one
  // that names no mode keeps full screen off.
  std::int32_t SelectedMode = -1;
  std::int32_t CurrentMode() const { return current_mode_; }
  bool FullScreen() const { return current_mode_ >= 0; }
  int DesktopDepth() const { return desktop_depth_; }
  // The scene surface's depth: the player composes in 32 bits on every desktop.
  int Depth() const { return 32; }
  std::uint64_t PresentedFrames() const { return presented_frames_; }

  // Switches to a mode index, or kWindowMode; a full screen that cannot be set up falls back to
  // the window.
  void SetMode(std::int32_t index);
  // Full screen on or off. Turning it on needs a selected mode that exists; otherwise nothing
  // changes.
  void ToggleFullScreen(bool on);
  // In full screen, moves to the selected mode when it is not the one in use.
  void ApplyDisplayMode();

  // Presents the changed rectangles of the scene surface; answers whether anything was shown.
  bool Present(const platform::SurfaceView& surface, std::span<const platform::Rect> changed);

 private:
  platform::Display& display_;
  std::vector<platform::DisplayMode> modes_;
  int desktop_depth_ = 24;
  std::int32_t current_mode_ = kNoMode;
  std::uint64_t presented_frames_ = 0;
};

}  // namespace kest::shell
