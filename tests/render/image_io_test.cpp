// Loading and saving pictures: Windows bitmaps, PNG, and the layered-image hook.

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "support/temp_folder.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::Pixels;

// An 8-bit indexed bitmap of 3 x 2, rows bottom-up, with a four-entry palette.
Bytes IndexedBmp(std::int32_t height_sign = 1) {
  ByteWriter w;
  w.Raw(std::string_view("BM"));
  w.U32(0);
  w.U32(0);
  w.U32(14 + 40 + 16);
  w.U32(40);
  w.I32(3);
  w.I32(2 * height_sign);
  w.U16(1);
  w.U16(8);
  w.U32(0);
  w.U32(0);
  w.I32(0);
  w.I32(0);
  w.U32(4);
  w.U32(0);
  for (std::uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu}) w.U32(c);
  for (std::uint8_t b : {1, 2, 3, 0, 0, 1, 2, 0}) w.U8(b);  // stored row 0, then row 1
  return w.Take();
}

Bytes PngOf(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& rgba) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  EXPECT_NE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr), 0);
  Bytes out(size);
  EXPECT_NE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr), 0);
  out.resize(size);
  return out;
}

TEST(Bmp, SavesTwentyFourBitsAndLoadsThemBack) {
  const testing::TempFolder folder;
  TDIBX s(5, 3, 32);
  testing::FillNoise(s, 9);
  for (std::int32_t y = 0; y < 3; ++y)
    for (std::int32_t x = 0; x < 5; ++x) s.SetPixel(x, y, s.GetPixel(x, y) & 0x00FFFFFF);
  s.SaveToFile(folder.File("picture.BMP"));
  TDIBX loaded;
  loaded.LoadFromFile(folder.File("picture.BMP"));
  EXPECT_EQ(loaded.Width(), 5);
  EXPECT_EQ(loaded.Height(), 3);
  EXPECT_EQ(Pixels(loaded), Pixels(s));

  TDIBX untouched(2, 2, 32);
  untouched.LoadFromFile(folder.File("picture.png"));  // not ".bmp": nothing happens
  untouched.LoadFromFile(folder.File("missing.bmp"));
  EXPECT_EQ(untouched.Width(), 2);
}

TEST(Bmp, IndexedPicturesKeepIndexesOnBytesAndColoursElsewhere) {
  TDIBX bytes(1, 1, 8), colours(1, 1, 16);
  ASSERT_TRUE(bytes.LoadFromStream(IndexedBmp()));
  EXPECT_EQ(Pixels(bytes), (std::vector<std::uint32_t>{0, 1, 2, 1, 2, 3}));
  ASSERT_TRUE(colours.LoadFromStream(IndexedBmp(-1)));  // top-down
  EXPECT_EQ(colours.BitCount(), 16);
  EXPECT_EQ(colours.GetPixel(0, 0), 0xF800u);  // index 1: red
  EXPECT_EQ(colours.GetPixel(2, 0), 0x001Fu);  // index 3: blue
}

TEST(Bmp, BadHeadersAreFormatErrorsAndNothingIsAllocatedForThem) {
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
  };
  const Case cases[] = {
      {"huge width", 18, 100000},     {"zero width", 18, 0},          {"huge height", 22, 0x7FFFFFFF},
      {"bit count 7", 28, 7},         {"compression 4", 30, 4},       {"pixels past the end", 10, 4000},
      {"palette past the end", 46, 0x10000000 - 1},
  };
  for (const Case& c : cases) {
    Bytes data = IndexedBmp();
    std::memcpy(data.data() + c.offset, &c.value, c.offset == 28 ? 2 : 4);
    TDIBX s(1, 1, 32);
    EXPECT_THROW(s.LoadFromStream(data, 0, "bad.bmp"), FormatError) << c.what;
    EXPECT_EQ(s.Width(), 1) << c.what;
  }
  Bytes truncated = IndexedBmp();
  truncated.resize(60);
  TDIBX s;
  EXPECT_THROW(s.LoadFromStream(truncated), FormatError);
}

TEST(Png, LoadsThroughLibpngIntoTheSurfacesFormat) {
  const Bytes png = PngOf(2, 1, {255, 0, 0, 255, 0, 0, 255, 128});
  TDIBX s32(1, 1, 32), s16(1, 1, 16);
  ASSERT_TRUE(s32.LoadFromStream(png));
  EXPECT_EQ(Pixels(s32), (std::vector<std::uint32_t>{0x00FF0000, 0x000000FF}));
  ASSERT_TRUE(s16.LoadFromStream(png));
  EXPECT_EQ(Pixels(s16), (std::vector<std::uint32_t>{0xF800, 0x001F}));
}

TEST(Png, OversizedAndCorruptPicturesAreRefused) {
  Bytes png = PngOf(1, 1, {1, 2, 3, 4});
  Bytes huge = png;
  // The IHDR width (offset 16, big-endian); the CRC no longer matches either way.
  huge[16] = 0x00, huge[17] = 0x01, huge[18] = 0x00, huge[19] = 0x00;
  TDIBX s(1, 1, 32);
  EXPECT_THROW(s.LoadFromStream(huge), FormatError);
  Bytes cut = png;
  cut.resize(cut.size() - 20);
  EXPECT_THROW(s.LoadFromStream(cut), FormatError);
  EXPECT_EQ(s.Width(), 1);
}

TEST(LoadFromStream, UnknownDataLeavesTheSurfaceAndLayeredImagesNeedALoader) {
  TDIBX s(2, 2, 32);
  EXPECT_FALSE(s.LoadFromStream(Bytes{'J', 'U', 'N', 'K'}));
  EXPECT_EQ(s.Width(), 2);
  const Bytes zelk = {'Z', 'e', 'l', 'k', '1', '0', '6'};
  EXPECT_THROW(s.LoadFromStream(zelk, 7, "a.zel"), KestError);
  std::int32_t seen_id = 0;
  SetLayeredImageLoader([&](ByteSpan, std::int32_t id, const std::string&) {
    seen_id = id;
    DecodedImage image;
    image.width = 1;
    image.height = 1;
    image.pixels = {0x00123456};
    return image;
  });
  EXPECT_TRUE(s.LoadFromStream(zelk, 7, "a.zel"));
  SetLayeredImageLoader(nullptr);
  EXPECT_EQ(seen_id, 7);
  EXPECT_EQ(Pixels(s), (std::vector<std::uint32_t>{0x00123456}));
}

}  // namespace
}  // namespace kest
