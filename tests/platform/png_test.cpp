#include <gtest/gtest.h>
#include <png.h>

#include "platform/png_writer.h"
#include "support/temp_folder.h"

namespace kest::platform {
namespace {

// Reads a PNG back as R, G, B rows with libpng itself, independent of the writer.
struct Decoded {
  Size size;
  std::vector<std::uint8_t> rgb;
};

Decoded DecodePng(const Bytes& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    ADD_FAILURE() << image.message;
    return {};
  }
  image.format = PNG_FORMAT_RGB;
  Decoded decoded{{static_cast<int>(image.width), static_cast<int>(image.height)},
                  std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr)) ADD_FAILURE() << image.message;
  png_image_free(&image);
  return decoded;
}

// Every pixel different: B = x * 7, G = y * 13, R = x ^ y, X = a value that must be dropped.
Image Pattern(Size size) {
  Image image{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height * 4)};
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      std::uint8_t* pixel = &image.bgrx[(static_cast<std::size_t>(y) * size.width + x) * 4];
      pixel[0] = static_cast<std::uint8_t>(x * 7);
      pixel[1] = static_cast<std::uint8_t>(y * 13);
      pixel[2] = static_cast<std::uint8_t>(x ^ y);
      pixel[3] = 0xA5;
    }
  }
  return image;
}

void ExpectSamePixels(const Decoded& decoded, const Image& image) {
  ASSERT_EQ(decoded.size, image.size);
  for (int y = 0; y < image.size.height; ++y) {
    for (int x = 0; x < image.size.width; ++x) {
      const std::uint8_t* bgrx = &image.bgrx[(static_cast<std::size_t>(y) * image.size.width + x) * 4];
      const std::uint8_t* rgb = &decoded.rgb[(static_cast<std::size_t>(y) * image.size.width + x) * 3];
      ASSERT_EQ(rgb[0], bgrx[2]) << x << "," << y;
      ASSERT_EQ(rgb[1], bgrx[1]) << x << "," << y;
      ASSERT_EQ(rgb[2], bgrx[0]) << x << "," << y;
    }
  }
}

TEST(Png, ScreenshotRoundTripsThroughAFile) {
  const Image image = Pattern({37, 23});
  testing::TempFolder folder;
  WritePngFile(folder.File("shot.png"), image.View());
  ExpectSamePixels(DecodePng(folder.Read("shot.png")), image);
}

TEST(Png, BottomUpSurfacesAreWrittenTopRowFirst) {
  const Image top_down = Pattern({8, 5});
  // The same picture stored bottom-up, given by its top row and a negative pitch.
  Image stored = top_down;
  const std::size_t row = 8 * 4;
  for (int y = 0; y < 5; ++y) {
    std::copy_n(&top_down.bgrx[y * row], row, &stored.bgrx[(4 - y) * row]);
  }
  const SurfaceView bottom_up{stored.bgrx.data() + 4 * row, -static_cast<std::ptrdiff_t>(row), {8, 5}};
  EXPECT_EQ(EncodePng(bottom_up), EncodePng(top_down.View()));
  ExpectSamePixels(DecodePng(EncodePng(bottom_up)), top_down);
}

TEST(Png, SamePixelsGiveSameBytesAndTheUnusedByteDoesNotMatter) {
  Image image = Pattern({16, 16});
  const Bytes first = EncodePng(image.View());
  EXPECT_EQ(EncodePng(image.View()), first);
  for (std::size_t i = 3; i < image.bgrx.size(); i += 4) image.bgrx[i] = 0;
  EXPECT_EQ(EncodePng(image.View()), first);
  image.bgrx[0] ^= 1;
  EXPECT_NE(EncodePng(image.View()), first);
}

TEST(Png, EmptySurfacesAndUnwritablePathsAreErrors) {
  EXPECT_THROW(EncodePng(SurfaceView{}), PlatformError);
  const Image image = Pattern({2, 2});
  EXPECT_THROW(WritePngFile("/nonexistent-folder/shot.png", image.View()), KestError);
}

}  // namespace
}  // namespace kest::platform
