#pragma once
// The SSE2 instructions as the traits type that the templated kernels are written over
// (render/kernels_simd.h, render/glyphs/glyph_kernels_simd.h): four 32-bit pixels per vector.
// SSE2 is part of every x86-64 processor.
// Internal linkage: each translation unit that includes it gets its own copy.

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace kest {
namespace {

struct Sse2 {
  using V = __m128i;
  static constexpr int kPixels = 4;
  static V Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, V v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static void StoreAligned(void* p, V v) { _mm_store_si128(static_cast<__m128i*>(p), v); }
  static V Zero() { return _mm_setzero_si128(); }
  static V Set16(std::int16_t v) { return _mm_set1_epi16(v); }
  static V Set32(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static V PackUs16(V a, V b) { return _mm_packus_epi16(a, b); }
  static V Mul16(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  static V Srli16_8(V a) { return _mm_srli_epi16(a, 8); }
  static V Slli16_8(V a) { return _mm_slli_epi16(a, 8); }
  static V Srli32_8(V a) { return _mm_srli_epi32(a, 8); }
  static V Slli32_8(V a) { return _mm_slli_epi32(a, 8); }
  static V Slli32_16(V a) { return _mm_slli_epi32(a, 16); }
  static V Cmpeq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V Select(V mask, V a, V b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  static V AddsU8(V a, V b) { return _mm_adds_epu8(a, b); }
  static V SubsU8(V a, V b) { return _mm_subs_epu8(a, b); }
  // Four mask bytes, one per 32-bit lane.
  static V LoadBytes32(const std::uint8_t* m) {
    std::int32_t four;
    std::memcpy(&four, m, 4);
    const V bytes = _mm_cvtsi32_si128(four);
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, Zero()), Zero());
  }
  // Four bytes, the low byte of each 32-bit lane (values 0-255).
  static void StoreBytes32(std::uint8_t* out, V v) {
    const V words = _mm_packs_epi32(v, v);
    const std::int32_t four = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(out, &four, 4);
  }
  // A weight 0-256 per 32-bit lane as 16-bit lanes, four per pixel: pixels 0 and 1 in `lo`,
  // 2 and 3 in `hi`, matching UnpackLo8 and UnpackHi8 of the pixels.
  static void WidenWeights(V w32, V& lo, V& hi) {
    const V pairs_lo = _mm_unpacklo_epi32(w32, w32), pairs_hi = _mm_unpackhi_epi32(w32, w32);
    lo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pairs_lo, 0), 0x00);
    hi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pairs_hi, 0), 0x00);
  }
  using F = __m128;
  static F ToFloat(V v) { return _mm_cvtepi32_ps(v); }
  static F SetF(float v) { return _mm_set1_ps(v); }
  static F DivF(F a, F b) { return _mm_div_ps(a, b); }
  static F MinF(F a, F b) { return _mm_min_ps(a, b); }
  static V Truncate(F v) { return _mm_cvttps_epi32(v); }
  static bool AllLanes(V mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
  static F MaxF(F a, F b) { return _mm_max_ps(a, b); }
  static void End() {}
};

}  // namespace
}  // namespace kest
