// JPEG through libjpeg: our encoder's streams decode back closely, surfaces load them by their
// first bytes, and damaged streams raise format errors instead of ending the process.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/errors.h"
#include "render/dibx.h"
#include "render/image_codec.h"

namespace kest {
namespace {

std::vector<std::uint32_t> Gradient(std::int32_t w, std::int32_t h) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x)
      pixels[static_cast<std::size_t>(y) * w + x] = (static_cast<std::uint32_t>(x * 8) << 16) | (static_cast<std::uint32_t>(y * 8) << 8) | 0x80;
  return pixels;
}

TEST(Jpeg, EncodesAndDecodesWithinTolerance) {
  const std::vector<std::uint32_t> pixels = Gradient(24, 16);
  const Bytes stream = EncodeJpeg(24, 16, pixels, 95);
  EXPECT_EQ(ReadJpegSize(stream, "g.jpg").width, 24);
  const DecodedImage image = DecodeJpeg(stream, "g.jpg");
  ASSERT_EQ(image.width, 24);
  ASSERT_EQ(image.height, 16);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8)
      ASSERT_NEAR(static_cast<int>((image.pixels[i] >> shift) & 0xFF), static_cast<int>((pixels[i] >> shift) & 0xFF), 6) << i;
  EXPECT_THROW(DecodeJpeg(stream, "g.jpg", {25, 16}), FormatError);
  TDIBX surface(1, 1, 32);
  ASSERT_TRUE(surface.LoadFromStream(stream, 0, "g.jpg"));
  EXPECT_EQ(surface.Width(), 24);
  EXPECT_EQ(surface.GetPixel(3, 3) & 0xFFFFFF, image.pixels[3 * 24 + 3]);
}

TEST(Jpeg, DamagedStreamsRaiseFormatErrors) {
  const Bytes stream = EncodeJpeg(16, 16, Gradient(16, 16), 70);
  for (std::size_t cut : {std::size_t{3}, std::size_t{20}, stream.size() / 2}) {
    Bytes part(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
    try {
      const DecodedImage image = DecodeJpeg(part, "cut.jpg");
      // libjpeg fills a stream that ends early with grey and warns; the picture keeps its size.
      EXPECT_EQ(image.width, 16) << cut;
    } catch (const FormatError& error) {
      EXPECT_EQ(error.Source(), "cut.jpg");
    }
  }
  Bytes garbage = stream;
  for (std::size_t i = 2; i < 40 && i < garbage.size(); ++i) garbage[i] = 0xFF;
  EXPECT_THROW(DecodeJpeg(garbage, "bad.jpg"), FormatError);
}

}  // namespace
}  // namespace kest
