#pragma once
// The demo gallery's pictures, drawn in code: the generator writes them into the compiled demo
// title with the project's writers, and the end-to-end test checks the screen against the same
// formulas. Values are 0x00RRGGBB.

#include <cstdint>

namespace kest::demo {

// Where each picture shows on the gallery screen (its top-left).
struct Place {
  std::int32_t x, y, width, height;
};
inline constexpr Place kBackgroundPlace{20, 40, 200, 150};
inline constexpr Place kKeyedPlace{240, 40, 80, 80};
inline constexpr Place kSoftPlace{340, 40, 80, 80};
inline constexpr Place kPhotoPlace{20, 220, 160, 120};
inline constexpr Place kLayeredPlace{220, 220, 160, 128};
inline constexpr Place kMissingPlace{420, 220, 80, 80};

// The gallery's backdrop, as the title source gives it (0x00BBGGRR) and as a pixel.
inline constexpr std::int32_t kBackdropColour = 0x302018;
inline constexpr std::uint32_t kBackdropPixel = 0x182030;

// The transitions' mask picture, the whole screen: grey rings around the centre, bright in the
// middle, so a mask fade opens from the centre outwards.
inline std::uint32_t WipeMaskPixel(std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x - 320, dy = y - 240;
  const std::int32_t distance = dx * dx + dy * dy;  // at most 320² + 240² = 160000
  const auto grey = static_cast<std::uint32_t>(255 - distance * 255 / 160000);
  return (grey << 16) | (grey << 8) | grey;
}

// The background: a gradient with a fine pattern, so a wrong row order shows at once.
inline std::uint32_t BackgroundPixel(std::int32_t x, std::int32_t y) {
  const std::uint32_t r = static_cast<std::uint32_t>(x * 255 / 199);
  const std::uint32_t g = static_cast<std::uint32_t>(y * 255 / 149);
  const std::uint32_t b = static_cast<std::uint32_t>((x ^ y) & 0x3F) + 0x40;
  return (r << 16) | (g << 8) | b;
}

// The keyed sprite: a yellow disc; the key colour (green) outside it.
inline constexpr std::uint32_t kKeyColour = 0x00FF00;
inline bool InDisc(std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x - 40, dy = y - 40;
  return dx * dx + dy * dy < 36 * 36;
}
inline std::uint32_t KeyedPixel(std::int32_t x, std::int32_t y) { return InDisc(x, y) ? 0xF0D020u : kKeyColour; }

// The soft sprite: a blue square whose mask falls off from the centre.
inline std::uint32_t SoftPixel(std::int32_t, std::int32_t) { return 0x3050F0; }
inline std::uint8_t SoftMask(std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x < 40 ? 40 - x : x - 39, dy = y < 40 ? 40 - y : y - 39;
  const std::int32_t d = dx > dy ? dx : dy;  // 1..40
  return static_cast<std::uint8_t>(d <= 20 ? 255 : (40 - d) * 255 / 20);
}

// The JPEG picture: a smooth gradient, which survives quality 90 closely.
inline std::uint32_t PhotoPixel(std::int32_t x, std::int32_t y) {
  const std::uint32_t r = static_cast<std::uint32_t>(x * 255 / 159);
  const std::uint32_t g = static_cast<std::uint32_t>(200 - y);
  const std::uint32_t b = static_cast<std::uint32_t>((x + y) * 255 / 278);
  return (r << 16) | (g << 8) | b;
}

// The layered picture: a checkerboard of 16 x 16 tiles (stored once each and referred to), under
// a white band at opacity 128 over rows 48 to 79, keyed with black.
inline std::uint32_t CheckerPixel(std::int32_t x, std::int32_t y) {
  return ((x / 16 + y / 16) % 2) ? 0xC04040u : 0x40C040u;
}
inline std::uint32_t BandPixel(std::int32_t x, std::int32_t y) {
  return (y >= 48 && y < 80 && (x / 8) % 2 == 0) ? 0xFFFFFFu : 0x000000u;
}
// The composed layered picture at 32 bits: (d * 127 + s * 128) >> 8 where the band is.
inline std::uint32_t LayeredPixel(std::int32_t x, std::int32_t y) {
  const std::uint32_t d = CheckerPixel(x, y), s = BandPixel(x, y);
  if (s == 0) return d;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= ((((d >> shift) & 0xFF) * 127 + ((s >> shift) & 0xFF) * 128) >> 8) << shift;
  return out;
}

}  // namespace kest::demo
