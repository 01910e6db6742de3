#pragma once
// The AVX2 instructions as the traits type that the templated kernels are written over
// (render/kernels_simd.h, render/glyphs/glyph_kernels_simd.h): eight 32-bit pixels per vector.
// Only translation units compiled with -mavx2 include it; every kernel ends with End(), which is
// vzeroupper, so SSE code running after it pays no transition penalty.
// Internal linkage: each translation unit that includes it gets its own copy.

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace kest {
namespace {

struct Avx2 {
  using V = __m256i;
  static constexpr int kPixels = 8;
  static V Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, V v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static void StoreAligned(void* p, V v) { _mm256_store_si256(static_cast<__m256i*>(p), v); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V Set16(std::int16_t v) { return _mm256_set1_epi16(v); }
  static V Set32(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
  static V Mul16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  static V Srli16_8(V a) { return _mm256_srli_epi16(a, 8); }
  static V Slli16_8(V a) { return _mm256_slli_epi16(a, 8); }
  static V Srli32_8(V a) { return _mm256_srli_epi32(a, 8); }
  static V Slli32_8(V a) { return _mm256_slli_epi32(a, 8); }
  static V Slli32_16(V a) { return _mm256_slli_epi32(a, 16); }
  static V Cmpeq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V Select(V mask, V a, V b) { return _mm256_blendv_epi8(b, a, mask); }
  static V AddsU8(V a, V b) { return _mm256_adds_epu8(a, b); }
  static V SubsU8(V a, V b) { return _mm256_subs_epu8(a, b); }
  // Eight mask bytes, one per 32-bit lane.
  static V LoadBytes32(const std::uint8_t* m) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m)));
  }
  // Eight bytes, the low byte of each 32-bit lane (values 0-255). The packs work within each
  // 128-bit half, so each half's four bytes are taken from its own low word.
  static void StoreBytes32(std::uint8_t* out, V v) {
    const V words = _mm256_packs_epi32(v, v);
    const V bytes = _mm256_packus_epi16(words, words);
    const std::int32_t lo = _mm_cvtsi128_si32(_mm256_castsi256_si128(bytes));
    const std::int32_t hi = _mm_cvtsi128_si32(_mm256_extracti128_si256(bytes, 1));
    std::memcpy(out, &lo, 4);
    std::memcpy(out + 4, &hi, 4);
  }
  // A weight 0-256 per 32-bit lane as 16-bit lanes, four per pixel: the first two pixels of each
  // 128-bit half in `lo`, the other two in `hi`, matching UnpackLo8 and UnpackHi8 of the pixels.
  static void WidenWeights(V w32, V& lo, V& hi) {
    const V to_lo = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5,  //
                                     0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5);
    const V to_hi = _mm256_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13,  //
                                     8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13);
    lo = _mm256_shuffle_epi8(w32, to_lo);
    hi = _mm256_shuffle_epi8(w32, to_hi);
  }
  using F = __m256;
  static F ToFloat(V v) { return _mm256_cvtepi32_ps(v); }
  static F SetF(float v) { return _mm256_set1_ps(v); }
  static F DivF(F a, F b) { return _mm256_div_ps(a, b); }
  static F MinF(F a, F b) { return _mm256_min_ps(a, b); }
  static V Truncate(F v) { return _mm256_cvttps_epi32(v); }
  static bool AllLanes(V mask) { return _mm256_movemask_epi8(mask) == -1; }
  static F MaxF(F a, F b) { return _mm256_max_ps(a, b); }
  static void End() { _mm256_zeroupper(); }
};

}  // namespace
}  // namespace kest
