#pragma once
// The per-pixel rules of glyph drawing. They are the scalar reference, the 15/16-bit path and the
// tails of the vector kernels. Internal linkage on purpose, as in render/pixel_math.h: the vector
// kernels are compiled with other instruction-set flags and their copies must stay their own.

#include <algorithm>
#include <cstdint>

#include "render/pixel_format.h"
#include "render/pixel_math.h"

namespace kest {
namespace {

// Anti-aliased: 255 sets, 0 leaves, else (m * colour + (255 - m) * d) >> 8 per channel.
inline std::uint32_t AntialiasPixel32(std::uint32_t d, std::uint32_t m, std::uint32_t colour) {
  if (m == 0) return d;
  if (m == 255) return colour;
  return BlendPixel(colour, d, m);
}

inline std::uint32_t AntialiasNativePixel(const PixelFormat& format, std::uint32_t d, std::uint32_t m,
                                          std::uint32_t colour) {
  if (m == 0) return d;
  if (m == 255) return colour;
  return BlendNative(format, colour, d, m);
}

// Coverage after one stamp of m over a: a + m * (255 - a) / 255. Never above 255, and never below
// m, so the colour weight below never exceeds 255 either.
inline std::uint32_t AccumulateCoverage(std::uint32_t a, std::uint32_t m) { return a + m * (255 - a) / 255; }

// The colour weight of a stamp of m that brought the coverage to a. The cap at 255 guards a
// coverage surface that someone else wrote below the stamp's own value.
inline std::uint32_t LayerWeight(std::uint32_t m, std::uint32_t a) {
  if (a == 0) return 255;
  return std::min<std::uint32_t>(255, m * 255 / a);
}

// The layer rule on one pixel and its coverage. A mask value of 0 leaves both alone: taken through
// the formula it would darken the picture by one step (D = 0 gives (255 * d) >> 8) and, over empty
// coverage, paint the colour where the glyph has nothing.
template <typename Blend>
inline void LayerStep(std::uint32_t& d, std::uint8_t& a, std::uint32_t m, std::uint32_t colour, Blend blend) {
  if (m == 0) return;
  if (m == 255) {
    d = colour;
    a = 255;
    return;
  }
  const std::uint32_t covered = AccumulateCoverage(a, m);
  a = static_cast<std::uint8_t>(covered);
  d = blend(colour, d, LayerWeight(m, covered));
}

inline void LayerPixel32(std::uint32_t& d, std::uint8_t& a, std::uint32_t m, std::uint32_t colour) {
  LayerStep(d, a, m, colour, [](std::uint32_t s, std::uint32_t dv, std::uint32_t w) { return BlendPixel(s, dv, w); });
}

inline void LayerNativePixel(const PixelFormat& format, std::uint32_t& d, std::uint8_t& a, std::uint32_t m,
                             std::uint32_t colour) {
  LayerStep(d, a, m, colour,
            [&format](std::uint32_t s, std::uint32_t dv, std::uint32_t w) { return BlendNative(format, s, dv, w); });
}

// Row forms on 32-bit pixels: the scalar kernels and the tails of the vector ones.
inline void AntialiasRow32(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) d[i] = AntialiasPixel32(d[i], m[i], colour);
}

inline void LayerRow32(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) LayerPixel32(d[i], a[i], m[i], colour);
}

inline void OutlineRow32(std::uint32_t* d, std::uint8_t* a, int n, const std::uint8_t* const* rows, int w,
                         std::uint32_t colour) {
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k <= 2 * w; ++k) {
      if (rows[k] == nullptr) continue;
      for (int dx = w; dx >= -w; --dx)
        if (dx != 0 || k != w) LayerPixel32(d[i], a[i], rows[k][i - dx], colour);
    }
  }
}

}  // namespace
}  // namespace kest
