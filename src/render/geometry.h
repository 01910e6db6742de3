#pragma once
// Rectangles and the small enums that drawing operations take instead of bare Booleans.

#include <algorithm>
#include <cstdint>

namespace kest {

// Half-open: covers columns left to right - 1 and rows top to bottom - 1.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  constexpr std::int32_t Width() const { return right - left; }
  constexpr std::int32_t Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

constexpr Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

constexpr Rect Offset(const Rect& r, std::int32_t dx, std::int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Mirroring of a source while it is drawn.
enum class Flip : std::uint8_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };
// The flip of a horizontal and a vertical mirror flag.
constexpr Flip FlipOf(bool horizontal, bool vertical) {
  return static_cast<Flip>((horizontal ? 1 : 0) | (vertical ? 2 : 0));
}
constexpr Flip operator|(Flip a, Flip b) {
  return static_cast<Flip>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool FlipsH(Flip f) { return (static_cast<std::uint8_t>(f) & 1) != 0; }
constexpr bool FlipsV(Flip f) { return (static_cast<std::uint8_t>(f) & 2) != 0; }

// Whether source pixels equal to the source's transparent colour are skipped.
enum class Keyed : bool { No = false, Yes = true };

}  // namespace kest
