#pragma once
// The vector glyph kernels, written once over a traits type (render/simd_traits_*.h) and
// instantiated by each level's translation unit with its own compiler flags. Internal linkage,
// like render/kernels_simd.h.
//
// A vector of mask values that are all 0 leaves the row alone and one of all 255 stores the
// colour, which is what most of a glyph is. The tail of a row goes through the same vector code
// on a small copy whose missing mask values are 0, so no pixel takes a different path from its
// neighbours and the scalar rules are needed for nothing but the reference.
//
// The layer rule divides twice. The first division is by 255 of t = m * (255 - a) <= 65025:
// (t + 1 + (t >> 8)) >> 8 gives it exactly over that whole range, in 16-bit lanes. The second,
// m * 255 / a, is done in single floats: both operands are exact, the quotient is correctly
// rounded, and a true quotient that is not a whole number lies at least 1/255 from one, far more
// than the rounding error, so truncating gives the integer quotient.

#include <cstdint>
#include <cstring>

#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"

namespace kest {
namespace {

template <typename T>
struct GlyphSimdKernels {
  using V = typename T::V;
  static constexpr int kStep = T::kPixels;
  static constexpr std::uint64_t kAllSet = kStep == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * kStep)) - 1;

  static std::uint64_t MaskBits(const std::uint8_t* m) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, m, kStep);
    return bits;
  }

  // The colour, whole and with its channels widened to 16-bit lanes as Mix takes them.
  struct Colour {
    V pixel, lo, hi;
    explicit Colour(std::uint32_t c)
        : pixel(T::Set32(c)), lo(T::UnpackLo8(pixel, T::Zero())), hi(T::UnpackHi8(pixel, T::Zero())) {}
  };

  // (c * w + d * (255 - w)) >> 8 per byte, with the weight w (0-255) and the mask m per 32-bit
  // lane; m = 255 gives the colour and m = 0 the pixel exactly. Those lanes use the weights 256
  // and 0 (or 0 and 256) instead of w and 255 - w, so the rule needs no selects and the chain
  // from one stamp's pixel to the next is short. Every sum stays below 2^16: at most 65025, or a
  // single term of at most 255 * 256.
  static V Mix(const Colour& c, V dv, V w32, V m32) {
    const V full = T::Cmpeq32(m32, T::Set32(255)), none = T::Cmpeq32(m32, T::Zero());
    V w_lo, w_hi, iw_lo, iw_hi;
    T::WidenWeights(T::Sub16(w32, full), w_lo, w_hi);
    T::WidenWeights(T::Sub16(T::Sub16(T::Set32(255), w32), none), iw_lo, iw_hi);
    const auto half = [](V c16, V d16, V w16, V iw16) {
      return T::Srli16_8(T::Add16(T::Mul16(c16, w16), T::Mul16(d16, iw16)));
    };
    return T::PackUs16(half(c.lo, T::UnpackLo8(dv, T::Zero()), w_lo, iw_lo),
                       half(c.hi, T::UnpackHi8(dv, T::Zero()), w_hi, iw_hi));
  }

  static void AntialiasVector(std::uint32_t* d, const std::uint8_t* m, const Colour& colour) {
    const std::uint64_t bits = MaskBits(m);
    if (bits == 0) return;
    if (bits == kAllSet) return T::Store(d, colour.pixel);
    const V m32 = T::LoadBytes32(m);
    T::Store(d, Mix(colour, T::Load(d), m32, m32));
  }

  // The layer rule on pixels and coverage held in registers (coverage one value per 32-bit lane).
  static void LayerInRegisters(V& dv, V& a32, V m32, const Colour& colour) {
    const V c255 = T::Set32(255);
    V weight = m32;
    // Once every lane is fully covered the coverage stays 255 and the weight is m * 255 / 255 = m,
    // as it is for most of an outline after its first full stamp.
    if (!T::AllLanes(T::Cmpeq32(a32, c255))) {
      // a + m * (255 - a) / 255; it is the new coverage of every lane (m = 0 keeps a, m = 255
      // gives 255).
      const V t = T::Mul16(m32, T::Sub16(c255, a32));
      a32 = T::Add16(a32, T::Srli16_8(T::Add16(T::Add16(t, T::Set32(1)), T::Srli16_8(t))));
      // D = min(255, m * 255 / a); a lane with nothing covered divides by 1 (it has m = 0, so
      // its weight is 0 and Mix keeps its pixel).
      const auto divisor = T::MaxF(T::ToFloat(a32), T::SetF(1.0f));
      weight = T::Truncate(T::MinF(T::DivF(T::ToFloat(T::Mul16(m32, c255)), divisor), T::SetF(255.0f)));
    }
    dv = Mix(colour, dv, weight, m32);
  }

  static void LayerVector(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, const Colour& colour) {
    const std::uint64_t bits = MaskBits(m);
    if (bits == 0) return;
    if (bits == kAllSet) {
      T::Store(d, colour.pixel);
      std::memset(a, 255, kStep);
      return;
    }
    V dv = T::Load(d), a32 = T::LoadBytes32(a);
    LayerInRegisters(dv, a32, T::LoadBytes32(m), colour);
    T::Store(d, dv);
    T::StoreBytes32(a, a32);
  }

  // Every stamp of the outline onto G neighbouring vectors of pixels, which stay in registers
  // meanwhile; their stamps are independent, so the processor overlaps them. `at` is the first
  // vector's place in the row.
  template <int G>
  static void OutlineVectors(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* const* rows, int at, int w,
                             const Colour& colour) {
    V dv[G], a32[G];
    for (int j = 0; j < G; ++j) {
      dv[j] = T::Load(d + j * kStep);
      a32[j] = T::LoadBytes32(a + j * kStep);
    }
    bool changed = false;
    for (int k = 0; k <= 2 * w; ++k) {
      if (rows[k] == nullptr) continue;
      const std::uint8_t* row = rows[k] + at;
      for (int dx = w; dx >= -w; --dx) {
        if (dx == 0 && k == w) continue;
        for (int j = 0; j < G; ++j) {
          const std::uint8_t* m = row - dx + j * kStep;
          const std::uint64_t bits = MaskBits(m);
          if (bits == 0) continue;
          changed = true;
          if (bits == kAllSet) {
            dv[j] = colour.pixel;
            a32[j] = T::Set32(255);
            continue;
          }
          LayerInRegisters(dv[j], a32[j], T::LoadBytes32(m), colour);
        }
      }
    }
    if (!changed) return;
    for (int j = 0; j < G; ++j) {
      T::Store(d + j * kStep, dv[j]);
      T::StoreBytes32(a + j * kStep, a32[j]);
    }
  }

  static void Antialias(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour) {
    const Colour kv(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) AntialiasVector(d + i, m + i, kv);
    if (i < n) {
      const auto rest = static_cast<std::size_t>(n - i);
      std::uint32_t dt[kStep] = {};
      std::uint8_t mt[kStep] = {};
      std::memcpy(dt, d + i, rest * 4);
      std::memcpy(mt, m + i, rest);
      AntialiasVector(dt, mt, kv);
      std::memcpy(d + i, dt, rest * 4);
    }
    T::End();
  }

  static void Layer(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, int n, std::uint32_t colour) {
    const Colour kv(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) LayerVector(d + i, a + i, m + i, kv);
    if (i < n) {
      const auto rest = static_cast<std::size_t>(n - i);
      std::uint32_t dt[kStep] = {};
      std::uint8_t at[kStep] = {}, mt[kStep] = {};
      std::memcpy(dt, d + i, rest * 4);
      std::memcpy(at, a + i, rest);
      std::memcpy(mt, m + i, rest);
      LayerVector(dt, at, mt, kv);
      std::memcpy(d + i, dt, rest * 4);
      std::memcpy(a + i, at, rest);
    }
    T::End();
  }

  static void OutlineRow(std::uint32_t* d, std::uint8_t* a, int n, const std::uint8_t* const* rows, int w,
                         std::uint32_t colour) {
    const Colour kv(colour);
    int i = 0;
    for (; i + 2 * kStep <= n; i += 2 * kStep) OutlineVectors<2>(d + i, a + i, rows, i, w, kv);
    for (; i + kStep <= n; i += kStep) OutlineVectors<1>(d + i, a + i, rows, i, w, kv);
    if (i < n) {
      // The mask rows are padded past the end, so only the pixels need a copy.
      const auto rest = static_cast<std::size_t>(n - i);
      std::uint32_t dt[kStep] = {};
      std::uint8_t at[kStep] = {};
      std::memcpy(dt, d + i, rest * 4);
      std::memcpy(at, a + i, rest);
      OutlineVectors<1>(dt, at, rows, i, w, kv);
      std::memcpy(d + i, dt, rest * 4);
      std::memcpy(a + i, at, rest);
    }
    T::End();
  }

  static constexpr GlyphKernels kTable = {&Antialias, &Layer, &OutlineRow};
};

}  // namespace
}  // namespace kest
