// Loading 1280 x 720 layered images into 32-bit surfaces, side by side with the libraries that do
// the same job: libpng (the same picture as PNG at level 1), libdeflate alone on the same block
// (the floor of a zlib block), memcpy (the floor of a raw block), libjpeg-turbo on the same stream,
// and an unordered_map find for a cache hit. Pictures are gradients with noise.

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>
#include <unordered_map>

#include "images/zelk.h"
#include "images/zelk_cache.h"
#include "images/zelk_fixture.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "render/jpeg_glue.h"
#include "support/temp_folder.h"
#include "vfs/deflate.h"
#include "vfs/file_manager.h"

namespace kest {
namespace {

constexpr std::int32_t kWidth = 1280, kHeight = 720;

ZelkPicture Gradient() {
  std::uint32_t state = 12345;
  return MakeZelkPicture(kWidth, kHeight, 32, [&](std::int32_t x, std::int32_t y) {
    state = state * 1664525u + 1013904223u;
    const std::uint32_t noise = state >> 29;
    return ((static_cast<std::uint32_t>(x * 255 / kWidth) + noise) << 16) |
           ((static_cast<std::uint32_t>(y * 255 / kHeight) + noise) << 8) | ((x + y) & 0xFF);
  });
}

Bytes ZelFile(ZelkCompression kind, std::int32_t tile = 0) {
  ZelkFileSpec spec;
  spec.compression = kind;
  spec.jpeg_quality = 90;
  spec.tile_width = spec.tile_height = tile;
  ZelkFrameSpec frame;
  frame.width = kWidth;
  frame.height = kHeight;
  frame.bit_count = 32;
  ZelkLayerSpec layer;
  layer.picture = Gradient();
  if (tile > 0) {
    // Every other tile repeats the first one.
    const std::int32_t count = ((kWidth + tile - 1) / tile) * ((kHeight + tile - 1) / tile);
    for (std::int32_t t = 0; t < count; ++t) layer.picture_tiles.push_back(t % 2 && t > 0 ? ZelkTileEntry{-2, 0} : kLiteralTile);
    for (std::int32_t t = 1; t < count; t += 2) {
      const std::int32_t across = (kWidth + tile - 1) / tile;
      const Rect to{(t % across) * tile, (t / across) * tile, std::min(kWidth, (t % across + 1) * tile),
                    std::min(kHeight, (t / across + 1) * tile)};
      if (to.Width() != tile || to.Height() != tile) {
        layer.picture_tiles[static_cast<std::size_t>(t)] = kLiteralTile;
        continue;
      }
      for (std::int32_t y = 0; y < tile; ++y)
        for (std::int32_t x = 0; x < tile; ++x) layer.picture.Set(to.left + x, to.top + y, layer.picture.Get(x, y));
    }
  }
  frame.layers = {layer};
  spec.frames = {frame};
  return WriteZelkFile(spec);
}

void LoadToSurface(benchmark::State& state, const Bytes& file) {
  state.counters["file_bytes"] = static_cast<double>(file.size());
  TDIBX surface(0, 0, 32);
  for (auto _ : state) {
    TZelkFrameList list;
    list.LoadFromStream(file, "bench.zel");
    TZelkFrameList::CopyToSurface(*list.frames[0], surface);
    benchmark::DoNotOptimize(surface.PixelAddress(0, 0));
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_ZelDeflate_kest(benchmark::State& state) { LoadToSurface(state, ZelFile(ZelkCompression::Zlib)); }
void BM_ZelRaw_kest(benchmark::State& state) { LoadToSurface(state, ZelFile(ZelkCompression::None)); }
void BM_ZelJpeg_kest(benchmark::State& state) { LoadToSurface(state, ZelFile(ZelkCompression::Jpeg)); }
void BM_ZelTiles_kest(benchmark::State& state) { LoadToSurface(state, ZelFile(ZelkCompression::Zlib, 32)); }

Bytes PngLevel1() {
  const ZelkPicture picture = Gradient();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Bytes out;
  png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t n) {
    auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
    o->insert(o->end(), data, data + n);
  }, nullptr);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t v = picture.Get(x, y);
      row[x * 3] = static_cast<std::uint8_t>(v >> 16);
      row[x * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
      row[x * 3 + 2] = static_cast<std::uint8_t>(v);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void BM_ZelDeflate_libpng(benchmark::State& state) {
  const Bytes png = PngLevel1();
  state.counters["file_bytes"] = static_cast<double>(png.size());
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(kWidth) * kHeight * 4);
  for (auto _ : state) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, png.data(), png.size());
    image.format = PNG_FORMAT_BGRA;
    png_image_finish_read(&image, nullptr, bgra.data(), 0, nullptr);
    benchmark::DoNotOptimize(bgra.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_ZelDeflate_inflate(benchmark::State& state) {
  const ZelkPicture picture = Gradient();
  const Bytes block = DeflateZlib(picture.Data());
  for (auto _ : state) {
    const Bytes rows = InflateZlib(block, "bench", picture.ByteSize());
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_ZelRaw_memcpy(benchmark::State& state) {
  const ZelkPicture picture = Gradient();
  std::vector<std::uint8_t> out(picture.ByteSize());
  for (auto _ : state) {
    std::memcpy(out.data(), picture.Data().data(), out.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_ZelJpeg_libjpeg_turbo(benchmark::State& state) {
  const ZelkPicture picture = Gradient();
  std::vector<std::uint32_t> rgb(picture.Data().size() / 4);
  std::memcpy(rgb.data(), picture.Data().data(), picture.Data().size());
  const Bytes jpeg = EncodeJpeg(kWidth, kHeight, rgb, 90);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
  char message[KEST_JPEG_MESSAGE_SIZE];
  for (auto _ : state) {
    kest_jpeg_decode(jpeg.data(), jpeg.size(), out.data(), static_cast<std::size_t>(kWidth) * 4, message);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_CacheHit_kest(benchmark::State& state) {
  testing::TempFolder game, temp;
  game.Write("hit.zel", ZelFile(ZelkCompression::None));
  TVrFileManager files(FileManagerOptions{.scan_optical_mounts = false, .temp_parent = temp.Path().string()});
  files.SetBaseFolder(game.Path().string() + "/");
  TZelkCollection cache(files);
  TZelkItem& held = cache.Acquire(1, "hit.zel", false, false);
  for (auto _ : state) {
    TZelkItem& item = cache.Acquire(2, "hit.zel", false, false);
    cache.Release(item, 2);
    benchmark::DoNotOptimize(&item);
  }
  cache.Release(held, 1);
}

void BM_CacheHit_unordered_map(benchmark::State& state) {
  std::unordered_map<std::string, int> map;
  for (int i = 0; i < 64; ++i) map["pic" + std::to_string(i) + ".zel"] = i;
  map["hit.zel"] = 99;
  const std::string key = "hit.zel";
  for (auto _ : state) benchmark::DoNotOptimize(map.find(key));
}

BENCHMARK(BM_ZelDeflate_kest)->Name("Image/ZelDeflate/kest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelDeflate_libpng)->Name("Image/ZelDeflate/libpng")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelDeflate_inflate)->Name("Image/ZelDeflate/inflate")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelRaw_kest)->Name("Image/ZelRaw/kest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelRaw_memcpy)->Name("Image/ZelRaw/memcpy")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelJpeg_kest)->Name("Image/ZelJpeg/kest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZelJpeg_libjpeg_turbo)->Name("Image/ZelJpeg/libjpeg-turbo")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CacheHit_kest)->Name("Image/CacheHit/kest");
BENCHMARK(BM_CacheHit_unordered_map)->Name("Image/CacheHit/unordered_map");
BENCHMARK(BM_ZelTiles_kest)->Name("Image/ZelTiles/kest")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
