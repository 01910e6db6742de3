#pragma once
// Pictures of the player's widgets drawn with fixed-cell text, read back pixel by pixel.

#include <gtest/gtest.h>

#include <cstdint>

#include "render/dibx.h"
#include "shell/fixed_cell_ui_text.h"
#include "shell/ui/palette.h"

namespace kest::ui {

// A 32-bit surface filled with the face colour.
struct FacePicture : TDIBX {
  FacePicture(std::int32_t width, std::int32_t height) : TDIBX(width, height, 32) {
    Fill(static_cast<std::uint32_t>(ColorToPixel(kFaceColour)));
  }
};

// The pixel as 0x00BBGGRR, the way the widgets name their colours.
inline std::int32_t ColourAt(TDIBX& picture, std::int32_t x, std::int32_t y) {
  const std::uint32_t native = picture.GetPixel(x, y);
  return static_cast<std::int32_t>(((native & 0xFF) << 16) | (native & 0xFF00) | ((native >> 16) & 0xFF));
}

}  // namespace kest::ui
