// Surface operations at 1280 x 720 against pixman's nearest equivalents, side by side:
//   Surface/<Operation>/kest and Surface/<Operation>/pixman (and /memcpy for Draw).
// pixman works on premultiplied a8r8g8b8, so its OVER is the nearest match of a blend, OVER with
// an a8 mask of a mask draw, ADD of an additive draw, SRC of a copy or fill, and SRC or OVER with
// a nearest-filter transform of the scaled and rotated draws. KEST_SIMD picks the kernel level.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "render/dibx.h"

namespace kest {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr std::int64_t kBytes = std::int64_t{kWidth} * kHeight * 4;

void Noise(TCustomDIBX& s, std::uint32_t seed, std::uint32_t or_bits = 0) {
  std::mt19937 random(seed);
  for (int y = 0; y < s.Height(); ++y) {
    auto* row = s.PixelAddress(0, y);
    for (int x = 0; x < s.Width() * (s.BitCount() == 8 ? 1 : 4); ++x) row[x] = static_cast<std::uint8_t>(random());
    if (or_bits != 0)
      for (int x = 0; x < s.Width(); ++x) reinterpret_cast<std::uint32_t*>(row)[x] |= or_bits;
  }
}

// The kest side: destination, source and mask surfaces.
struct KestFixture {
  TDIBX dst{kWidth, kHeight, 32};
  TDIBX src{kWidth, kHeight, 32};
  TDIBX half{kWidth / 2, kHeight / 2, 32};
  TDIBX mask{kWidth, kHeight, 8};
  KestFixture() {
    Noise(dst, 1);
    Noise(src, 2);
    Noise(half, 3);
    Noise(mask, 4);
  }
};

KestFixture& Kest() {
  static KestFixture fixture;
  return fixture;
}

// The pixman side, on buffers of its own with the same contents.
struct PixmanFixture {
  std::vector<std::uint32_t> dst_bits, src_bits, half_bits;
  std::vector<std::uint8_t> mask_bits;
  pixman_image_t* dst = nullptr;
  pixman_image_t* src = nullptr;   // a8r8g8b8, opaque
  pixman_image_t* half = nullptr;  // a8r8g8b8, opaque
  pixman_image_t* mask = nullptr;  // a8
  pixman_image_t* solid = nullptr;
  PixmanFixture() {
    std::mt19937 random(5);
    dst_bits.resize(std::size_t{kWidth} * kHeight);
    src_bits.resize(dst_bits.size());
    half_bits.resize(dst_bits.size() / 4);
    mask_bits.resize(dst_bits.size());
    for (auto& p : dst_bits) p = random();
    for (auto& p : src_bits) p = random() | 0xFF000000u;
    for (auto& p : half_bits) p = random() | 0xFF000000u;
    for (auto& p : mask_bits) p = static_cast<std::uint8_t>(random());
    dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, dst_bits.data(), kWidth * 4);
    src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, src_bits.data(), kWidth * 4);
    half = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth / 2, kHeight / 2, half_bits.data(), kWidth / 2 * 4);
    mask = pixman_image_create_bits(PIXMAN_a8, kWidth, kHeight, reinterpret_cast<std::uint32_t*>(mask_bits.data()),
                                    kWidth);
    const pixman_color_t alpha{0x8080, 0x8080, 0x8080, 0x8080};
    solid = pixman_image_create_solid_fill(&alpha);
  }
};

PixmanFixture& Pixman() {
  static PixmanFixture fixture;
  return fixture;
}

void Bytes(benchmark::State& state) { state.SetBytesProcessed(state.iterations() * kBytes); }

// ---- DrawAlpha: blend at 128 / OVER with a solid 50 % mask
void DrawAlphaKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.DrawAlpha(0, 0, k.src, k.src.Bounds(), 128);
  Bytes(state);
}
void DrawAlphaPixman(benchmark::State& state) {
  auto& p = Pixman();
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_OVER, p.src, p.solid, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  Bytes(state);
}

// ---- DrawMask: copy through an 8-bit mask / OVER with an a8 mask
void DrawMaskKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.DrawMask(0, 0, k.src, k.src.Bounds(), k.mask);
  Bytes(state);
}
void DrawMaskPixman(benchmark::State& state) {
  auto& p = Pixman();
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_OVER, p.src, p.mask, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  Bytes(state);
}

// ---- DrawAdd: additive at full level / ADD
void DrawAddKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.DrawAdd(0, 0, k.src, k.src.Bounds(), 255);
  Bytes(state);
}
void DrawAddPixman(benchmark::State& state) {
  auto& p = Pixman();
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_ADD, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  Bytes(state);
}

