#pragma once
// Japanese line-breaking sets. A row may not start with closing punctuation and may not end with
// an opening bracket. The sets hold character codes (lead byte * 256 + trail byte for a
// double-byte character, the byte itself for a single-byte one), never byte strings: the trail
// bytes of "。" (0x81 0x42) or "「" (0x81 0x75) are the ASCII letters "B" and "u", which must stay
// free to start or end a row.

#include <array>
#include <cstdint>

namespace kest {

// 。、｣」』)）､｡!?！？】
inline constexpr std::array<std::uint16_t, 14> kNoLineStartCodes = {
    0x8142, 0x8141, 0x00A3, 0x8176, 0x8178, 0x0029, 0x816A,
    0x00A4, 0x00A1, 0x0021, 0x003F, 0x8149, 0x8148, 0x817A,
};

// ｢「『（([<【
inline constexpr std::array<std::uint16_t, 8> kNoLineEndCodes = {
    0x00A2, 0x8175, 0x8177, 0x8169, 0x0028, 0x005B, 0x003C, 0x8179,
};

// True when the character may not be the first of a row (it joins the run before it).
bool CannotStartRow(std::uint16_t code);

// True when the character may not be the last of a row (it moves on with what follows).
bool CannotEndRow(std::uint16_t code);

}  // namespace kest
