#pragma once
// A group frame: an etched rectangle whose top line runs through the middle of an optional
// caption, which sits 8 pixels from the left on the face colour.

#include <string_view>

#include "render/surface.h"
#include "shell/ui/ui_text.h"

namespace kest::ui {

struct GroupFrame {
  Rect bounds;
  std::string_view cp932_caption;  // empty: a plain frame

  void Draw(TCustomDIBX& target, UiText& text) const;
};

}  // namespace kest::ui
