#pragma once
// Pieces the standard decoders share: the size check that comes before any allocation, the rule
// that turns an alpha channel into a mask, and the DIB reader that bitmaps and icons both use.

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "render/image_codec.h"

namespace kest {

// Throws FormatError (at `offset` of `source`) unless both sides are 1..kMaxImageSide and the
// picture has at most kMaxImagePixels pixels.
void CheckImageSize(const std::string& source, std::uint64_t offset, std::int64_t width, std::int64_t height,
                    const std::string& what);

// How a fourth byte that is 0 everywhere is read.
enum class AllZeroAlpha { Opaque, Transparent };

// Sets `image.mask` from one alpha byte per pixel: none when every value is 255, and none when
// every value is 0 and `all_zero` says such a channel is unused (writers that leave the byte
// at 0 mean an opaque picture, not an invisible one).
void SetMaskFromAlpha(DecodedImage& image, std::vector<std::uint8_t> alpha, AllZeroAlpha all_zero);

// A device-independent bitmap: an info header (12-byte OS/2 core header, or 40 bytes and up:
// V3, V4, V5), its palette and its pixels. Bitmap files find the pixels at an offset, icons
// right after the palette, with the height doubled for the AND mask that follows the colours.
struct DibOptions {
  std::size_t pixel_offset = 0;  // from the start of the reader's data; 0: right after the palette
  bool icon = false;             // the stored height covers the colours and the AND mask
};
DecodedImage DecodeDib(ByteReader& in, const DibOptions& options);

}  // namespace kest
