#include "shell/ui/label.h"

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

void Label::Draw(TCustomDIBX& target, UiText& text, Enabled enabled) const {
  FillColour(target, bounds, kFaceColour);
  const std::int32_t width = text.Width(caption.text);
  const std::int32_t x = align == Align::kLeft ? bounds.left : bounds.right - width - 1;  // room for the emboss
  const std::int32_t y = bounds.top + (bounds.Height() - text.LineHeight()) / 2;
  DrawCaption(target, text, x, y, caption, enabled);
}

}  // namespace kest::ui
