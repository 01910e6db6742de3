#pragma once
// Reading glyph masks in tests.

#include <cstdint>
#include <set>
#include <vector>

#include "render/glyphs/font_pixel.h"

namespace kest::testing {

// The mask's values, rows top-down.
inline std::vector<std::uint8_t> MaskValues(const TFontPixel& glyph) {
  std::vector<std::uint8_t> values;
  TDIBX& mask = const_cast<TDIBX&>(glyph.mask);
  for (std::int32_t y = 0; y < mask.Height(); ++y)
    for (std::int32_t x = 0; x < mask.Width(); ++x) values.push_back(*mask.PixelAddress(x, y));
  return values;
}

inline std::set<std::uint8_t> DistinctValues(const TFontPixel& glyph) {
  const auto values = MaskValues(glyph);
  return {values.begin(), values.end()};
}

}  // namespace kest::testing
