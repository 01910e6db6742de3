#pragma once
// Keys as the player knows them: Windows virtual-key codes. One fixed table maps the toolkit's
// scancodes (USB HID usage codes, the key's physical place on the keyboard) to the code the same
// key gives on a US-layout keyboard, the layout-independent choice; typed characters arrive as
// text input instead. Keys without a code (media keys, most language keys) are not reported.

#include <cstdint>
#include <span>

namespace kest::platform {

struct ScancodeKey {
  int scancode;
  std::uint8_t virtual_key;
};

// The whole table, ordered by scancode.
std::span<const ScancodeKey> ScancodeTable();

// The virtual-key code of a scancode, 0 when the key has none.
std::uint8_t VirtualKeyForScancode(int scancode);

}  // namespace kest::platform
