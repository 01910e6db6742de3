#pragma once
// The toolbar strip: a dock as wide as the scene and 22 pixels high (a toolbar of 18 and 4 of
// border), with two flat buttons 67 by 18 at its left: "終了" (exit) and "画面切替" (window or
// full screen). A button under the pointer is raised, one held down by the mouse is sunken, and
// a press and release on the same button is its click.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "render/surface.h"
#include "shell/ui/button.h"
#include "shell/ui/ui_text.h"
#include "shell/ui/widget_state.h"

namespace kest::ui {

enum class ToolbarAction { kNone, kExit, kScreenSwitch };

class Toolbar {
 public:
  static constexpr std::int32_t kButtonWidth = 67;
  static constexpr std::int32_t kButtonHeight = 18;
  static constexpr std::int32_t kDockHeight = kButtonHeight + 4;
  static constexpr std::int32_t kButtonTop = 2;

  Toolbar(std::int32_t width, std::string_view cp932_exit, std::string_view cp932_screen_switch);

  std::int32_t Width() const { return width_; }
  // The pointer in strip coordinates, none when it is off the strip.
  void PointerMoved(std::optional<Point> strip_point);
  void LeftPressed();
  ToolbarAction LeftReleased();
  // Whether the look changed since the last Draw.
  bool Changed() const { return changed_; }
  const std::array<Button, 2>& Buttons() const { return buttons_; }

  void Draw(TCustomDIBX& strip, UiText& text);

 private:
  std::optional<std::size_t> ButtonAt(std::optional<Point> p) const;

  std::int32_t width_;
  std::array<Button, 2> buttons_;
  std::optional<std::size_t> hover_;
  std::optional<std::size_t> held_;
  bool changed_ = true;
};

}  // namespace kest::ui
