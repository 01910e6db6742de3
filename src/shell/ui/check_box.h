#pragma once
// A check box: a 13-pixel sunken box (white, grey when disabled or pressed) with a tick when
// checked, and its caption 4 pixels to the right; the focus rectangle goes round the caption.
// The box and its caption both answer the mouse.

#include <string_view>

#include "render/surface.h"
#include "shell/ui/mnemonic.h"
#include "shell/ui/ui_text.h"
#include "shell/ui/widget_state.h"

namespace kest::ui {

struct CheckBox {
  static constexpr std::int32_t kBoxSide = 13;
  static constexpr std::int32_t kCaptionGap = 4;

  Point at;  // the box's top-left
  Mnemonic caption;

  CheckBox() = default;
  CheckBox(Point top_left, std::string_view cp932_caption) : at(top_left), caption(ParseMnemonic(cp932_caption)) {}

  Rect Box() const { return {at.x, at.y, at.x + kBoxSide, at.y + kBoxSide}; }
  // The part that answers the mouse: the box and the caption's cell.
  Rect HitArea(UiText& text) const;
  void Draw(TCustomDIBX& target, UiText& text, bool checked, const WidgetState& state) const;

 private:
  Rect CaptionRect(UiText& text) const;
};

}  // namespace kest::ui
