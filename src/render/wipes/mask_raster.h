#pragma once
// A small rasteriser for binary masks: filled sectors (pies) and discs, row by row. Pixel (x, y)
// is inside when its centre (x + 0.5, y + 0.5) is; each row is solved for its span once and the
// span's ends are checked against the exact test, so no pixel is tested one by one.

#include <cstdint>

namespace kest {

// An 8-bit mask, rows top-down, `width` bytes per row.
struct MaskCanvas {
  std::uint8_t* bits = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Sets to `value` the pixels whose direction from (cx, cy) lies in the turn that starts at
// `start_degrees` (0 up, growing clockwise on screen) and runs `sweep_degrees` clockwise
// (counter-clockwise when negative). A sweep of a full turn or more fills everything.
void FillSector(const MaskCanvas& canvas, double cx, double cy, double start_degrees, double sweep_degrees,
                std::uint8_t value);

// Sets to `value` the pixels closer than `radius` to (cx, cy).
void FillDisc(const MaskCanvas& canvas, double cx, double cy, double radius, std::uint8_t value);

}  // namespace kest
