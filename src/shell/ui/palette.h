#pragma once
// The colours of the player's own widgets, as 0x00BBGGRR like every colour the surfaces take:
// the grey three-dimensional look of a classic desktop dialog.

#include <cstdint>

namespace kest::ui {

inline constexpr std::int32_t kFaceColour = 0xC8D0D4;       // dialog and button face
inline constexpr std::int32_t kHighlightColour = 0xFFFFFF;  // lit edges, the emboss of grey text
inline constexpr std::int32_t kShadowColour = 0x808080;     // shaded edges
inline constexpr std::int32_t kDarkShadowColour = 0x404040; // outer shaded edges
inline constexpr std::int32_t kTextColour = 0x000000;
inline constexpr std::int32_t kGreyTextColour = 0x808080;   // disabled controls
inline constexpr std::int32_t kCaptionColour = 0x6A240A;    // caption strip (dark blue)
inline constexpr std::int32_t kCaptionTextColour = 0xFFFFFF;
inline constexpr std::int32_t kBoxColour = 0xFFFFFF;        // inside a check box
inline constexpr std::int32_t kHoverColour = 0xE8ECEE;      // a face under the pointer

}  // namespace kest::ui
