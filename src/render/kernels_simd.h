#pragma once
// The vector row kernels, written once over a traits type that names the instructions of one
// level (SSE2 with 4 pixels per vector, AVX2 with 8). Each translation unit that includes this
// header instantiates it with its own traits and its own compiler flags; everything here has
// internal linkage so the instantiations never mix.
//
// Channels are widened to 16-bit lanes: s * a + d * (255 - a) is at most 65025, so it fits.
// The unpack and pack instructions work within 128-bit lanes on AVX2, which keeps pixel order.

#include <cstdint>

#include "render/pixel_math.h"
#include "render/row_kernels.h"

namespace kest {
namespace {

template <typename T>
struct SimdKernels {
  using V = typename T::V;
  static constexpr int kStep = T::kPixels;

  static V At(const std::uint32_t* p) { return T::Load(p); }

  // (a * w + b * (255 - w)) >> 8 per byte, with w given per byte in 32-bit lanes (replicated).
  static V Mix(V a, V b, V w_bytes) {
    const V zero = T::Zero();
    return MixUniformHalves(a, b, T::UnpackLo8(w_bytes, zero), T::UnpackHi8(w_bytes, zero));
  }

  // Same with one weight for all pixels. s * w + d * (255 - w) = (d << 8) - d + (s - d) * w; the
  // true sum lies in 0 to 65025, so computing it modulo 2^16 (where the signed (s - d) * w wraps)
  // gives it exactly, with one multiply instead of two.
  static V MixUniform(V a, V b, V w16, V) { return MixUniformHalves(a, b, w16, w16); }

  static V MixUniformHalves(V a, V b, V w_lo, V w_hi) {
    const V zero = T::Zero();
    const auto half = [](V s16, V d16, V w16) {
      return T::Srli16_8(T::Add16(T::Sub16(T::Slli16_8(d16), d16), T::Mul16(T::Sub16(s16, d16), w16)));
    };
    return T::PackUs16(half(T::UnpackLo8(a, zero), T::UnpackLo8(b, zero), w_lo),
                       half(T::UnpackHi8(a, zero), T::UnpackHi8(b, zero), w_hi));
  }

  // (s * w) >> 8 per byte, w replicated per pixel in 32-bit lanes.
  static V Scale(V s, V w_bytes) {
    const V zero = T::Zero();
    const V lo = T::Srli16_8(T::Mul16(T::UnpackLo8(s, zero), T::UnpackLo8(w_bytes, zero)));
    const V hi = T::Srli16_8(T::Mul16(T::UnpackHi8(s, zero), T::UnpackHi8(w_bytes, zero)));
    return T::PackUs16(lo, hi);
  }

  static V ScaleUniform(V s, V w16) {
    const V zero = T::Zero();
    return T::PackUs16(T::Srli16_8(T::Mul16(T::UnpackLo8(s, zero), w16)),
                       T::Srli16_8(T::Mul16(T::UnpackHi8(s, zero), w16)));
  }

  // A value 0-255 in the low byte of each 32-bit lane, copied into all four bytes.
  static V Replicate(V v32) {
    const V two = T::Or(v32, T::Slli32_8(v32));
    return T::Or(two, T::Slli32_16(two));
  }

  // (x * k) >> 8 for x, k in 0-255 held in 32-bit lanes.
  static V ScaleByte(V x32, int k) { return T::Srli32_8(T::Mul16(x32, T::Set32(static_cast<std::uint32_t>(k)))); }

  static void CopyKeyed(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
    const V keyv = T::Set32(key);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V sv = At(s + i);
      T::Store(d + i, T::Select(T::Cmpeq32(sv, keyv), At(d + i), sv));
    }
    CopyKeyedRow(d + i, s + i, n - i, key);
    T::End();
  }

  static void Blend(std::uint32_t* d, const std::uint32_t* s, int n, int alpha, bool keyed, std::uint32_t key) {
    const V w = T::Set16(static_cast<std::int16_t>(alpha)), inv = T::Set16(static_cast<std::int16_t>(255 - alpha));
    const V keyv = T::Set32(key), key_on = keyed ? T::Set32(0xFFFFFFFFu) : T::Zero();
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V sv = At(s + i), dv = At(d + i);
      const V keep = T::Or(T::Cmpeq32(sv, dv), T::And(T::Cmpeq32(sv, keyv), key_on));
      T::Store(d + i, T::Select(keep, dv, MixUniform(sv, dv, w, inv)));
    }
    BlendRow(d + i, s + i, n - i, alpha, keyed, key);
    T::End();
  }

