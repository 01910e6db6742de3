#pragma once
// Fills the "%s" and "%d" places of a message pattern in order. Message patterns come from the
// player's tables and some texts from title files, so they are never handed to printf.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kest {

std::string FillMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace kest
