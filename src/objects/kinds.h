#pragma once
// The kinds of display object. The code is what an object reports as PR_COMPOTYPE and the byte
// that precedes each object in a save stream. Codes 1 (audio) and 10 (map) name no class.

#include <cstdint>
#include <string_view>

namespace kest {

enum LayerType : std::uint8_t {
  LT_NONE = 0,
  LT_AUDIO = 1,
  LT_BOX = 2,
  LT_BUTTON = 3,
  LT_CINEMA = 4,
  LT_EDIT = 5,
  LT_FIRE = 6,
  LT_HTTP = 7,
  LT_IMAGES = 8,
  LT_LABEL = 9,
  LT_MAP = 10,
  LT_MEMO = 11,
  LT_MENU = 12,
  LT_MES = 13,
  LT_PARTICLE = 14,
  LT_TIMER = 15,
  LT_VIDEO = 16,
  LT_SOUND = 17,
  LT_MAPIMG = 18,
  LT_WAVE = 19,
  LT_TILE = 20,
  LT_SLIDER = 21,
  LT_SCROLLBAR = 22,
  LT_GAUGE = 23,
  LT_CGLABEL = 24,
  LT_PREVMENU = 25,
  LT_PROPMOTION = 26,
  LT_CABINET = 27,
};

inline constexpr std::uint8_t kKindCount = 28;

// "LT_BOX" and so on; "" outside 0..27.
std::string_view KindName(std::uint8_t kind);

// Mouse-transparency modes of PR_IGNOREMOUSE.
enum IgnoreMouseMode : std::uint8_t { IM_NONE = 0, IM_ALL = 1, IM_CLICK = 2, IM_LCLICK = 3, IM_RCLICK = 4 };

}  // namespace kest
