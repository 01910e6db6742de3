// JPEG through libjpeg: our encoder's streams decode back closely, surfaces load them by their
// first bytes, damaged streams raise format errors instead of ending the process, CMYK streams
// (with and without Adobe's inverted values) give the colours of their inks, and pictures decode
// straight into rows of any stride.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

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

// A four-component stream written by libjpeg itself: bytes C, M, Y, K per pixel, stored as given,
// with or without the Adobe marker.
Bytes EncodeCmyk(std::uint32_t w, std::uint32_t h, const std::vector<std::uint8_t>& cmyk, bool adobe) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, JCS_CMYK);
  cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < h) {
    JSAMPROW row = const_cast<JSAMPROW>(cmyk.data() + static_cast<std::size_t>(cinfo.next_scanline) * w * 4);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes stream(buffer, buffer + size);
  std::free(buffer);
  return stream;
}

// The stream decoded by libjpeg alone into its C, M, Y, K bytes, and whether it saw the marker.
std::vector<std::uint8_t> DecodeCmykDirectly(const Bytes& stream, bool& adobe) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, stream.data(), static_cast<unsigned long>(stream.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_CMYK;
  adobe = cinfo.saw_Adobe_marker != 0;
  jpeg_start_decompress(&cinfo);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_height * 4);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.data() + static_cast<std::size_t>(cinfo.output_scanline) * cinfo.output_width * 4;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return out;
}

TEST(Jpeg, CmykStreamsGiveTheColoursOfTheirInks) {
  // Four flat 8 x 8 quadrants, as ink amounts C, M, Y, K (0 none, 255 full) and the colour they
  // make: red, green, blue and half-black grey.
  struct Quadrant {
    std::uint8_t ink[4];
    std::uint32_t rgb;
  };
  const Quadrant quadrants[4] = {{{0, 255, 255, 0}, 0xFF0000},
                                 {{255, 0, 255, 0}, 0x00FF00},
                                 {{255, 255, 0, 0}, 0x0000FF},
                                 {{0, 0, 0, 128}, 0x7F7F7F}};
  constexpr std::uint32_t kSide = 16;
  for (bool adobe : {true, false}) {
    std::vector<std::uint8_t> cmyk(kSide * kSide * 4);
    for (std::uint32_t y = 0; y < kSide; ++y)
      for (std::uint32_t x = 0; x < kSide; ++x)
        for (int c = 0; c < 4; ++c) {
          const std::uint8_t ink = quadrants[(y / 8) * 2 + x / 8].ink[c];
          // Adobe's streams hold 255 minus the ink.
          cmyk[(y * kSide + x) * 4 + static_cast<std::size_t>(c)] = adobe ? static_cast<std::uint8_t>(255 - ink) : ink;
        }
    const Bytes stream = EncodeCmyk(kSide, kSide, cmyk, adobe);
    bool saw_adobe = false;
    const std::vector<std::uint8_t> direct = DecodeCmykDirectly(stream, saw_adobe);
    ASSERT_EQ(saw_adobe, adobe);
    const DecodedImage image = DecodeJpeg(stream, "cmyk.jpg");
    ASSERT_EQ(image.width, static_cast<std::int32_t>(kSide));
    std::vector<std::uint8_t> rows(kSide * kSide * 4);
    DecodeJpegInto(stream, "cmyk.jpg", kSide, kSide, rows.data(), kSide * 4);
    for (std::uint32_t i = 0; i < kSide * kSide; ++i) {
      // What the inks give: each channel (255 - ink) * (255 - K) / 255.
      std::uint32_t ink[4];
      for (std::size_t c = 0; c < 4; ++c) ink[c] = adobe ? 255u - direct[i * 4 + c] : direct[i * 4 + c];
      const std::uint32_t expected = ((255 - ink[0]) * (255 - ink[3]) / 255) << 16 |
                                     ((255 - ink[1]) * (255 - ink[3]) / 255) << 8 | (255 - ink[2]) * (255 - ink[3]) / 255;
      ASSERT_EQ(image.pixels[i], expected) << "adobe " << adobe << ", pixel " << i;
      std::uint32_t into;
      std::memcpy(&into, rows.data() + i * 4, 4);
      ASSERT_EQ(into, expected) << "adobe " << adobe << ", pixel " << i;
      const std::uint32_t near = quadrants[((i / kSide) / 8) * 2 + (i % kSide) / 8].rgb;
      for (int shift = 0; shift < 24; shift += 8)
        ASSERT_NEAR(static_cast<int>((expected >> shift) & 0xFF), static_cast<int>((near >> shift) & 0xFF), 2)
            << "adobe " << adobe << ", pixel " << i;
    }
  }
}

TEST(Jpeg, DecodesStraightIntoRowsOfAnyStride) {
  const std::int32_t w = 13, h = 9;
  const Bytes stream = EncodeJpeg(w, h, Gradient(w, h), 80);
  const DecodedImage image = DecodeJpeg(stream, "g.jpg");
  // Rows with 12 bytes of padding that must stay as they were.
  const std::size_t stride = static_cast<std::size_t>(w) * 4 + 12;
  std::vector<std::uint8_t> rows(stride * h, 0xEE);
  DecodeJpegInto(stream, "g.jpg", w, h, rows.data(), stride);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, rows.data() + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4, 4);
      ASSERT_EQ(pixel, image.pixels[static_cast<std::size_t>(y * w + x)]) << x << ", " << y;  // fourth byte 0
    }
    for (std::size_t pad = static_cast<std::size_t>(w) * 4; pad < stride; ++pad)
      ASSERT_EQ(rows[static_cast<std::size_t>(y) * stride + pad], 0xEE) << y;
  }
  // Another size, or a damaged header, is refused before anything is written.
  std::vector<std::uint8_t> untouched(rows.size(), 0xEE);
  for (const auto& [width, height] : {std::pair{w + 1, h}, std::pair{w, h - 1}}) {
    std::vector<std::uint8_t> out(untouched);
    try {
      DecodeJpegInto(stream, "g.jpg", width, height, out.data(), stride);
      ADD_FAILURE() << width << " x " << height << " was accepted";
    } catch (const FormatError& error) {
      EXPECT_NE(std::string(error.what()).find("differs from the frame's"), std::string::npos) << error.what();
    }
    EXPECT_EQ(out, untouched);
  }
  Bytes garbage = stream;
  for (std::size_t i = 2; i < 40; ++i) garbage[i] = 0xFF;
  EXPECT_THROW(DecodeJpegInto(garbage, "bad.jpg", w, h, rows.data(), stride), FormatError);
}

}  // namespace
}  // namespace kest
