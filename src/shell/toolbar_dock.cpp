#include "shell/toolbar_dock.h"

#include "shell/messages.h"

namespace kest::shell {

using ui::Toolbar;

ToolbarDock::ToolbarDock(ui::UiText& text, std::int32_t scene_width)
    : text_(text),
      toolbar_(scene_width, Message(ShellMessage::ToolbarExit), Message(ShellMessage::ToolbarScreenSwitch)),
      strip_(scene_width, Toolbar::kDockHeight, 32) {}

std::optional<ui::Point> ToolbarDock::OnStrip(platform::Point p, ScreenIs screen) {
  const bool across = p.x >= 0 && p.x < toolbar_.Width();
  if (screen == ScreenIs::kWindow) {
    if (across && p.y >= -Toolbar::kDockHeight && p.y < 0) return ui::Point{p.x, p.y + Toolbar::kDockHeight};
    return std::nullopt;
  }
  if (across && p.y == 0) shown_in_full_screen_ = true;
  if (!across || p.y < 0 || p.y >= Toolbar::kDockHeight) shown_in_full_screen_ = false;
  if (shown_in_full_screen_) return ui::Point{p.x, p.y};
  return std::nullopt;
}

bool ToolbarDock::Handle(const platform::InputEvent& event, ScreenIs screen) {
  if (const auto* move = std::get_if<platform::MouseMove>(&event)) {
    const std::optional<ui::Point> on = OnStrip(move->position, screen);
    pointer_on_strip_ = on.has_value();
    toolbar_.PointerMoved(on);
    return pointer_on_strip_ || press_on_strip_;
  }
  if (const auto* down = std::get_if<platform::ButtonDown>(&event)) {
    if (!pointer_on_strip_) return false;
    press_on_strip_ = true;
    if (down->button == platform::MouseButton::kLeft) toolbar_.LeftPressed();
    return true;
  }
  if (const auto* up = std::get_if<platform::ButtonUp>(&event)) {
    if (!press_on_strip_) return false;
    press_on_strip_ = false;
    if (up->button == platform::MouseButton::kLeft) action_ = toolbar_.LeftReleased();
    return true;
  }
  return false;
}

ui::ToolbarAction ToolbarDock::TakeAction() {
  const ui::ToolbarAction action = action_;
  action_ = ui::ToolbarAction::kNone;
  return action;
}

void ToolbarDock::Refresh(WindowPicture& window, ScreenIs screen) {
  if (screen == ScreenIs::kWindow) shown_in_full_screen_ = false;
  const bool wanted = screen == ScreenIs::kWindow || shown_in_full_screen_;
  if (wanted && (toolbar_.Changed() || strip_given_ != true)) {
    toolbar_.Draw(strip_, text_);
    window.SetStrip(&strip_);
  } else if (!wanted && strip_given_ != false) {
    window.SetStrip(nullptr);
  }
  strip_given_ = wanted;
}

}  // namespace kest::shell
