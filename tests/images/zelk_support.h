#pragma once
// Small builders of layered image fixtures for the image tests.

#include <cstdint>
#include <string>

#include "images/zelk.h"
#include "images/zelk_fixture.h"

namespace kest::testing {

// A picture of one value everywhere.
inline ZelkPicture Flat(std::int32_t w, std::int32_t h, int bits, std::uint32_t value,
                        std::vector<std::uint32_t> palette = {}) {
  return MakeZelkPicture(w, h, bits, [&](std::int32_t, std::int32_t) { return value; }, std::move(palette));
}

// A picture whose value at (x, y) differs almost everywhere (masked to the depth).
inline ZelkPicture Pattern(std::int32_t w, std::int32_t h, int bits, std::uint32_t seed = 1) {
  const std::uint32_t mask = bits >= 24 ? 0x00FFFFFFu : bits == 16 || bits == 15 ? 0x7FFFu : (1u << bits) - 1;
  std::vector<std::uint32_t> palette;
  if (bits <= 8)
    for (std::uint32_t i = 0; i < (1u << bits); ++i) palette.push_back((i * 0x3F1A7Bu + 0x102030u) & 0xFFFFFF);
  return MakeZelkPicture(
      w, h, bits, [&](std::int32_t x, std::int32_t y) {
        return ((static_cast<std::uint32_t>(x) * 2654435761u) ^ (static_cast<std::uint32_t>(y) * 40503u + seed * 977u)) & mask;
      },
      palette);
}

inline ZelkLayerSpec LayerOf(ZelkPicture picture, std::int32_t opacity = 255, std::int32_t key = -1) {
  ZelkLayerSpec layer;
  layer.picture = std::move(picture);
  layer.opacity = opacity;
  layer.key = key;
  return layer;
}

inline ZelkFrameSpec FrameOf(const ZelkPicture& like, std::vector<ZelkLayerSpec> layers) {
  ZelkFrameSpec frame;
  frame.width = like.Width();
  frame.height = like.Height();
  frame.bit_count = like.BitCount();
  frame.palette = like.Palette();
  frame.layers = std::move(layers);
  return frame;
}

inline TZelkFrameList Read(const Bytes& file, std::int32_t code = 0, ZelkLoadOptions options = {}) {
  TZelkFrameList list(code);
  list.LoadFromStream(file, "test.zel", options);
  return list;
}

}  // namespace kest::testing
