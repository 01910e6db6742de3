#pragma once
// Hand-made glyphs for the drawing tests: a mask from a list of values, rows top-down.

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "render/glyphs/font_pixel.h"

namespace kest::testing {

inline std::unique_ptr<TFontPixel> MakeGlyph(std::int32_t width, std::int32_t height,
                                             const std::vector<std::uint8_t>& values) {
  auto glyph = std::make_unique<TFontPixel>();
  glyph->mask.SetSize(width, height, 8);
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      glyph->mask.SetPixel(x, y, values[static_cast<std::size_t>(y * width + x)]);
  return glyph;
}

// A mask of random values, with runs of 0 and 255 as real glyphs have.
inline std::unique_ptr<TFontPixel> RandomGlyph(std::mt19937& random, std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> values(static_cast<std::size_t>(width * height));
  for (auto& v : values) {
    switch (random() % 4) {
      case 0: v = 0; break;
      case 1: v = 255; break;
      default: v = static_cast<std::uint8_t>(random()); break;
    }
  }
  return MakeGlyph(width, height, values);
}

}  // namespace kest::testing
