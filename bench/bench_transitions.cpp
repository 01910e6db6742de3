// Screen transitions at 1280 x 720: one step of every kind at a changing position
// (Transition/<Kind>/kest), and the mask composition against pixman's nearest equivalent
// (Transition/MaskCompose/kest and /pixman: SRC of the old picture, then OVER of the new one
// through an a8 mask). KEST_SIMD picks the kernel level.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <random>
#include <string>
#include <vector>

#include "render/dibx.h"
#include "render/row_engine.h"
#include "render/row_kernels.h"
#include "render/wipes/wipe.h"

namespace kest {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr std::int64_t kBytes = std::int64_t{kWidth} * kHeight * 4;
constexpr std::int32_t kDuration = 1000;

void Noise(TDIBX& s, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) s.SetPixel(x, y, random() & 0xFFFFFF);
}

struct Pictures {
  TDIBX destination{kWidth, kHeight, 32}, from{kWidth, kHeight, 32}, to{kWidth, kHeight, 32};
  Pictures() {
    Noise(from, 1);
    Noise(to, 2);
    SetMaskPictureLoader([](const std::string&, TCustomDIBX& picture) {
      picture.SetSize(256, 256, 32);
      for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) picture.SetPixel(x, y, static_cast<std::uint32_t>((x + y) / 2) * 0x010101u);
      return true;
    });
  }
};

Pictures& Shared() {
  static Pictures pictures;
  return pictures;
}

void Step(benchmark::State& state, std::int32_t kind) {
  Pictures& p = Shared();
  auto wipe = CreateWipe(kind, p.destination, p.from, p.to);
  wipe->SetMaskName("mask");
  wipe->SetDuration(kDuration);
  wipe->Prepare();
  std::int32_t position = 0;
  for (auto _ : state) {
    position = (position + 7) % kDuration;  // every step a new position, so masks change
    wipe->SetPosition(position);
    wipe->Step();
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

// ---- the composition of two pictures through a soft mask
void MaskComposeKest(benchmark::State& state) {
  Pictures& p = Shared();
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(kWidth) * kHeight);
  std::mt19937 random(3);
  for (auto& m : mask) m = static_cast<std::uint8_t>(random());
  SurfaceView out(p.destination), from(p.from), to(p.to);
  for (auto _ : state) {
    const RowKernels& kernels = ActiveKernels();
    for (int y = 0; y < kHeight; ++y)
      kernels.compose(reinterpret_cast<std::uint32_t*>(out.At(0, y)), reinterpret_cast<const std::uint32_t*>(from.At(0, y)),
                      reinterpret_cast<const std::uint32_t*>(to.At(0, y)), mask.data() + static_cast<std::size_t>(y) * kWidth,
                      kWidth);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

void MaskComposePixman(benchmark::State& state) {
  std::mt19937 random(5);
  std::vector<std::uint32_t> dst(static_cast<std::size_t>(kWidth) * kHeight), from(dst.size()), to(dst.size());
  std::vector<std::uint8_t> mask(dst.size());
  for (auto& v : from) v = random() | 0xFF000000u;
  for (auto& v : to) v = random() | 0xFF000000u;
  for (auto& m : mask) m = static_cast<std::uint8_t>(random());
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, dst.data(), kWidth * 4);
  pixman_image_t* f = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, from.data(), kWidth * 4);
  pixman_image_t* t = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, to.data(), kWidth * 4);
  pixman_image_t* m = pixman_image_create_bits(PIXMAN_a8, kWidth, kHeight, reinterpret_cast<std::uint32_t*>(mask.data()), kWidth);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, f, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    pixman_image_composite32(PIXMAN_OP_OVER, t, m, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  for (pixman_image_t* image : {d, f, t, m}) pixman_image_unref(image);
  state.SetBytesProcessed(state.iterations() * kBytes);
}

const bool kRegistered = [] {
  benchmark::RegisterBenchmark("Transition/MaskCompose/kest", MaskComposeKest);
  benchmark::RegisterBenchmark("Transition/MaskCompose/pixman", MaskComposePixman);
  for (const WipeKindInfo& kind : WipeKinds()) {
    if (!kind.make) continue;
    const std::string name = "Transition/" + std::string(kind.name.substr(3)) + "/kest";
    benchmark::RegisterBenchmark(name.c_str(), [code = kind.code](benchmark::State& state) { Step(state, code); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace kest
