// The checks and conversions the standard decoders share.

#include <algorithm>

#include "core/errors.h"
#include "render/codec_support.h"

namespace kest {

void CheckImageSize(const std::string& source, std::uint64_t offset, std::int64_t width, std::int64_t height,
                    const std::string& what) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
    throw FormatError(source, offset,
                      what + " " + std::to_string(width) + " x " + std::to_string(height) + " is outside 1 to " +
                          std::to_string(kMaxImageSide));
  if (width * height > kMaxImagePixels)
    throw FormatError(source, offset,
                      what + " " + std::to_string(width) + " x " + std::to_string(height) + " has more than " +
                          std::to_string(kMaxImagePixels) + " pixels");
}

void SetMaskFromAlpha(DecodedImage& image, std::vector<std::uint8_t> alpha, AllZeroAlpha all_zero) {
  image.mask.clear();
  if (std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a == 255; })) return;
  if (all_zero == AllZeroAlpha::Opaque &&
      std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a == 0; }))
    return;
  image.mask = std::move(alpha);
}

}  // namespace kest
