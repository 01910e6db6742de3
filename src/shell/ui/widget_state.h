#pragma once
// Points and sizes of the widgets' pictures, and what every widget's look depends on besides
// its own value.

#include "render/geometry.h"

namespace kest::ui {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct WidgetState {
  bool enabled = true;
  bool focused = false;  // draws the focus rectangle
  bool hover = false;    // the pointer is over it
  bool pressed = false;  // held down by the mouse or a key
};

inline bool Contains(const Rect& r, std::int32_t x, std::int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace kest::ui
