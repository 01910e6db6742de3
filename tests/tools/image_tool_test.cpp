// kest img: PNG to layered image and back, listings, codes.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/byte_writer.h"
#include "image_tool.h"
#include "images/zelk_fixture.h"

namespace kest::tool {
namespace {

RgbaPicture SoftPicture(std::int32_t w, std::int32_t h) {
  RgbaPicture p{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4)};
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x) {
      std::uint8_t* q = p.rgba.data() + (static_cast<std::size_t>(y) * w + x) * 4;
      q[0] = static_cast<std::uint8_t>(x * 9);
      q[1] = static_cast<std::uint8_t>(y * 11);
      q[2] = static_cast<std::uint8_t>(120 + x + y);
      q[3] = static_cast<std::uint8_t>((x * 37 + y * 5) & 0xFF);
    }
  return p;
}

RgbaPicture ThroughPng(const RgbaPicture& p) { return DecodeRgbaPng(EncodeRgbaPng(p), "p.png"); }

TEST(ImgTool, FromPngThenToPngKeepsSoftAlpha) {
  const RgbaPicture a = SoftPicture(13, 16), b = SoftPicture(13, 16);
  for (int kind : {0, 1, 2}) {
    SCOPED_TRACE(kind);
    const Bytes zel = LayeredImageFromRgba({ThroughPng(a), ThroughPng(b)},
                                           {.compression = static_cast<ZelkCompression>(kind), .quality = 90});
    const std::vector<RgbaPicture> frames = FramesAsRgba(zel, "a.zel", 0);
    ASSERT_EQ(frames.size(), 2u);
    const RgbaPicture back = ThroughPng(frames[0]);
    ASSERT_EQ(back.width, 13);
    for (std::size_t i = 0; i < a.rgba.size(); ++i) {
      if (i % 4 == 3 || kind != 2)
        ASSERT_EQ(back.rgba[i], a.rgba[i]) << "byte " << i;
      else
        ASSERT_NEAR(back.rgba[i], a.rgba[i], 12) << "byte " << i;
    }
  }
  // Opaque pictures get no mask.
  RgbaPicture opaque = SoftPicture(4, 4);
  for (std::size_t i = 3; i < opaque.rgba.size(); i += 4) opaque.rgba[i] = 255;
  const std::string info = DescribeLayeredImage(LayeredImageFromRgba({opaque}, {}), "o.zel", true);
  EXPECT_NE(info.find("\"mask\": null"), std::string::npos) << info;
}

TEST(ImgTool, IdentificationCodeScramblesAndAWrongCodePermutesRows) {
  const RgbaPicture a = SoftPicture(6, 16);
  const Bytes zel = LayeredImageFromRgba({a}, {.identification = 12341});
  const std::string info = DescribeLayeredImage(zel, "s.zel", true);
  EXPECT_NE(info.find("\"scrambled\": true, \"compression\": 1"), std::string::npos) << info;
  EXPECT_EQ(FramesAsRgba(zel, "s.zel", 12341)[0].rgba, a.rgba);
  const RgbaPicture wrong = FramesAsRgba(zel, "s.zel", 0)[0];
  const std::vector<std::int32_t> order = ZelkRowPermutation(12341, 16);
  const std::size_t row = 6 * 4;
  for (std::size_t k = 0; k < 16; ++k)
    EXPECT_TRUE(std::equal(wrong.rgba.begin() + k * row, wrong.rgba.begin() + (k + 1) * row,
                           a.rgba.begin() + order[k] * row))
        << "stored row " << k;
}

TEST(ImgTool, PalettesKeysAndOtherInputs) {
  // A 4-bit frame with a key: RGB through the palette, A = 0 on the key.
  const ZelkPicture picture = MakeZelkPicture(5, 2, 4, [](std::int32_t x, std::int32_t) { return x % 3; },
                                              {0x000000, 0x112233, 0xFF8000});
  ZelkFileSpec spec;
  ZelkFrameSpec frame;
  frame.width = 5;
  frame.height = 2;
  frame.bit_count = 4;
  frame.palette = picture.Palette();
  frame.key = 2;
  ZelkLayerSpec layer;
  layer.picture = picture;
  frame.layers = {layer};
  spec.frames = {frame};
  const RgbaPicture out = FramesAsRgba(WriteZelkFile(spec), "k.zel", 0)[0];
  const std::vector<std::uint8_t> first_three = {0, 0, 0, 255, 0x11, 0x22, 0x33, 255, 0xFF, 0x80, 0, 0};
  EXPECT_TRUE(std::equal(first_three.begin(), first_three.end(), out.rgba.begin()));
  // PNG input gives one frame as it is.
  const RgbaPicture soft = SoftPicture(3, 3);
  EXPECT_EQ(FramesAsRgba(EncodeRgbaPng(soft), "x.PNG", 0).at(0).rgba, soft.rgba);
  // A 24-bit bitmap, rows bottom-up.
  ByteWriter bmp;
  bmp.Raw(std::string_view("BM"));
  bmp.U32(14 + 40 + 8);
  bmp.U32(0);
  bmp.U32(14 + 40);
  bmp.U32(40);
  bmp.I32(2);
  bmp.I32(1);
  bmp.U16(1);
  bmp.U16(24);
  for (int i = 0; i < 6; ++i) bmp.U32(0);
  for (std::uint8_t b : {0x30, 0x20, 0x10, 0x03, 0x02, 0x01, 0, 0}) bmp.U8(b);
  const RgbaPicture from_bmp = FramesAsRgba(bmp.Data(), "y.bmp", 0).at(0);
  EXPECT_EQ(from_bmp.rgba, (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 255, 0x01, 0x02, 0x03, 255}));
}

TEST(ImgTool, InfoListsTilesAndVersionFields) {
  ZelkFileSpec spec;
  spec.version = 104;
  spec.compression = ZelkCompression::None;
  spec.tile_width = 2;
  spec.tile_height = 2;
  ZelkFrameSpec frame;
  frame.width = 4;
  frame.height = 2;
  frame.bit_count = 24;
  ZelkLayerSpec layer;
  layer.picture = MakeZelkPicture(4, 2, 24, [](std::int32_t, std::int32_t) { return 7; });
  layer.picture_tiles = {kLiteralTile, {-2, 0}};
  frame.layers = {layer};
  frame.regions = {{0, 0, 2, 2}};
  spec.frames = {frame};
  const std::string json = DescribeLayeredImage(WriteZelkFile(spec), "t.zel", true);
  EXPECT_NE(json.find("\"tiles\": {\"literal\": 1, \"same_layer\": 1, \"other_layer\": 0}"), std::string::npos) << json;
  EXPECT_EQ(json.find("first_layer_opaque"), std::string::npos) << "not in 104";
  EXPECT_NE(json.find("\"regions\": [[0, 0, 2, 2]]"), std::string::npos);
  spec.version = 101;
  spec.signature = false;
  spec.version = 0;
  const std::string old = DescribeLayeredImage(WriteZelkFile(spec), "o.zel", true);
  EXPECT_NE(old.find("{\"signature\": null, \"version\": 0, \"header\": {\"frame_count\": 1}"), std::string::npos) << old;
  EXPECT_NE(DescribeLayeredImage(WriteZelkFile(spec), "o.zel", false).find("no signature"), std::string::npos);
}

}  // namespace
}  // namespace kest::tool
