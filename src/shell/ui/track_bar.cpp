#include "shell/ui/track_bar.h"

#include <algorithm>
#include <cstdlib>

#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

namespace {
constexpr std::int32_t kMargin = 8;  // from the control's edge to the first and last position
}

std::int32_t TrackBar::CentreOf(std::int32_t position) const {
  const std::int32_t span = std::max(maximum - minimum, 1);
  const std::int32_t usable = width - 2 * kMargin - 1;
  return at.x + kMargin + (std::clamp(position, minimum, maximum) - minimum) * usable / span;
}

Rect TrackBar::ThumbRect(std::int32_t position) const {
  const std::int32_t centre = CentreOf(position);
  return {centre - kThumbWidth / 2, at.y, centre + kThumbWidth / 2 + 1, at.y + kThumbHeight};
}

std::int32_t TrackBar::PositionAt(std::int32_t x) const {
  std::int32_t best = minimum;
  for (std::int32_t p = minimum; p <= maximum; ++p) {
    if (std::abs(CentreOf(p) - x) < std::abs(CentreOf(best) - x)) best = p;
  }
  return best;
}

void TrackBar::Draw(TCustomDIBX& target, std::int32_t position, const WidgetState& state) const {
  const Rect channel{at.x + kMargin - 2, at.y + 7, at.x + width - kMargin + 2, at.y + 11};
  DrawEdge(target, channel, Edge::kSunken);
  const std::int32_t tick_colour = state.enabled ? kTextColour : kGreyTextColour;
  for (std::int32_t p = minimum; p <= maximum; ++p) {
    const std::int32_t x = CentreOf(p);
    FillColour(target, {x, at.y + kThumbHeight + 3, x + 1, at.y + kThumbHeight + 7}, tick_colour);
  }
  // The thumb: a raised block whose lower part narrows to a point.
  const Rect thumb = ThumbRect(position);
  const std::int32_t body_bottom = thumb.bottom - kThumbWidth / 2;
  const std::int32_t face = state.enabled ? (state.pressed || state.hover ? kHoverColour : kFaceColour) : kFaceColour;
  DrawEdge(target, {thumb.left, thumb.top, thumb.right, body_bottom + 1}, Edge::kRaised);
  FillColour(target, {thumb.left + 2, thumb.top + 2, thumb.right - 2, body_bottom}, face);
  for (std::int32_t row = 0; row < kThumbWidth / 2; ++row) {
    const Rect slice{thumb.left + row + 1, body_bottom + row, thumb.right - row - 1, body_bottom + row + 1};
    FillColour(target, slice, face);
    FillColour(target, {slice.left - 1, slice.top, slice.left, slice.bottom}, kHighlightColour);
    FillColour(target, {slice.right, slice.top, slice.right + 1, slice.bottom}, kDarkShadowColour);
  }
  if (state.focused) DrawFocusRect(target, Bounds());
}

}  // namespace kest::ui
