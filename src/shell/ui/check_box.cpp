#include "shell/ui/check_box.h"

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

Rect CheckBox::CaptionRect(UiText& text) const {
  const std::int32_t left = at.x + kBoxSide + kCaptionGap;
  const std::int32_t top = at.y + (kBoxSide - text.LineHeight()) / 2;
  return {left, top, left + text.Width(caption.text), top + text.LineHeight()};
}

Rect CheckBox::HitArea(UiText& text) const {
  const Rect label = CaptionRect(text);
  return {at.x, std::min(at.y, label.top), label.right + 1, std::max(at.y + kBoxSide, label.bottom)};
}

void CheckBox::Draw(TCustomDIBX& target, UiText& text, bool checked, const WidgetState& state) const {
  const Rect box = Box();
  DrawEdge(target, box, Edge::kSunken);
  FillColour(target, {box.left + 2, box.top + 2, box.right - 2, box.bottom - 2},
             state.enabled && !state.pressed ? kBoxColour : kFaceColour);
  if (checked) {
    // The tick: a short stroke down to the right, then a long one up, three pixels thick.
    const std::int32_t colour = state.enabled ? kTextColour : kGreyTextColour;
    const std::int32_t x0 = box.left + 3, y0 = box.top + 5;
    for (std::int32_t i = 0; i < 7; ++i) {
      const std::int32_t y = i < 3 ? y0 + i : y0 + 4 - i;
      FillColour(target, {x0 + i, y, x0 + i + 1, y + 3}, colour);
    }
  }
  const Rect label = CaptionRect(text);
  DrawCaption(target, text, label.left, label.top, caption, state.enabled ? Enabled::kYes : Enabled::kNo);
  if (state.focused) DrawFocusRect(target, {label.left - 1, label.top, label.right + 1, label.bottom});
}

}  // namespace kest::ui
