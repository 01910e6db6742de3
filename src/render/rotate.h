#pragma once
// The destination bounding box of a rotated and zoomed draw, which callers use to mark the area
// a DrawRotate will touch.

#include <cstdint>

#include "render/geometry.h"
#include "render/surface.h"

namespace kest {

// The box of a source of size width x height drawn with its pivot at (x, y): the four corners
// mapped by the rotation, truncated (right and bottom one past the largest coordinate). Empty
// when a zoom is not positive.
Rect RotatedBounds(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, const RotateZoom& rotate);

}  // namespace kest
