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

// A mask of random values in runs of 1 to 12: empty, full or grey, as real glyphs have, so that
// whole vectors of 0 and of 255 occur as well as mixed ones.
inline std::unique_ptr<TFontPixel> RandomGlyph(std::mt19937& random, std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> values(static_cast<std::size_t>(width * height));
  for (std::size_t i = 0; i < values.size();) {
    const std::uint32_t kind = random() % 3;
    for (std::size_t run = 1 + random() % 12; run > 0 && i < values.size(); --run, ++i)
      values[i] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<std::uint8_t>(random());
  }
  return MakeGlyph(width, height, values);
}

}  // namespace kest::testing
