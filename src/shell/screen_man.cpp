#include "shell/screen_man.h"

namespace kest::shell {

namespace {
bool HasSize(const platform::DisplayMode& mode, platform::Size size) {
  return mode.width == size.width && mode.height == size.height;
}
}  // namespace

bool PrefersMode(const platform::DisplayMode& candidate, const platform::DisplayMode* selected,
                 platform::Size preferred, int desktop_depth) {
  if (selected == nullptr) return true;
  const bool candidate_preferred = HasSize(candidate, preferred);
  const bool selected_preferred = HasSize(*selected, preferred);
  if (candidate_preferred != selected_preferred) return candidate_preferred;
  if (!candidate_preferred || candidate.bits_per_pixel != desktop_depth) return false;
  return selected->bits_per_pixel != desktop_depth || candidate.refresh_rate < selected->refresh_rate;
}

TScreenManager::TScreenManager(platform::Display& display, platform::Size scene, platform::Size preferred)
    : display_(display) {
  const platform::DisplayMode desktop = display.DesktopMode();
  if (desktop.bits_per_pixel > 0) desktop_depth_ = desktop.bits_per_pixel;
  for (const platform::DisplayMode& mode : display.DisplayModes()) {
    if (mode.width < scene.width || mode.height < scene.height || mode.bits_per_pixel < 16) continue;
    modes_.push_back(mode);
    const platform::DisplayMode* selected =
        SelectedMode >= 0 ? &modes_[static_cast<std::size_t>(SelectedMode)] : nullptr;
    if (PrefersMode(mode, selected, preferred, desktop_depth_)) SelectedMode = ModeCount() - 1;
  }
  current_mode_ = display.CurrentScreenMode() == platform::ScreenMode::kFullScreen && SelectedMode >= 0
                      ? SelectedMode
                      : kWindowMode;
}

void TScreenManager::SetMode(std::int32_t index) {
  if (index == current_mode_) return;
  if (index < 0 || index >= ModeCount()) {
    display_.SetScreenMode(platform::ScreenMode::kWindow);
    current_mode_ = kWindowMode;
    return;
  }
  // A full screen that cannot be entered leaves the window as it was.
  current_mode_ = display_.SetScreenMode(platform::ScreenMode::kFullScreen) ? index : kWindowMode;
}

void TScreenManager::ToggleFullScreen(bool on) {
  if (on == FullScreen()) return;
  if (on && (SelectedMode < 0 || SelectedMode >= ModeCount())) return;
  SetMode(on ? SelectedMode : kWindowMode);
}

void TScreenManager::ApplyDisplayMode() {
  if (FullScreen() && SelectedMode >= 0 && SelectedMode < ModeCount() && SelectedMode != current_mode_)
    SetMode(SelectedMode);
}

bool TScreenManager::Present(const platform::SurfaceView& surface, std::span<const platform::Rect> changed) {
  const bool presented = display_.Present(surface, changed);
  if (presented) ++presented_frames_;
  return presented;
}

}  // namespace kest::shell
