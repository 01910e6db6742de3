#pragma once
// The process-wide colour tables built once for the screen's depth: the pixel value of every grey
// level in the screen's 16-bit format and in the 32-bit format (transitions add light through
// them), and the 256 colours of the fire effect in 16-bit form.

#include <array>
#include <cstdint>

namespace kest {

struct ColorTables {
  int depth = 15;
  std::array<std::uint16_t, 256> grey16{};  // 5-5-5 at depth 15, else 5-6-5
  std::array<std::uint32_t, 256> grey32{};  // 0x00GGGGGG
  std::array<std::uint16_t, 256> fire16{};  // 5-6-5, or 5-5-5 at depth 15
};

// The fire ramp as 32-bit pixels 0x00RRGGBB: black through dark red, red and orange to pale
// yellow.
const std::array<std::uint32_t, 256>& FirePalette32();

ColorTables BuildColorTables(int depth);

// The tables of the running screen; depth 15 until InitColorTables is called.
void InitColorTables(int depth);
const ColorTables& ScreenColorTables();

}  // namespace kest
