#pragma once
// A horizontal track bar of whole positions `minimum`..`maximum`: a sunken channel, a thumb that
// points down, and one tick below the channel per position. A click on it moves the thumb to
// the nearest position; a drag follows the pointer.

#include <cstdint>

#include "render/surface.h"
#include "shell/ui/widget_state.h"

namespace kest::ui {

struct TrackBar {
  static constexpr std::int32_t kThumbWidth = 11;
  static constexpr std::int32_t kThumbHeight = 18;
  static constexpr std::int32_t kHeight = 28;  // thumb, gap, ticks

  Point at;  // top-left of the control
  std::int32_t width = 0;
  std::int32_t minimum = 1;
  std::int32_t maximum = 5;

  Rect Bounds() const { return {at.x, at.y, at.x + width, at.y + kHeight}; }
  // The x of the thumb's centre line at a position.
  std::int32_t CentreOf(std::int32_t position) const;
  Rect ThumbRect(std::int32_t position) const;
  // The position nearest to a pointer at x (clamped to the range).
  std::int32_t PositionAt(std::int32_t x) const;
  void Draw(TCustomDIBX& target, std::int32_t position, const WidgetState& state) const;
};

}  // namespace kest::ui
