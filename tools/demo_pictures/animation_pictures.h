#pragma once
// The demo animation scene's pictures and motion, drawn in code: the generator writes them into
// the compiled demo title, and the end-to-end test checks the screen against the same values.
// Colours are 0x00RRGGBB.

#include <cstdint>

#include "images/motion.h"

namespace kest::demo {

inline constexpr std::uint32_t kAnimKey = 0x00FF00;
  // the key colour of the keyed pictures

// The animated sprite: eight 48 x 48 frames of 100 ms, a disc whose bright spot goes round.
inline constexpr std::int32_t kSpriteSide = 48;
inline constexpr std::int32_t kSpriteFrames = 8;
inline constexpr std::int32_t kSpriteDelay = 100;
// The spot's centre in frame f (a turn in eight steps), radius 14 around the middle.
inline constexpr std::int32_t kSpotX[kSpriteFrames] = {38, 34, 24, 14, 10, 14, 24, 34};
inline constexpr std::int32_t kSpotY[kSpriteFrames] = {24, 34, 38, 34, 24, 14, 10, 14};
inline std::uint32_t SpritePixel(std::int32_t frame, std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x - 24, dy = y - 24;
  if (dx * dx + dy * dy >= 22 * 22) return kAnimKey;
  const std::int32_t sx = x - kSpotX[frame], sy = y - kSpotY[frame];
  return sx * sx + sy * sy < 6 * 6 ? 0xFFF080u : 0x2060C0u;
}

// The sky tile: 64 x 32, blue with a white cloud, repeated and scrolled by the tile.
inline constexpr std::int32_t kCloudWidth = 64, kCloudHeight = 32;
inline std::uint32_t CloudPixel(std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x - 24, dy = (y - 18) * 2;
  return dx * dx + dy * dy < 18 * 18 ? 0xF0F0F0u : 0x5080D0u;
}

// The turning picture: a 64 x 64 arrow pointing right (so a turn shows), keyed outside.
inline constexpr std::int32_t kArrowSide = 64;
inline std::uint32_t ArrowPixel(std::int32_t x, std::int32_t y) {
  const bool shaft = x >= 8 && x < 40 && y >= 26 && y < 38;
  // The head: a triangle from x = 40, 40 pixels high, to its tip at x = 60.
  const std::int32_t head = x - 40, from_middle = y < 32 ? 32 - y : y - 31;
  const bool tip = head >= 0 && head < 20 && from_middle <= 20 - head;
  return shaft || tip ? 0xE04030u : kAnimKey;
}

// The radio buttons' pictures, 96 x 32: a frame and a dot, empty when off.
inline constexpr std::int32_t kRadioWidth = 96, kRadioHeight = 32;
enum class RadioLook { Off, Hover, On };
inline std::uint32_t RadioPixel(RadioLook look, std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 2 || x >= kRadioWidth - 2 || y >= kRadioHeight - 2) return 0xF0F0F0;
  const std::int32_t dx = x - 16, dy = y - 16;
  const std::int32_t d = dx * dx + dy * dy;
  if (d < 9 * 9 && (d >= 6 * 6 || look == RadioLook::On)) return look == RadioLook::On ? 0xFFC020u : 0xD0D0D0u;
  return look == RadioLook::Hover ? 0x607080u : 0x404850u;
}

// The pop buttons: a violet 64 x 32 picture, lighter under the pointer, and the clicked
// animation: four frames of 80 ms of a ring that grows.
inline constexpr std::int32_t kPopWidth = 64, kPopHeight = 32;
inline constexpr std::int32_t kPopFrames = 4;
inline constexpr std::int32_t kPopDelay = 80;
inline std::uint32_t PopPixel(bool hover, std::int32_t, std::int32_t) { return hover ? 0xB070E0u : 0x8040B0u; }
inline std::uint32_t PopFramePixel(std::int32_t frame, std::int32_t x, std::int32_t y) {
  const std::int32_t dx = x - 32, dy = y - 16;
  const std::int32_t r = 4 + frame * 4;
  const std::int32_t d = dx * dx + dy * dy;
  return d < r * r && d >= (r - 3) * (r - 3) ? 0xFFFFFFu : 0x8040B0u;
}

// The dancer that the motion file moves: a 32 x 32 orange square with a darker middle.
inline constexpr std::int32_t kDancerSide = 32;
inline std::uint32_t DancerPixel(std::int32_t x, std::int32_t y) {
  return x >= 8 && x < 24 && y >= 8 && y < 24 ? 0xA04010u : 0xF09030u;
}
// The motion (60 ticks a second): the dancer glides right for 60 ticks, slowing in, then its
// chained track drops it down for 60 ticks, speeding up, fading to half and cropped to its
// middle, then a third track turns it back to where it began.
inline constexpr std::int32_t kDanceLeg = 60;
// Where the dancer's middle is at the legs' ends, relative to the box that plays the motion.
inline constexpr MotionPoint kDanceCorners[3] = {{30, 30}, {230, 30}, {230, 110}};

}  // namespace kest::demo
