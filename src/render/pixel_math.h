#pragma once
// Per-pixel formulas on 32-bit pixels, byte by byte. They are the scalar reference and the tails
// of the vector kernels. Internal linkage on purpose: the vector kernels are compiled with other
// instruction-set flags, and their copies of these functions must never replace the plain ones.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kest {
namespace {

inline std::uint32_t Byte(std::uint32_t v, int k) { return (v >> (8 * k)) & 0xFFu; }

inline std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d, std::uint32_t alpha) {
  std::uint32_t out = 0;
  for (int k = 0; k < 4; ++k) out |= ((Byte(s, k) * alpha + Byte(d, k) * (255 - alpha)) >> 8) << (8 * k);
  return out;
}

inline std::uint32_t AddScaledPixel(std::uint32_t d, std::uint32_t s, std::uint32_t level) {
  std::uint32_t out = 0;
  for (int k = 0; k < 4; ++k) {
    const std::uint32_t sum = Byte(d, k) + ((Byte(s, k) * level) >> 8);
    out |= (sum > 255 ? 255 : sum) << (8 * k);
  }
  return out;
}

inline std::uint32_t AddSaturatePixel(std::uint32_t d, std::uint32_t c) {
  std::uint32_t out = 0;
  for (int k = 0; k < 4; ++k) {
    const std::uint32_t sum = Byte(d, k) + Byte(c, k);
    out |= (sum > 255 ? 255 : sum) << (8 * k);
  }
  return out;
}

inline std::uint32_t SubSaturatePixel(std::uint32_t d, std::uint32_t c) {
  std::uint32_t out = 0;
  for (int k = 0; k < 4; ++k) {
    const std::uint32_t a = Byte(d, k), b = Byte(c, k);
    out |= (a > b ? a - b : 0) << (8 * k);
  }
  return out;
}

inline std::uint32_t ColorMaskWeight(std::uint32_t m, std::uint32_t alpha) {
  if (alpha == 255) return m;
  if (m == 255) return alpha;
  return (alpha * m) >> 8;
}

// Row forms, used for the scalar table and for the tails of the vector kernels.
inline void CopyKeyedRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i)
    if (s[i] != key) d[i] = s[i];
}

inline void BlendRow(std::uint32_t* d, const std::uint32_t* s, int n, int alpha, bool keyed,
                     std::uint32_t key) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == d[i] || (keyed && s[i] == key)) continue;
    d[i] = BlendPixel(s[i], d[i], static_cast<std::uint32_t>(alpha));
  }
}

inline void AddRow(std::uint32_t* d, const std::uint32_t* s, int n, int level, bool keyed, std::uint32_t key) {
  for (int i = 0; i < n; ++i) {
    if (keyed && s[i] == key) continue;
    d[i] = AddScaledPixel(d[i], s[i], static_cast<std::uint32_t>(level));
  }
}

inline void MaskRow(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n) {
  for (int i = 0; i < n; ++i) {
    if (m[i] == 0 || s[i] == d[i]) continue;
    d[i] = m[i] == 255 ? s[i] : BlendPixel(s[i], d[i], m[i]);
  }
}

inline void MaskAlphaRow(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int alpha) {
  for (int i = 0; i < n; ++i) {
    if (m[i] == 0 || s[i] == d[i]) continue;
    d[i] = BlendPixel(s[i], d[i], (static_cast<std::uint32_t>(alpha) * m[i]) >> 8);
  }
}

inline void MaskAddRow(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int level) {
  for (int i = 0; i < n; ++i) {
    if (m[i] == 0) continue;
    d[i] = AddScaledPixel(d[i], s[i], (static_cast<std::uint32_t>(level) * m[i]) >> 8);
  }
}

inline void ColorMaskRow(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour, int alpha) {
  for (int i = 0; i < n; ++i) {
    if (m[i] == 0 || d[i] == colour) continue;
    d[i] = BlendPixel(colour, d[i], ColorMaskWeight(m[i], static_cast<std::uint32_t>(alpha)));
  }
}

inline void FillAlphaRow(std::uint32_t* d, int n, std::uint32_t colour, int alpha) {
  for (int i = 0; i < n; ++i)
    if (d[i] != colour) d[i] = BlendPixel(colour, d[i], static_cast<std::uint32_t>(alpha));
}

inline void FillAddRow(std::uint32_t* d, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) d[i] = AddSaturatePixel(d[i], colour);
}

inline void FillSubRow(std::uint32_t* d, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) d[i] = SubSaturatePixel(d[i], colour);
}

inline void FillRow(std::uint32_t* d, std::size_t n, std::uint32_t colour) {
  for (std::size_t i = 0; i < n; ++i) d[i] = colour;
}

inline void CopyAndRow(std::uint32_t* d, const std::uint8_t* s, std::size_t n, std::uint32_t bits) {
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t v;
    std::memcpy(&v, s + i * 4, 4);
    d[i] = v & bits;
  }
}

inline void ComposeRow(std::uint32_t* d, const std::uint32_t* f, const std::uint32_t* t, const std::uint8_t* m, int n) {
  for (int i = 0; i < n; ++i) d[i] = m[i] == 0 ? f[i] : m[i] == 255 ? t[i] : BlendPixel(t[i], f[i], m[i]);
}

}  // namespace
}  // namespace kest
