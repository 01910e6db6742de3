// Loading and saving surfaces: the formats are told apart by their first bytes.

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <mutex>

#include "core/errors.h"
#include "render/image_codec.h"
#include "render/row_engine.h"
#include "vfs/atomic_file.h"

namespace kest {

namespace {

LayeredImageLoader& RegisteredLayeredLoader() {
  static LayeredImageLoader loader;
  return loader;
}

bool HasBmpExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".bmp";
}

std::uint32_t RgbToNative(int bit_count, std::uint32_t rgb, std::uint8_t index, bool indexed) {
  switch (bit_count) {
    case 8: return indexed ? index : rgb & 0xFF;
    case 15:
    case 16: {
      // 0x00RRGGBB to the 0x00BBGGRR colour form, then to the native value.
      const std::uint32_t colour = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
      return static_cast<std::uint32_t>(ColorToNative(bit_count, static_cast<std::int32_t>(colour)));
    }
    default: return rgb;
  }
}

}  // namespace

void SetLayeredImageLoader(LayeredImageLoader loader) { RegisteredLayeredLoader() = std::move(loader); }

void CopyDecodedImage(const DecodedImage& image, TCustomDIBX& surface) {
  surface.SetSize(image.width, image.height, surface.BitCount());
  SurfaceView view(surface);
  if (!view.Ok()) return;
  const bool indexed = !image.indexes.empty();
  for (std::int32_t y = 0; y < image.height; ++y) {
    for (std::int32_t x = 0; x < image.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x);
      view.Format().Store(view.At(x, y),
                          RgbToNative(surface.BitCount(), image.pixels[i], indexed ? image.indexes[i] : 0, indexed));
    }
  }
}

void TCustomDIBX::LoadFromFile(const std::string& path) {
  if (!HasBmpExtension(path)) return;
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  const Bytes data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  CopyDecodedImage(DecodeBmp(data, path), *this);
}

bool TCustomDIBX::LoadFromStream(ByteSpan data, std::int32_t identification, const std::string& name) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    CopyDecodedImage(DecodeBmp(data, name), *this);
    return true;
  }
  if (data.size() >= 4 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') {
    CopyDecodedImage(DecodePng(data, name), *this);
    return true;
  }
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
    CopyDecodedImage(DecodeJpeg(data, name), *this);
    return true;
  }
  if (data.size() >= 4 && data[0] == 'Z' && data[1] == 'e' && data[2] == 'l' && data[3] == 'k') {
    const LayeredImageLoader& loader = RegisteredLayeredLoader();
    if (!loader) throw KestError(name + ": layered images cannot be loaded yet (no loader is registered)");
    CopyDecodedImage(loader(data, identification, name), *this);
    return true;
  }
  return false;
}

void TCustomDIBX::SaveToFile(const std::string& path) {
  if (!HasBmpExtension(path)) return;
  const Bytes bytes = EncodeBmp24(*this);
  WriteFileAtomically(path, bytes);
}

}  // namespace kest