  static void Add(std::uint32_t* d, const std::uint32_t* s, int n, int level, bool keyed, std::uint32_t key) {
    const V w = T::Set16(static_cast<std::int16_t>(level));
    const V keyv = T::Set32(key), key_on = keyed ? T::Set32(0xFFFFFFFFu) : T::Zero();
    int i = 0;
    if (level == 255) {
      // (s * 255) >> 8 is s - 1 for every s from 1 to 255 and 0 for 0: a saturating subtract.
      const V one = T::Set32(0x01010101u);
      if (keyed) {
        for (; i + kStep <= n; i += kStep) {
          const V sv = At(s + i), dv = At(d + i);
          T::Store(d + i, T::Select(T::Cmpeq32(sv, keyv), dv, T::AddsU8(dv, T::SubsU8(sv, one))));
        }
      } else {
        for (; i + kStep <= n; i += kStep) T::Store(d + i, T::AddsU8(At(d + i), T::SubsU8(At(s + i), one)));
      }
    }
    for (; i + kStep <= n; i += kStep) {
      const V sv = At(s + i), dv = At(d + i);
      const V keep = T::And(T::Cmpeq32(sv, keyv), key_on);
      T::Store(d + i, T::Select(keep, dv, T::AddsU8(dv, ScaleUniform(sv, w))));
    }
    AddRow(d + i, s + i, n - i, level, keyed, key);
    T::End();
  }

