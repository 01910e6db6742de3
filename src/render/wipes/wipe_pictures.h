#pragma once
// Helpers the transition families share.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/row_engine.h"
#include "render/wipes/wipe.h"

namespace kest {

// a + b and a - b per byte, saturating, two bytes at a time (each lane of 0x00FF00FF carries one
// byte, with room for its carry or borrow above it). Adding the grey (v, v, v) lights a pixel by
// v and keeps its fourth byte.
inline std::uint32_t AddBytesSaturating(std::uint32_t a, std::uint32_t b) {
  const auto lanes = [](std::uint32_t x, std::uint32_t y) {
    const std::uint32_t sum = (x & 0x00FF00FFu) + (y & 0x00FF00FFu);
    return (sum | (((sum >> 8) & 0x00010001u) * 0xFFu)) & 0x00FF00FFu;
  };
  return lanes(a, b) | (lanes(a >> 8, b >> 8) << 8);
}
inline std::uint32_t SubBytesSaturating(std::uint32_t a, std::uint32_t b) {
  const auto lanes = [](std::uint32_t x, std::uint32_t y) {
    const std::uint32_t difference = ((x & 0x00FF00FFu) | 0x01000100u) - (y & 0x00FF00FFu);
    return difference & (((difference >> 8) & 0x00010001u) * 0xFFu) & 0x00FF00FFu;
  };
  return lanes(a, b) | (lanes(a >> 8, b >> 8) << 8);
}

// The grey colour (v, v, v) as a 32-bit pixel.
inline std::uint32_t Grey(std::uint32_t v) { return v * 0x010101u; }

// The mask picture's grey levels tiled over width x height, every grey 255 where no picture is
// (a missing or unreadable picture is reported once through WipeNotice). The picture is
// inverted first when `invert` is set; grey = (77R + 151G + 28B) >> 8.
std::vector<std::uint8_t> LoadGreyPlane(const std::string& name, std::int32_t width, std::int32_t height, bool invert);

// The source rectangle a zoom-in step stretches over the whole destination (W x H), zooming
// into (px, py): the old picture's part while `second_half` is false, else the new picture's.
struct ZoominSource {
  Rect source;
  bool second_half = false;
};
ZoominSource ZoominSourceRect(std::int32_t width, std::int32_t height, std::int32_t px, std::int32_t py,
                              std::int32_t position, std::int32_t duration);

// A mosaic step at progress b (0 to 1022): the shrunken size and the new picture's weight.
struct MosaicStage {
  std::int32_t width = 1, height = 1;
  int to_alpha = 0;
  bool from_shown = true;
};
MosaicStage MosaicStageAt(std::int64_t b, std::int32_t width, std::int32_t height);

// The transitions' own random numbers, seeded from the run's seed (made odd, so that the
// generator runs through its whole period whatever the run's seed is).
inline std::int32_t WipeRandomStart() { return static_cast<std::int32_t>(WipeRandomSeed() * 2u + 1u); }

// A 32-bit row of a surface seen through a view.
inline std::uint32_t* Row32(const SurfaceView& view, std::int32_t y) {
  return reinterpret_cast<std::uint32_t*>(view.At(0, y));
}

}  // namespace kest
