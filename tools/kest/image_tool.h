#pragma once
// The work of `kest img`: listing a layered image, turning its frames into RGBA PNG pictures, and
// writing PNG pictures as a layered image.

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "images/zelk.h"

namespace kest::tool {

// The listing of a layered image: signature, header fields the version has, and per frame its
// fields, layers with their blocks, and rectangles. JSON with `json`, else lines of text.
std::string DescribeLayeredImage(ByteSpan file, const std::string& name, bool json);

// One 8-bit RGBA picture, rows top-down, bytes R, G, B, A.
struct RgbaPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> rgba;
};

// Every frame of a layered image (or the one picture of a .png or .bmp file), composed by the
// reader without finishing: RGB from the picture (through the palette at 8 bits or less), A from
// the frame's mask, else 0 where the pixel is the key and 255 elsewhere.
std::vector<RgbaPicture> FramesAsRgba(ByteSpan file, const std::string& name, std::int32_t identification);

Bytes EncodeRgbaPng(const RgbaPicture& picture);
RgbaPicture DecodeRgbaPng(ByteSpan file, const std::string& name);

struct FromPngOptions {
  ZelkCompression compression = ZelkCompression::Zlib;
  int quality = 70;
  std::int32_t identification = 0;
};

// The pictures as 24-bit frames of a layered image written by the list's writer; alpha becomes
// the frame's mask unless it is 255 everywhere.
Bytes LayeredImageFromRgba(const std::vector<RgbaPicture>& pictures, const FromPngOptions& options);

}  // namespace kest::tool
