#pragma once
// Decoded pictures on their way into a surface, and the decoders and writer of the standard
// formats. Decoders read through ByteReader, bound the picture's size before allocating, and
// raise FormatError (naming the source, the offset and the fault) for bad data.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "render/surface.h"

namespace kest {

// The largest side a decoder accepts (the surface limit).
inline constexpr std::int32_t kMaxImageSide = kMaxSurfaceSide;
// The most pixels a decoded picture may have (8192 x 8192, 256 MiB at 32 bits). Animated
// pictures count the pixels of all their frames together.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

// One decoded picture. Animated pictures (GIF, ANI) keep their later frames in `next_frames`,
// each a whole picture of the same size.
struct DecodedImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;   // 0x00RRGGBB, rows top-down
  std::vector<std::uint8_t> indexes;   // palette indexes, rows top-down, for indexed pictures only
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries of an indexed picture
  std::vector<std::uint8_t> mask;      // opacity 0..255 per pixel, rows top-down; empty: none
  std::int64_t key = -1;               // the transparent 0x00RRGGBB colour; -1: none
  std::int32_t delay_ms = 0;           // how long this frame shows, for animated pictures
  std::int32_t hot_spot_x = 0;         // the pointer's point in a cursor picture
  std::int32_t hot_spot_y = 0;
  std::vector<DecodedImage> next_frames;
};

// A Windows bitmap: OS/2, V3, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits, uncompressed,
// RLE8, RLE4 or with bit-field masks; rows bottom-up or (negative height) top-down. A 32-bit
// picture's fourth bytes become the mask unless they are all 0 or all 255.
DecodedImage DecodeBmp(ByteSpan data, const std::string& source);
// The surface as a 24-bit Windows bitmap, rows bottom-up.
Bytes EncodeBmp24(TCustomDIBX& surface);

// A PNG picture of any colour type and depth, interlaced or not, through libpng: the stored
// samples (no gamma or colour profile applied), 16 bits scaled to 8, as 0x00RRGGBB. A single
// fully transparent colour (a grey or RGB tRNS colour, or one palette entry at alpha 0 with the
// others at 255 and no other entry of its colour) becomes the key; other transparency the mask.
DecodedImage DecodePng(ByteSpan data, const std::string& source);

// A GIF picture (87a or 89a) through giflib: every frame composed over the previous ones by
// its disposal, de-interlaced, each a whole screen with its delay. Pixels that no frame has
// covered, or that a frame's transparent index leaves uncovered, are 0 in the mask.
DecodedImage DecodeGif(ByteSpan data, const std::string& source);

// A Truevision TGA picture: colour-mapped, true-colour and grey (types 1, 2, 3), and their RLE
// forms (9, 10, 11); 8, 15, 16, 24 and 32 bits; either origin. Attribute bits become the mask.
DecodedImage DecodeTga(ByteSpan data, const std::string& source);

// A Windows icon or cursor: the largest entry (PNG or DIB, with its AND mask as the mask);
// a cursor also gives its hot spot.
DecodedImage DecodeIcon(ByteSpan data, const std::string& source);
// An animated cursor (RIFF "ACON"): its frames in sequence order, with their rates as delays.
DecodedImage DecodeAnimatedCursor(ByteSpan data, const std::string& source);

// Decodes by the file name's extension (".png", ".bmp", ".dib", ".gif", ".tga", ".ico",
// ".cur", ".ani", any case); for other names by the first bytes (bitmap, PNG, GIF). Throws
// FormatError for a picture that is none of these.
DecodedImage DecodeImageByName(ByteSpan data, const std::string& name);
// A file name's extension with its dot, in lower case ("" when the last part has none; "/" and
// "\" both end a folder's name).
std::string LowerExtension(const std::string& name);

// True for the extensions DecodeImageByName knows (".jpg" and ".jpeg" too).
bool HasPictureExtension(const std::string& name);
// A JPEG picture (grey, YCbCr, or CMYK with Adobe's inverted values), through libjpeg. A
// non-zero `expected` size must match, checked before the pixels are decoded.
struct JpegSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
JpegSize ReadJpegSize(ByteSpan data, const std::string& source);
DecodedImage DecodeJpeg(ByteSpan data, const std::string& source, const JpegSize& expected = {});
// A JPEG picture of exactly `width` x `height` decoded straight into rows of `stride` bytes, four
// bytes a pixel: 0x00RRGGBB as a little-endian word (B, G, R, 0).
void DecodeJpegInto(ByteSpan data, const std::string& source, std::int32_t width, std::int32_t height,
                    std::uint8_t* rows, std::size_t stride);
// A baseline JPEG stream of 0x00RRGGBB pixels (rows top-down) at quality 1..100.
Bytes EncodeJpeg(std::int32_t width, std::int32_t height, std::span<const std::uint32_t> pixels, int quality);

// The loader of the layered image format ("Zelk" at offset 0) that LoadFromStream hands such
// data to. The images library registers it; until then such data raises KestError.
using LayeredImageLoader =
    std::function<DecodedImage(ByteSpan data, std::int32_t identification, const std::string& source)>;
void SetLayeredImageLoader(LayeredImageLoader loader);

// Resizes `surface` to the picture at the surface's own bit count and copies the picture in.
void CopyDecodedImage(const DecodedImage& image, TCustomDIBX& surface);

}  // namespace kest
