#pragma once
// The four message-box icons, 32 by 32 pixels, drawn by code: information (a blue disc with a
// white "i"), warning (a yellow triangle with a black "!"), error (a red disc with a white
// cross) and question (a blue disc with a white "?").

#include "platform/platform.h"
#include "render/surface.h"

namespace kest::ui {

inline constexpr std::int32_t kIconSide = 32;

// Draws the icon with its top-left at (x, y); kNone draws nothing.
void DrawMessageIcon(TCustomDIBX& target, std::int32_t x, std::int32_t y, platform::MessageIcon icon);

}  // namespace kest::ui
