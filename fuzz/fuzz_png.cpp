// Feeds the PNG decoder arbitrary bytes: any error must be a FormatError, and no input may crash
// it or make it allocate more than the data can decompress to.

#include <png.h>

#include <cstring>

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"

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
  return {WritePng(5, 3, PNG_FORMAT_RGBA), WritePng(4, 4, PNG_FORMAT_GRAY), WritePng(9, 2, PNG_FORMAT_RGB)};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::DecodePng(kest::ByteSpan(data, size), "fuzz.png");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