// ---- FillRect / SRC fill
void FillRectKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.FillRect(k.dst.Bounds(), 0x00336699);
  Bytes(state);
}
void FillRectPixman(benchmark::State& state) {
  auto& p = Pixman();
  const pixman_color_t colour{0x3333, 0x6666, 0x9999, 0xFFFF};
  const pixman_box32_t box{0, 0, kWidth, kHeight};
  for (auto _ : state) pixman_image_fill_boxes(PIXMAN_OP_SRC, p.dst, &colour, 1, &box);
  Bytes(state);
}

// ---- Draw / SRC / memcpy of the same bytes
void DrawKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.Draw(0, 0, k.src, k.src.Bounds());
  Bytes(state);
}
void DrawPixman(benchmark::State& state) {
  auto& p = Pixman();
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  Bytes(state);
}
void DrawMemcpy(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) {
    std::memcpy(k.dst.PixelAddress(0, kHeight - 1), k.src.PixelAddress(0, kHeight - 1), static_cast<std::size_t>(kBytes));
    benchmark::ClobberMemory();
  }
  Bytes(state);
}

// ---- StretchDraw: 640 x 360 to 1280 x 720 / SRC with a nearest-filter scale
void StretchDrawKest(benchmark::State& state) {
  auto& k = Kest();
  for (auto _ : state) k.dst.StretchDraw(k.dst.Bounds(), k.half, k.half.Bounds(), 255);
  Bytes(state);
}
void StretchDrawPixman(benchmark::State& state) {
  auto& p = Pixman();
  pixman_transform_t scale;
  pixman_transform_init_scale(&scale, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(p.half, &scale);
  pixman_image_set_filter(p.half, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, p.half, nullptr, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  pixman_image_set_transform(p.half, nullptr);
  Bytes(state);
}

// ---- DrawRotate: the whole source turned by an eighth about its centre, copied / OVER with a
// nearest-filter rotation (outside the source pixman's transparent border leaves the destination).
void DrawRotateKest(benchmark::State& state) {
  auto& k = Kest();
  const RotateZoom turn{32, kWidth / 2, kHeight / 2, 256, 256};
  for (auto _ : state) k.dst.DrawRotate(kWidth / 2, kHeight / 2, k.src, k.src.Bounds(), turn, 255);
  Bytes(state);
}
void DrawRotatePixman(benchmark::State& state) {
  auto& p = Pixman();
  const double angle = std::numbers::pi / 4;
  pixman_transform_t t;
  // Destination to source: move the centre to the origin, turn back, move to the source centre.
  pixman_transform_init_translate(&t, pixman_int_to_fixed(-kWidth / 2), pixman_int_to_fixed(-kHeight / 2));
  pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(angle)), pixman_double_to_fixed(-std::sin(angle)));
  pixman_transform_translate(&t, nullptr, pixman_int_to_fixed(kWidth / 2), pixman_int_to_fixed(kHeight / 2));
  pixman_image_set_transform(p.src, &t);
  pixman_image_set_filter(p.src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_OVER, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
  pixman_image_set_transform(p.src, nullptr);
  Bytes(state);
}

BENCHMARK(DrawAlphaKest)->Name("Surface/DrawAlpha/kest");
BENCHMARK(DrawAlphaPixman)->Name("Surface/DrawAlpha/pixman");
BENCHMARK(DrawMaskKest)->Name("Surface/DrawMask/kest");
BENCHMARK(DrawMaskPixman)->Name("Surface/DrawMask/pixman");
BENCHMARK(DrawAddKest)->Name("Surface/DrawAdd/kest");
BENCHMARK(DrawAddPixman)->Name("Surface/DrawAdd/pixman");
BENCHMARK(FillRectKest)->Name("Surface/FillRect/kest");
BENCHMARK(FillRectPixman)->Name("Surface/FillRect/pixman");
BENCHMARK(DrawKest)->Name("Surface/Draw/kest");
BENCHMARK(DrawPixman)->Name("Surface/Draw/pixman");
BENCHMARK(DrawMemcpy)->Name("Surface/Draw/memcpy");
BENCHMARK(StretchDrawKest)->Name("Surface/StretchDraw/kest");
BENCHMARK(StretchDrawPixman)->Name("Surface/StretchDraw/pixman");
BENCHMARK(DrawRotateKest)->Name("Surface/DrawRotate/kest");
BENCHMARK(DrawRotatePixman)->Name("Surface/DrawRotate/pixman");

}  // namespace
}  // namespace kest
