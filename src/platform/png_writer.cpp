#include "platform/png_writer.h"

#include <png.h>

#include <vector>

#include "core/cp932.h"
#include "vfs/atomic_file.h"

namespace kest::platform {
namespace {

// libpng's simplified interface; its image structure must be released on every path.
class PngImage {
 public:
  PngImage() {
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  png_image* operator->() { return &image_; }
  png_image* get() { return &image_; }

 private:
  png_image image_{};
};

}  // namespace

Bytes EncodePng(const SurfaceView& surface) {
  const Size size = surface.size;
  if (surface.pixels == nullptr || size.width <= 0 || size.height <= 0) {
    throw PlatformError("screenshot: the surface is empty");
  }
  // Repack B, G, R, X rows (any pitch, either direction) into packed R, G, B rows.
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width) * size.height * 3);
  std::uint8_t* out = rgb.data();
  for (int y = 0; y < size.height; ++y) {
    const std::uint8_t* in = surface.Row(y);
    for (int x = 0; x < size.width; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  PngImage image;
  image->width = static_cast<png_uint_32>(size.width);
  image->height = static_cast<png_uint_32>(size.height);
  image->format = PNG_FORMAT_RGB;
  png_alloc_size_t length = 0;
  if (!png_image_write_to_memory(image.get(), nullptr, &length, 0, rgb.data(), 0, nullptr)) {
    throw PlatformError(cp932::FromUtf8Lenient(std::string("screenshot: ") + image->message));
  }
  Bytes png(length);
  if (!png_image_write_to_memory(image.get(), png.data(), &length, 0, rgb.data(), 0, nullptr)) {
    throw PlatformError(cp932::FromUtf8Lenient(std::string("screenshot: ") + image->message));
  }
  png.resize(length);
  return png;
}

void WritePngFile(const std::string& path, const SurfaceView& surface) {
  WriteFileAtomically(path, EncodePng(surface));
}

}  // namespace kest::platform
