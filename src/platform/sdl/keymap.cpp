#include "platform/sdl/keymap.h"

#include <SDL_scancode.h>

#include <algorithm>
#include <array>

namespace kest::platform {
namespace {

// Left and right modifier keys give the generic codes (VK_SHIFT, VK_CONTROL, VK_MENU), as the
// window's key messages report them. Keypad keys give the number-pad codes whatever the state of
// Num Lock.
constexpr std::array kTable = std::to_array<ScancodeKey>({
    {SDL_SCANCODE_A, 0x41}, {SDL_SCANCODE_B, 0x42}, {SDL_SCANCODE_C, 0x43}, {SDL_SCANCODE_D, 0x44},
    {SDL_SCANCODE_E, 0x45}, {SDL_SCANCODE_F, 0x46}, {SDL_SCANCODE_G, 0x47}, {SDL_SCANCODE_H, 0x48},
    {SDL_SCANCODE_I, 0x49}, {SDL_SCANCODE_J, 0x4A}, {SDL_SCANCODE_K, 0x4B}, {SDL_SCANCODE_L, 0x4C},
    {SDL_SCANCODE_M, 0x4D}, {SDL_SCANCODE_N, 0x4E}, {SDL_SCANCODE_O, 0x4F}, {SDL_SCANCODE_P, 0x50},
    {SDL_SCANCODE_Q, 0x51}, {SDL_SCANCODE_R, 0x52}, {SDL_SCANCODE_S, 0x53}, {SDL_SCANCODE_T, 0x54},
    {SDL_SCANCODE_U, 0x55}, {SDL_SCANCODE_V, 0x56}, {SDL_SCANCODE_W, 0x57}, {SDL_SCANCODE_X, 0x58},
    {SDL_SCANCODE_Y, 0x59}, {SDL_SCANCODE_Z, 0x5A},
    {SDL_SCANCODE_1, 0x31}, {SDL_SCANCODE_2, 0x32}, {SDL_SCANCODE_3, 0x33}, {SDL_SCANCODE_4, 0x34},
    {SDL_SCANCODE_5, 0x35}, {SDL_SCANCODE_6, 0x36}, {SDL_SCANCODE_7, 0x37}, {SDL_SCANCODE_8, 0x38},
    {SDL_SCANCODE_9, 0x39}, {SDL_SCANCODE_0, 0x30},
    {SDL_SCANCODE_RETURN, 0x0D},       // VK_RETURN
    {SDL_SCANCODE_ESCAPE, 0x1B},       // VK_ESCAPE
    {SDL_SCANCODE_BACKSPACE, 0x08},    // VK_BACK
    {SDL_SCANCODE_TAB, 0x09},          // VK_TAB
    {SDL_SCANCODE_SPACE, 0x20},        // VK_SPACE
    {SDL_SCANCODE_MINUS, 0xBD},        // VK_OEM_MINUS
    {SDL_SCANCODE_EQUALS, 0xBB},       // VK_OEM_PLUS
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},  // VK_OEM_4
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, // VK_OEM_6
    {SDL_SCANCODE_BACKSLASH, 0xDC},    // VK_OEM_5
    {SDL_SCANCODE_NONUSHASH, 0xDC},    // VK_OEM_5 (the same key on ISO keyboards)
    {SDL_SCANCODE_SEMICOLON, 0xBA},    // VK_OEM_1
    {SDL_SCANCODE_APOSTROPHE, 0xDE},   // VK_OEM_7
    {SDL_SCANCODE_GRAVE, 0xC0},        // VK_OEM_3
    {SDL_SCANCODE_COMMA, 0xBC},        // VK_OEM_COMMA
    {SDL_SCANCODE_PERIOD, 0xBE},       // VK_OEM_PERIOD
    {SDL_SCANCODE_SLASH, 0xBF},        // VK_OEM_2
    {SDL_SCANCODE_CAPSLOCK, 0x14},     // VK_CAPITAL
    {SDL_SCANCODE_F1, 0x70}, {SDL_SCANCODE_F2, 0x71}, {SDL_SCANCODE_F3, 0x72}, {SDL_SCANCODE_F4, 0x73},
    {SDL_SCANCODE_F5, 0x74}, {SDL_SCANCODE_F6, 0x75}, {SDL_SCANCODE_F7, 0x76}, {SDL_SCANCODE_F8, 0x77},
    {SDL_SCANCODE_F9, 0x78}, {SDL_SCANCODE_F10, 0x79}, {SDL_SCANCODE_F11, 0x7A}, {SDL_SCANCODE_F12, 0x7B},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},  // VK_SNAPSHOT
    {SDL_SCANCODE_SCROLLLOCK, 0x91},   // VK_SCROLL
    {SDL_SCANCODE_PAUSE, 0x13},        // VK_PAUSE
    {SDL_SCANCODE_INSERT, 0x2D},       // VK_INSERT
    {SDL_SCANCODE_HOME, 0x24},         // VK_HOME
    {SDL_SCANCODE_PAGEUP, 0x21},       // VK_PRIOR
    {SDL_SCANCODE_DELETE, 0x2E},       // VK_DELETE
    {SDL_SCANCODE_END, 0x23},          // VK_END
    {SDL_SCANCODE_PAGEDOWN, 0x22},     // VK_NEXT
    {SDL_SCANCODE_RIGHT, 0x27},        // VK_RIGHT
    {SDL_SCANCODE_LEFT, 0x25},         // VK_LEFT
    {SDL_SCANCODE_DOWN, 0x28},         // VK_DOWN
    {SDL_SCANCODE_UP, 0x26},           // VK_UP
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, // VK_NUMLOCK
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},    // VK_DIVIDE
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},  // VK_MULTIPLY
    {SDL_SCANCODE_KP_MINUS, 0x6D},     // VK_SUBTRACT
    {SDL_SCANCODE_KP_PLUS, 0x6B},      // VK_ADD
    {SDL_SCANCODE_KP_ENTER, 0x0D},     // VK_RETURN
    {SDL_SCANCODE_KP_1, 0x61}, {SDL_SCANCODE_KP_2, 0x62}, {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64}, {SDL_SCANCODE_KP_5, 0x65}, {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67}, {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},      // VK_DECIMAL
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, // VK_OEM_102
    {SDL_SCANCODE_APPLICATION, 0x5D},    // VK_APPS
    {SDL_SCANCODE_F13, 0x7C}, {SDL_SCANCODE_F14, 0x7D}, {SDL_SCANCODE_F15, 0x7E}, {SDL_SCANCODE_F16, 0x7F},
    {SDL_SCANCODE_F17, 0x80}, {SDL_SCANCODE_F18, 0x81}, {SDL_SCANCODE_F19, 0x82}, {SDL_SCANCODE_F20, 0x83},
    {SDL_SCANCODE_F21, 0x84}, {SDL_SCANCODE_F22, 0x85}, {SDL_SCANCODE_F23, 0x86}, {SDL_SCANCODE_F24, 0x87},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2}, // the "ro" key of Japanese keyboards: VK_OEM_102
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC}, // the yen key: VK_OEM_5
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C}, // henkan: VK_CONVERT
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D}, // muhenkan: VK_NONCONVERT
    {SDL_SCANCODE_LCTRL, 0x11},          // VK_CONTROL
    {SDL_SCANCODE_LSHIFT, 0x10},         // VK_SHIFT
    {SDL_SCANCODE_LALT, 0x12},           // VK_MENU
    {SDL_SCANCODE_LGUI, 0x5B},           // VK_LWIN
    {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_RALT, 0x12},
    {SDL_SCANCODE_RGUI, 0x5C},           // VK_RWIN
});

constexpr bool OrderedByScancode() {
  for (std::size_t i = 1; i < kTable.size(); ++i) {
    if (kTable[i - 1].scancode >= kTable[i].scancode) return false;
  }
  return true;
}
static_assert(OrderedByScancode(), "the key table is looked up by binary search");

}  // namespace

std::span<const ScancodeKey> ScancodeTable() { return kTable; }

std::uint8_t VirtualKeyForScancode(int scancode) {
  const auto found = std::lower_bound(kTable.begin(), kTable.end(), scancode,
                                      [](const ScancodeKey& entry, int code) { return entry.scancode < code; });
  return found != kTable.end() && found->scancode == scancode ? found->virtual_key : 0;
}

}  // namespace kest::platform
