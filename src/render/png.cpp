// PNG pictures through libpng's simplified reading interface, which reports errors as values.

#include <png.h>

#include <cstring>

#include "core/errors.h"
#include "render/image_codec.h"

namespace kest {

namespace {

// Deflate expands by at most about 1032 to 1; a picture whose raw rows would need more than
// that from the bytes given cannot be genuine, and is refused before its memory is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1100;

struct PngImage {
  png_image image;
  PngImage() {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
};

}  // namespace

DecodedImage DecodePng(ByteSpan data, const std::string& source) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) throw FormatError(source, 0, "not a PNG picture");
  PngImage png;
  if (png_image_begin_read_from_memory(&png.image, data.data(), data.size()) == 0)
    throw FormatError(source, 0, std::string("PNG header: ") + png.image.message);
  const std::uint32_t width = png.image.width, height = png.image.height;
  if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxImageSide) ||
      height > static_cast<std::uint32_t>(kMaxImageSide))
    throw FormatError(source, 16, "PNG size " + std::to_string(width) + " x " + std::to_string(height) +
                                      " is out of range");
  const std::uint64_t raw = static_cast<std::uint64_t>(height) * (PNG_IMAGE_ROW_STRIDE(png.image) + 1);
  if (raw / 4 > static_cast<std::uint64_t>(data.size()) * kMaxInflateRatio + 65536)
    throw FormatError(source, 16, "PNG size " + std::to_string(width) + " x " + std::to_string(height) +
                                      " is more than its " + std::to_string(data.size()) + " bytes can hold");
  png.image.format = PNG_FORMAT_BGRA;
  DecodedImage out;
  out.width = static_cast<std::int32_t>(width);
  out.height = static_cast<std::int32_t>(height);
  out.pixels.resize(static_cast<std::size_t>(width) * height);
  if (png_image_finish_read(&png.image, nullptr, out.pixels.data(), 0, nullptr) == 0)
    throw FormatError(source, 0, std::string("PNG data: ") + png.image.message);
  // The fourth byte of a pixel carries no meaning in a surface.
  for (auto& p : out.pixels) p &= 0x00FFFFFF;
  return out;
}

}  // namespace kest
