// Feeds the PNG decoder arbitrary bytes: any error must be a FormatError, and no input may crash
// it or make it allocate more than the data can decompress to.

#include <png.h>

#include <cstring>

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

namespace {

kest::Bytes WritePng(std::uint32_t width, std::uint32_t height, std::uint32_t format) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 13);
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr) == 0) return {};
  kest::Bytes out(size);
  if (png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr) == 0) return {};
  out.resize(size);
  return out;
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds = {WritePng(5, 3, PNG_FORMAT_RGBA), WritePng(4, 4, PNG_FORMAT_GRAY),
                                    WritePng(9, 2, PNG_FORMAT_RGB)};
  // Low depths, 16 bits, palettes, every tRNS form, and Adam7 interlace on 9 x 9 pictures.
  struct Form {
    int colour_type, depth;
    bool interlace;
    kest::Bytes trns;
  };
  const Form forms[] = {{0, 1, true, {}},          {0, 4, false, {0, 3}},      {0, 16, true, {0x12, 0x34}},
                        {2, 8, true, {0, 1, 0, 2, 0, 3}}, {2, 16, false, {}},  {3, 2, true, {255, 0}},
                        {3, 8, false, {0, 128, 255}},     {4, 16, true, {}},   {6, 16, true, {}}};
  for (const Form& f : forms) {
    kest::testing::PngSpec spec;
    spec.width = spec.height = 9;
    spec.colour_type = f.colour_type;
    spec.bit_depth = f.depth;
    spec.interlace = f.interlace;
    spec.trns = f.trns;
    const int levels = f.depth >= 8 ? (f.depth == 16 ? 65536 : 256) : 1 << f.depth;
    const int channels = kest::testing::PngChannels(f.colour_type);
    for (int i = 0; i < 81 * channels; ++i) spec.samples.push_back(static_cast<std::uint16_t>((i * 37) % levels));
    if (f.colour_type == 3)
      for (int i = 0; i < (1 << f.depth); ++i)
        spec.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7), 9});
    seeds.push_back(kest::testing::WritePng(spec));
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::DecodePng(kest::ByteSpan(data, size), "fuzz.png");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
