#include "shell/ui/group_frame.h"

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

void GroupFrame::Draw(TCustomDIBX& target, UiText& text) const {
  const std::int32_t line_height = text.LineHeight();
  const std::int32_t frame_top = cp932_caption.empty() ? bounds.top : bounds.top + line_height / 2;
  DrawEdge(target, {bounds.left, frame_top, bounds.right, bounds.bottom}, Edge::kEtched);
  if (cp932_caption.empty()) return;
  const std::int32_t x = bounds.left + 8;
  FillColour(target, {x - 2, bounds.top, x + text.Width(cp932_caption) + 2, bounds.top + line_height}, kFaceColour);
  text.Draw(target, x, bounds.top, cp932_caption, kTextColour);
}

}  // namespace kest::ui
