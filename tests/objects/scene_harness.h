#pragma once
// A scene under test: a scene list, a window buffer that changes only through the rectangles
// each frame presents (so a missed repaint stays visible as stale pixels), and helpers to make
// boxes.

#include <cstring>
#include <string>

#include "objects/components.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest::testing {

class SceneHarness {
 public:
  explicit SceneHarness(std::int32_t width = 160, std::int32_t height = 120, std::int32_t frame_ms = 16)
      : list(width, height), window(width, height, 32), frame_ms_(frame_ms) {}

  // One frame: input, update, draw, then the presentation copies the changed rectangles.
  void RunFrame() {
    list.ProcessInput(frame_ms_);
    list.Update(frame_ms_);
    list.Draw();
    for (const Rect& r : list.PresentRects()) window.Draw(r.left, r.top, list.Surface(), r);
  }

  // A box on `parent` (the active screen when none).
  TKestBox& Box(const std::string& name, Rect r, std::int32_t colour, TKestControl* parent = nullptr) {
    auto& box = static_cast<TKestBox&>(*list.CreateByKind(LT_BOX));
    box.SetName(name);
    box.SetBounds(r.left, r.top, r.Width(), r.Height());
    box.SetColor(colour);
    box.SetParent(parent ? parent : &list.ActiveScreen());
    return box;
  }

  std::uint32_t WindowPixel(std::int32_t x, std::int32_t y) { return window.GetPixel(x, y) & 0xFFFFFF; }

  // What a full repaint of the active screen shows, painted into a copy of the surface.
  bool WindowEqualsFullRepaint(std::string* where = nullptr) {
    list.ActiveScreen().AddWholeRect();
    list.Paint();
    list.ActiveScreen().ClearDirty();
    list.InactiveScreen().ClearDirty();
    TDIBX& full = list.Surface();
    for (std::int32_t y = 0; y < full.Height(); ++y)
      for (std::int32_t x = 0; x < full.Width(); ++x)
        if ((full.GetPixel(x, y) & 0xFFFFFF) != (window.GetPixel(x, y) & 0xFFFFFF)) {
          if (where) *where = std::to_string(x) + "," + std::to_string(y);
          return false;
        }
    return true;
  }

  TKestBaseList list;
  TDIBX window;

 private:
  std::int32_t frame_ms_;
};

}  // namespace kest::testing
