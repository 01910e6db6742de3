#pragma once
// Helpers the transition families share.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/row_engine.h"
#include "render/wipes/wipe.h"

namespace kest {

// Each colour channel plus (minus) level, saturating; the fourth byte is kept, as adding the
// grey colour (level, level, level) does.
inline std::uint32_t LightenPixel(std::uint32_t p, std::uint32_t level) {
  std::uint32_t out = p & 0xFF000000u;
  for (int k = 0; k < 24; k += 8) out |= std::min<std::uint32_t>(((p >> k) & 0xFF) + level, 255) << k;
  return out;
}
inline std::uint32_t DarkenPixel(std::uint32_t p, std::uint32_t level) {
  std::uint32_t out = p & 0xFF000000u;
  for (int k = 0; k < 24; k += 8) {
    const std::uint32_t c = (p >> k) & 0xFF;
    out |= (c > level ? c - level : 0) << k;
  }
  return out;
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
