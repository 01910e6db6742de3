#pragma once
// The Windows virtual-key codes the player itself answers: its widgets and its shortcuts.

#include <cstdint>

namespace kest::ui::vk {

inline constexpr std::uint8_t kTab = 0x09;
inline constexpr std::uint8_t kReturn = 0x0D;
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kAlt = 0x12;  // VK_MENU
inline constexpr std::uint8_t kEscape = 0x1B;
inline constexpr std::uint8_t kSpace = 0x20;
inline constexpr std::uint8_t kPageUp = 0x21;    // VK_PRIOR
inline constexpr std::uint8_t kPageDown = 0x22;  // VK_NEXT
inline constexpr std::uint8_t kEnd = 0x23;
inline constexpr std::uint8_t kHome = 0x24;
inline constexpr std::uint8_t kLeft = 0x25;
inline constexpr std::uint8_t kUp = 0x26;
inline constexpr std::uint8_t kRight = 0x27;
inline constexpr std::uint8_t kDown = 0x28;
inline constexpr std::uint8_t kQ = 0x51;  // letters are their upper-case ASCII codes

}  // namespace kest::ui::vk
