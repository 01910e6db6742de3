#include "shell/ui/button.h"

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

void Button::Draw(TCustomDIBX& target, UiText& text, const WidgetState& state) const {
  Rect face = bounds;
  FillColour(target, face, state.hover && state.enabled && !state.pressed ? kHoverColour : kFaceColour);
  // The default button (or a focused one) wears a one-pixel dark frame outside its edges.
  if (is_default == DefaultButton::kYes || state.focused) {
    target.FrameRect(face, 1, static_cast<std::uint32_t>(target.ColorToPixel(kDarkShadowColour)));
    face = {face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
  }
  if (state.pressed) {
    target.FrameRect(face, 1, static_cast<std::uint32_t>(target.ColorToPixel(kShadowColour)));
  } else {
    DrawEdge(target, face, Edge::kRaised);
  }
  const std::int32_t shift = state.pressed ? 1 : 0;
  const std::int32_t x = bounds.left + (bounds.Width() - text.Width(caption.text)) / 2 + shift;
  const std::int32_t y = bounds.top + (bounds.Height() - text.LineHeight()) / 2 + shift;
  DrawCaption(target, text, x, y, caption, state.enabled ? Enabled::kYes : Enabled::kNo);
  if (state.focused) DrawFocusRect(target, {bounds.left + 4, bounds.top + 4, bounds.right - 4, bounds.bottom - 4});
}

}  // namespace kest::ui
