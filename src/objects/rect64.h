#pragma once
// Rectangle arithmetic of the object model: positions are summed over the parent chain in
// 64 bits and clamped to 32 bits only when a rectangle is made, so deep or far-off objects
// cannot overflow.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "render/geometry.h"

namespace kest {

constexpr std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

constexpr Rect MakeRect(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
  return {Clamp32(left), Clamp32(top), Clamp32(left + width), Clamp32(top + height)};
}

constexpr Rect Union(const Rect& a, const Rect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

constexpr bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace kest
