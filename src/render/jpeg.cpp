// JPEG pictures through libjpeg (the C glue keeps its error jumps out of C++ frames).

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/errors.h"
#include "render/image_codec.h"
#include "render/jpeg_glue.h"

namespace kest {

namespace {

// The most pixels a JPEG picture may have: a picture past it is refused before decoding.
constexpr std::uint64_t kMaxJpegPixels = std::uint64_t{8192} * 8192;

struct MallocFree {
  void operator()(std::uint8_t* p) const { std::free(p); }
};

// Bytes C, M, Y, K (a little-endian word) to 0x00RRGGBB: red = (255 - C) * (255 - K) / 255, and
// so on; Adobe writes them inverted.
std::uint32_t CmykToRgb(std::uint32_t p, bool adobe) {
  std::uint32_t c = p & 0xFF, m = (p >> 8) & 0xFF, y = (p >> 16) & 0xFF, k = p >> 24;
  if (!adobe) {
    c = 255 - c;
    m = 255 - m;
    y = 255 - y;
    k = 255 - k;
  }
  const std::uint32_t r = c * k / 255, g = m * k / 255, b = y * k / 255;
  return (r << 16) | (g << 8) | b;
}

std::string SizeText(std::uint32_t width, std::uint32_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

JpegSize ReadJpegSize(ByteSpan data, const std::string& source) {
  kest_jpeg_info info{};
  char message[KEST_JPEG_MESSAGE_SIZE];
  if (!kest_jpeg_read_info(data.data(), data.size(), &info, message))
    throw FormatError(source, 0, std::string("JPEG header: ") + message);
  return {static_cast<std::int32_t>(info.width), static_cast<std::int32_t>(info.height)};
}

DecodedImage DecodeJpeg(ByteSpan data, const std::string& source, const JpegSize& expected) {
  kest_jpeg_info info{};
  char message[KEST_JPEG_MESSAGE_SIZE];
  if (!kest_jpeg_read_info(data.data(), data.size(), &info, message))
    throw FormatError(source, 0, std::string("JPEG header: ") + message);
  if (info.width == 0 || info.height == 0 || info.width > static_cast<std::uint32_t>(kMaxImageSide) ||
      info.height > static_cast<std::uint32_t>(kMaxImageSide) ||
      static_cast<std::uint64_t>(info.width) * info.height > kMaxJpegPixels)
    throw FormatError(source, 0, "JPEG size " + SizeText(info.width, info.height) + " is out of range");
  if (expected.width != 0 && (static_cast<std::int32_t>(info.width) != expected.width ||
                              static_cast<std::int32_t>(info.height) != expected.height))
    throw FormatError(source, 0, "JPEG size " + SizeText(info.width, info.height) + " differs from the frame's " +
                                     SizeText(static_cast<std::uint32_t>(expected.width),
                                              static_cast<std::uint32_t>(expected.height)));
  DecodedImage out;
  out.width = static_cast<std::int32_t>(info.width);
  out.height = static_cast<std::int32_t>(info.height);
  out.pixels.resize(static_cast<std::size_t>(info.width) * info.height);
  DecodeJpegInto(data, source, out.width, out.height, reinterpret_cast<std::uint8_t*>(out.pixels.data()),
                 static_cast<std::size_t>(info.width) * 4);
  return out;
}

void DecodeJpegInto(ByteSpan data, const std::string& source, std::int32_t width, std::int32_t height,
                    std::uint8_t* rows, std::size_t stride) {
  kest_jpeg_info info{};
  char message[KEST_JPEG_MESSAGE_SIZE];
  const int result = kest_jpeg_decode_sized(data.data(), data.size(), static_cast<std::uint32_t>(width),
                                            static_cast<std::uint32_t>(height), rows, stride, &info, message);
  if (result == KEST_JPEG_BAD_HEADER) throw FormatError(source, 0, std::string("JPEG header: ") + message);
  if (result == KEST_JPEG_OTHER_SIZE)
    throw FormatError(source, 0, "JPEG size " + SizeText(info.width, info.height) + " differs from the frame's " +
                                     SizeText(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)));
  if (result != KEST_JPEG_DECODED) throw FormatError(source, 0, std::string("JPEG data: ") + message);
  if (!info.cmyk) return;
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row = rows + static_cast<std::size_t>(y) * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint32_t p;
      std::memcpy(&p, row + static_cast<std::size_t>(x) * 4, 4);
      p = CmykToRgb(p, info.adobe != 0);
      std::memcpy(row + static_cast<std::size_t>(x) * 4, &p, 4);
    }
  }
}

Bytes EncodeJpeg(std::int32_t width, std::int32_t height, std::span<const std::uint32_t> pixels, int quality) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    throw KestError("JPEG encoding: the pixels do not match the size " + std::to_string(width) + " x " +
                    std::to_string(height));
  std::uint8_t* stream = nullptr;
  std::size_t size = 0;
  char message[KEST_JPEG_MESSAGE_SIZE];
  if (!kest_jpeg_encode(reinterpret_cast<const std::uint8_t*>(pixels.data()), static_cast<std::uint32_t>(width),
                        static_cast<std::uint32_t>(height), quality < 1 ? 1 : quality > 100 ? 100 : quality, &stream,
                        &size, message))
    throw KestError(std::string("JPEG encoding: ") + message);
  const std::unique_ptr<std::uint8_t, MallocFree> owned(stream);
  return Bytes(stream, stream + size);
}

}  // namespace kest
