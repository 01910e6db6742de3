#pragma once
// How the player's own widgets (toolbar, message boxes, the settings dialog) measure and draw a
// line of text. The player's implementation draws through caption label lists in the window
// font; tests use fixed cells so that layouts can be checked pixel by pixel.

#include <cstdint>
#include <string_view>

#include "render/surface.h"

namespace kest::ui {

class UiText {
 public:
  virtual ~UiText() = default;
  // Width in pixels of one line of CP932 text (no line breaks, no mnemonic markers).
  virtual std::int32_t Width(std::string_view cp932) = 0;
  // Height of a line.
  virtual std::int32_t LineHeight() = 0;
  // Draws the line with its cell's top-left at (x, y); `rgb` is 0x00BBGGRR.
  virtual void Draw(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::string_view cp932,
                    std::int32_t rgb) = 0;
};

}  // namespace kest::ui
