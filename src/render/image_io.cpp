// Loading and saving surfaces. Streams are told apart by their first bytes; files by their
// extension, as are the formats without a signature (TGA, icons and cursors).

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

bool HasBmpExtension(const std::string& path) { return LowerExtension(path) == ".bmp"; }

using Decoder = DecodedImage (*)(ByteSpan data, const std::string& source);

DecodedImage DecodeJpegOfAnySize(ByteSpan data, const std::string& source) { return DecodeJpeg(data, source); }

// The decoders chosen by a file name's extension.
struct ExtensionDecoder {
  const char* extension;
  Decoder decode;
};
constexpr ExtensionDecoder kExtensionDecoders[] = {
    {".png", DecodePng},  {".bmp", DecodeBmp},  {".dib", DecodeBmp},  {".gif", DecodeGif},
    {".tga", DecodeTga},  {".ico", DecodeIcon}, {".cur", DecodeIcon}, {".ani", DecodeAnimatedCursor},
    {".jpg", DecodeJpegOfAnySize}, {".jpeg", DecodeJpegOfAnySize},
};

Decoder DecoderForExtension(const std::string& name) {
  const std::string ext = LowerExtension(name);
  for (const ExtensionDecoder& entry : kExtensionDecoders)
    if (ext == entry.extension) return entry.decode;
  return nullptr;
}

// The decoders told apart by their first bytes.
Decoder DecoderForSignature(ByteSpan data) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp;
  if (data.size() >= 4 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return DecodePng;
  if (data.size() >= 4 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8') return DecodeGif;
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return DecodeJpegOfAnySize;
  return nullptr;
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

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

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

bool HasPictureExtension(const std::string& name) { return DecoderForExtension(name) != nullptr; }

DecodedImage DecodeImageByName(ByteSpan data, const std::string& name) {
  Decoder decode = DecoderForExtension(name);
  if (decode == nullptr) decode = DecoderForSignature(data);
  if (decode == nullptr) throw FormatError(name, 0, "not a picture in a known format");
  return decode(data, name);
}

void TCustomDIBX::LoadFromFile(const std::string& path) {
  if (DecoderForExtension(path) == nullptr) return;
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  const Bytes data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  CopyDecodedImage(DecodeImageByName(data, path), *this);
}

bool TCustomDIBX::LoadFromStream(ByteSpan data, std::int32_t identification, const std::string& name) {
  if (const Decoder decode = DecoderForSignature(data)) {
    CopyDecodedImage(decode(data, name), *this);
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
