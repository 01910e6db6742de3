#pragma once
// The virtual-key codes that key events and the key system variables carry, by the names
// Windows gives them ("VK_RETURN" = 0x0D). Letters and digits are their upper-case ASCII codes.

#include <span>

#include "core/named_code.h"

namespace kest {

std::span<const NamedCode> VirtualKeyNames();

}  // namespace kest
