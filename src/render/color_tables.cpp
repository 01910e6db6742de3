#include "render/color_tables.h"

namespace kest {

namespace {

// Points of the fire ramp (index, red, green, blue); the entries between are interpolated
// linearly per channel, truncating.
struct RampPoint {
  int index;
  int r, g, b;
};
constexpr RampPoint kFireRamp[] = {
    {0, 0, 0, 0}, {16, 51, 19, 1}, {64, 146, 62, 4}, {128, 223, 117, 9}, {192, 255, 192, 55}, {255, 255, 230, 175},
};

std::array<std::uint32_t, 256> MakeFirePalette() {
  std::array<std::uint32_t, 256> out{};
  for (std::size_t p = 0; p + 1 < std::size(kFireRamp); ++p) {
    const RampPoint a = kFireRamp[p], b = kFireRamp[p + 1];
    for (int i = a.index; i <= b.index; ++i) {
      const int t = i - a.index, span = b.index - a.index;
      const auto lerp = [&](int from, int to) { return static_cast<std::uint32_t>(from + (to - from) * t / span); };
      out[static_cast<std::size_t>(i)] = (lerp(a.r, b.r) << 16) | (lerp(a.g, b.g) << 8) | lerp(a.b, b.b);
    }
  }
  return out;
}

std::uint16_t To565(std::uint32_t rgb) {
  return static_cast<std::uint16_t>((((rgb >> 16) & 0xFF) >> 3) << 11 | (((rgb >> 8) & 0xFF) >> 2) << 5 | ((rgb & 0xFF) >> 3));
}

// 5-6-5 to 5-5-5: red and the upper five green bits move down one bit; the lowest green bit goes.
std::uint16_t To555(std::uint16_t v) {
  return static_cast<std::uint16_t>(((v >> 1) & 0x7C00) | ((v >> 1) & 0x03E0) | (v & 0x001F));
}

ColorTables& Current() {
  static ColorTables tables = BuildColorTables(15);
  return tables;
}

}  // namespace

const std::array<std::uint32_t, 256>& FirePalette32() {
  static const std::array<std::uint32_t, 256> palette = MakeFirePalette();
  return palette;
}

ColorTables BuildColorTables(int depth) {
  ColorTables t;
  t.depth = depth;
  for (std::uint32_t g = 0; g < 256; ++g) {
    const std::uint32_t five = g >> 3, six = g >> 2;
    t.grey16[g] = static_cast<std::uint16_t>(depth == 15 ? (five << 10 | five << 5 | five) : (five << 11 | six << 5 | five));
    t.grey32[g] = g << 16 | g << 8 | g;
    const std::uint16_t fire = To565(FirePalette32()[g]);
    t.fire16[g] = depth == 15 ? To555(fire) : fire;
  }
  return t;
}

void InitColorTables(int depth) { Current() = BuildColorTables(depth); }
const ColorTables& ScreenColorTables() { return Current(); }

}  // namespace kest
