#include "shell/ui/toolbar.h"

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

namespace {

constexpr std::array<ToolbarAction, 2> kActions{ToolbarAction::kExit, ToolbarAction::kScreenSwitch};

Rect ButtonRect(std::int32_t index) {
  const std::int32_t left = index * Toolbar::kButtonWidth;
  return {left, Toolbar::kButtonTop, left + Toolbar::kButtonWidth, Toolbar::kButtonTop + Toolbar::kButtonHeight};
}

}  // namespace

Toolbar::Toolbar(std::int32_t width, std::string_view exit, std::string_view screen_switch)
    : width_(width), buttons_{Button(ButtonRect(0), exit), Button(ButtonRect(1), screen_switch)} {}

std::optional<std::size_t> Toolbar::ButtonAt(std::optional<Point> p) const {
  if (!p) return std::nullopt;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (Contains(buttons_[i].bounds, p->x, p->y)) return i;
  }
  return std::nullopt;
}

void Toolbar::PointerMoved(std::optional<Point> strip_point) {
  const std::optional<std::size_t> over = ButtonAt(strip_point);
  if (over != hover_) changed_ = true;
  hover_ = over;
}

void Toolbar::LeftPressed() {
  held_ = hover_;
  changed_ = true;
}

ToolbarAction Toolbar::LeftReleased() {
  const std::optional<std::size_t> held = held_;
  held_.reset();
  changed_ = true;
  if (held && held == hover_) return kActions[*held];
  return ToolbarAction::kNone;
}

void Toolbar::Draw(TCustomDIBX& strip, UiText& text) {
  changed_ = false;
  FillColour(strip, {0, 0, width_, kDockHeight}, kFaceColour);
  // The dock's bottom border: a shaded line with a lit one below it.
  FillColour(strip, {0, kDockHeight - 2, width_, kDockHeight - 1}, kShadowColour);
  FillColour(strip, {0, kDockHeight - 1, width_, kDockHeight}, kHighlightColour);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const Button& button = buttons_[i];
    const bool pressed = held_ == i && hover_ == i;
    if (pressed) {
      DrawEdge(strip, button.bounds, Edge::kSunken);
    } else if (hover_ == i) {
      // A flat button shows a thin raised edge under the pointer.
      const Rect r = button.bounds;
      FillColour(strip, {r.left, r.top, r.right, r.top + 1}, kHighlightColour);
      FillColour(strip, {r.left, r.top, r.left + 1, r.bottom}, kHighlightColour);
      FillColour(strip, {r.left, r.bottom - 1, r.right, r.bottom}, kShadowColour);
      FillColour(strip, {r.right - 1, r.top, r.right, r.bottom}, kShadowColour);
    }
    const std::int32_t shift = pressed ? 1 : 0;
    const std::int32_t x = button.bounds.left + (button.bounds.Width() - text.Width(button.caption.text)) / 2 + shift;
    const std::int32_t y = button.bounds.top + (button.bounds.Height() - text.LineHeight()) / 2 + shift;
    DrawCaption(strip, text, x, y, button.caption, Enabled::kYes);
  }
}

}  // namespace kest::ui