  static void Mask(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n) {
    const V ones = T::Set32(0xFFFFFFFFu);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V sv = At(s + i), dv = At(d + i);
      const V wb = Replicate(T::LoadBytes32(m + i));
      const V mixed = T::Select(T::Cmpeq32(wb, ones), sv, Mix(sv, dv, wb));
      const V keep = T::Or(T::Cmpeq32(wb, T::Zero()), T::Cmpeq32(sv, dv));
      T::Store(d + i, T::Select(keep, dv, mixed));
    }
    MaskRow(d + i, s + i, m + i, n - i);
    T::End();
  }

  static void MaskAlpha(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int alpha) {
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V sv = At(s + i), dv = At(d + i);
      const V m32 = T::LoadBytes32(m + i);
      const V wb = Replicate(ScaleByte(m32, alpha));
      const V keep = T::Or(T::Cmpeq32(m32, T::Zero()), T::Cmpeq32(sv, dv));
      T::Store(d + i, T::Select(keep, dv, Mix(sv, dv, wb)));
    }
    MaskAlphaRow(d + i, s + i, m + i, n - i, alpha);
    T::End();
  }

  static void MaskAdd(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int level) {
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V wb = Replicate(ScaleByte(T::LoadBytes32(m + i), level));
      T::Store(d + i, T::AddsU8(At(d + i), Scale(At(s + i), wb)));
    }
    MaskAddRow(d + i, s + i, m + i, n - i, level);
    T::End();
  }

  static void ColorMask(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour, int alpha) {
    const V kv = T::Set32(colour);
    const V alpha32 = T::Set32(static_cast<std::uint32_t>(alpha));
    const V m255 = T::Set32(255);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V dv = At(d + i);
      const V m32 = T::LoadBytes32(m + i);
      V w32 = m32;
      if (alpha != 255) w32 = T::Select(T::Cmpeq32(m32, m255), alpha32, ScaleByte(m32, alpha));
      const V keep = T::Or(T::Cmpeq32(m32, T::Zero()), T::Cmpeq32(dv, kv));
      T::Store(d + i, T::Select(keep, dv, Mix(kv, dv, Replicate(w32))));
    }
    ColorMaskRow(d + i, m + i, n - i, colour, alpha);
    T::End();
  }

  static void FillAlpha(std::uint32_t* d, int n, std::uint32_t colour, int alpha) {
    const V kv = T::Set32(colour);
    const V w = T::Set16(static_cast<std::int16_t>(alpha)), inv = T::Set16(static_cast<std::int16_t>(255 - alpha));
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V dv = At(d + i);
      T::Store(d + i, T::Select(T::Cmpeq32(dv, kv), dv, MixUniform(kv, dv, w, inv)));
    }
    FillAlphaRow(d + i, n - i, colour, alpha);
    T::End();
  }

  static void FillAdd(std::uint32_t* d, int n, std::uint32_t colour) {
    const V kv = T::Set32(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) T::Store(d + i, T::AddsU8(At(d + i), kv));
    FillAddRow(d + i, n - i, colour);
    T::End();
  }

  static void FillSub(std::uint32_t* d, int n, std::uint32_t colour) {
    const V kv = T::Set32(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) T::Store(d + i, T::SubsU8(At(d + i), kv));
    FillSubRow(d + i, n - i, colour);
    T::End();
  }

  static void Compose(std::uint32_t* d, const std::uint32_t* f, const std::uint32_t* t, const std::uint8_t* m, int n) {
    const V ones = T::Set32(0xFFFFFFFFu);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
      const V fv = At(f + i), tv = At(t + i);
      const V wb = Replicate(T::LoadBytes32(m + i));
      const V mixed = T::Select(T::Cmpeq32(wb, ones), tv, Mix(tv, fv, wb));
      T::Store(d + i, T::Select(T::Cmpeq32(wb, T::Zero()), fv, mixed));
    }
    ComposeRow(d + i, f + i, t + i, m + i, n - i);
    T::End();
  }

  // Aligned wide stores, four vectors a round, between a scalar head and tail.
  static void Fill(std::uint32_t* d, std::size_t n, std::uint32_t colour) {
    const V kv = T::Set32(colour);
    std::size_t i = 0;
    constexpr std::size_t kAlign = sizeof(V);
    while (i < n && (reinterpret_cast<std::uintptr_t>(d + i) % kAlign) != 0) d[i++] = colour;
    for (; i + 4 * kStep <= n; i += 4 * kStep) {
      T::StoreAligned(d + i, kv);
      T::StoreAligned(d + i + kStep, kv);
      T::StoreAligned(d + i + 2 * kStep, kv);
      T::StoreAligned(d + i + 3 * kStep, kv);
    }
    for (; i + kStep <= n; i += kStep) T::StoreAligned(d + i, kv);
    FillRow(d + i, n - i, colour);
    T::End();
  }

  // Aligned stores, four vectors a round, from the first vector-aligned pixel on: a copy that
  // runs at the speed of memory.
  static void CopyAnd(std::uint32_t* d, const std::uint8_t* s, std::size_t n, std::uint32_t bits) {
    const V bv = T::Set32(bits);
    const auto at = [s](std::size_t pixel) { return T::Load(s + pixel * 4); };
    std::size_t i = 0;
    constexpr std::size_t kAlign = sizeof(V);
    while (i < n && (reinterpret_cast<std::uintptr_t>(d + i) % kAlign) != 0) {
      CopyAndRow(d + i, s + i * 4, 1, bits);
      ++i;
    }
    for (; i + 4 * kStep <= n; i += 4 * kStep) {
      const V a = at(i), b = at(i + kStep), c = at(i + 2 * kStep), e = at(i + 3 * kStep);
      T::StoreAligned(d + i, T::And(a, bv));
      T::StoreAligned(d + i + kStep, T::And(b, bv));
      T::StoreAligned(d + i + 2 * kStep, T::And(c, bv));
      T::StoreAligned(d + i + 3 * kStep, T::And(e, bv));
    }
    for (; i + kStep <= n; i += kStep) T::StoreAligned(d + i, T::And(at(i), bv));
    CopyAndRow(d + i, s + i * 4, n - i, bits);
    T::End();
  }

  static constexpr RowKernels kTable = {&CopyKeyed, &Blend,     &Add,     &Mask,    &MaskAlpha, &MaskAdd,
                                         &ColorMask, &FillAlpha, &FillAdd, &FillSub, &Compose,   &Fill,
                                         &CopyAnd};
};

}  // namespace
}  // namespace kest
