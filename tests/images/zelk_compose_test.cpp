// Composing layers: copies, opacity blends, masks, keys, the opaque first layer, the background
// and the ordered dither of frames at 8 bits or less.

#include <gtest/gtest.h>

#include "images/zelk_compose.h"
#include "zelk_support.h"

namespace kest {
namespace {

using testing::Flat;
using testing::FrameOf;
using testing::LayerOf;
using testing::Read;

constexpr std::uint32_t kWhite = 0xFFFFFF;

ZelkPicture Mask(std::int32_t w, std::int32_t h, std::uint8_t m) {
  ZelkPicture mask;
  mask.Resize(w, h, 8, false);
  std::fill(mask.Data().begin(), mask.Data().end(), m);
  return mask;
}

// Two layers: `under` at full opacity, then `over`.
TZelkFrameList TwoLayers(int bits, std::uint32_t under, ZelkLayerSpec over, std::int32_t version = kZelkVersion,
                         std::vector<std::uint32_t> palette = {}) {
  const ZelkPicture base = Flat(4, 4, bits, under, palette);
  ZelkFileSpec spec;
  spec.version = version;
  spec.frames.push_back(FrameOf(base, {LayerOf(base), std::move(over)}));
  return Read(WriteZelkFile(spec));
}

TEST(ZelkCompose, OpacityBlendsByTheDepthsFormula) {
  struct Case {
    int bits;
    std::uint32_t under, over;
    std::int32_t opacity;
    std::uint32_t expected;
  };
  for (const Case& c : {Case{32, 0, kWhite, 128, 0x7F7F7F}, Case{24, 0, kWhite, 128, 0x808080},
                        Case{32, kWhite, kWhite, 128, 0xFEFEFE}, Case{24, kWhite, kWhite, 128, 0xFFFFFF},
                        Case{32, 0x102030, 0x605040, 0, 0x102030}, Case{32, 0x102030, 0x605040, 255, 0x605040},
                        Case{24, 0x000000, 0x0000FF, 51, 0x000033}}) {
    const TZelkFrameList list = TwoLayers(c.bits, c.under, LayerOf(Flat(4, 4, c.bits, c.over), c.opacity));
    EXPECT_EQ(list.frames[0]->picture.Get(1, 2), c.expected) << c.bits << " bits, opacity " << c.opacity;
  }
}

TEST(ZelkCompose, LaterMaskedLayerBlendsThroughItsMaskIgnoringOpacityAndKey) {
  for (int bits : {24, 32}) {
    ZelkLayerSpec over = LayerOf(Flat(4, 4, bits, kWhite), 10, static_cast<std::int32_t>(kWhite));
    over.mask = Mask(4, 4, 128);
    over.use_mask = true;
    const TZelkFrameList list = TwoLayers(bits, 0, over);
    EXPECT_EQ(list.frames[0]->picture.Get(0, 0), 0x7F7F7Fu) << bits;
    EXPECT_FALSE(list.frames[0]->HasMask()) << "only layer 0 gives the frame's mask";
  }
}

TEST(ZelkCompose, MaskWithoutUseMaskOnlyClearsTheKey) {
  // Before 101 use-mask reads false; from 101 it may be stored false. Either way the key goes.
  for (std::int32_t version : {100, 106}) {
    ZelkLayerSpec over = LayerOf(Flat(4, 4, 32, kWhite), 255, static_cast<std::int32_t>(kWhite));
    over.mask = Mask(4, 4, 128);
    over.use_mask = true;  // not written before 101
    if (version == 106) over.use_mask = false;
    const TZelkFrameList list = TwoLayers(32, 0, over, version);
    EXPECT_EQ(list.frames[0]->picture.Get(3, 3), kWhite) << version;
  }
}

TEST(ZelkCompose, KeyedLayersSkipTheirKeyPixels) {
  const ZelkPicture over = MakeZelkPicture(4, 4, 32, [](std::int32_t x, std::int32_t) { return x < 2 ? 0x00FF00u : 0x0000FFu; });
  const TZelkFrameList list = TwoLayers(32, 0x111111, LayerOf(over, 255, 0x00FF00));
  EXPECT_EQ(list.frames[0]->picture.Get(0, 0), 0x111111u);
  EXPECT_EQ(list.frames[0]->picture.Get(3, 0), 0x0000FFu);
}

TEST(ZelkCompose, FirstLayerMaskBecomesTheFramesMask) {
  const ZelkPicture picture = Flat(4, 4, 32, 0x123456);
  ZelkLayerSpec layer = LayerOf(picture);
  layer.mask = MakeZelkPicture(4, 4, 8, [](std::int32_t x, std::int32_t y) { return x * 16 + y; });
  layer.mask.Palette().clear();
  layer.use_mask = true;
  ZelkFileSpec spec;
  spec.frames.push_back(FrameOf(picture, {layer}));
  const TZelkFrameList list = Read(WriteZelkFile(spec));
  ASSERT_TRUE(list.frames[0]->HasMask());
  EXPECT_EQ(list.frames[0]->mask.Get(2, 3), 35u);
  EXPECT_EQ(list.frames[0]->picture.Get(2, 3), 0x123456u);
}

TEST(ZelkCompose, FirstLayerOpaqueCountsFromVersion105) {
  const ZelkPicture keyed = MakeZelkPicture(4, 4, 32, [](std::int32_t x, std::int32_t) { return x == 0 ? 0x00FF00u : 0x0000FFu; });
  for (std::int32_t version : {103, 104, 105, 106}) {
    ZelkFileSpec spec;
    spec.version = version;
    spec.background = 0x000000FF;  // red
    spec.first_layer_opaque = true;
    ZelkLayerSpec hidden = LayerOf(keyed, 255, 0x00FF00);
    hidden.visible = false;
    // The invisible layer 0 does not use up the flag: layer 1 is the first visible one.
    spec.frames.push_back(FrameOf(keyed, {hidden, LayerOf(keyed, 255, 0x00FF00), LayerOf(keyed, 255, 0x00FF00)}));
    const TZelkFrameList list = Read(WriteZelkFile(spec));
    EXPECT_EQ(list.FirstLayerOpaque, version >= 105);
    EXPECT_EQ(list.frames[0]->picture.Get(0, 1), version >= 105 ? 0x00FF00u : 0xFF0000u) << version;
  }
}

TEST(ZelkCompose, BackgroundTakesTheColourOrTheNearestPaletteEntry) {
  ZelkFileSpec spec;
  spec.background = 0x00332211;
  for (int bits : {24, 32}) {
    spec.frames = {FrameOf(Flat(3, 3, bits, 0), {})};
    EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture.Get(1, 1), 0x112233u) << bits;
  }
  // Entries 1 and 2 are equally near; the first wins.
  const std::vector<std::uint32_t> palette = {0xFFFFFF, 0x102030, 0x102030, 0x000000};
  spec.frames = {FrameOf(Flat(3, 3, 8, 0, palette), {})};
  EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture.Get(2, 2), 1u);
  spec.version = 102;
  spec.frames = {FrameOf(Flat(3, 3, 4, 0, palette), {})};
  EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture.Get(2, 2), 1u);
}

// An opaque layer without key replaces everything composed before it, whatever its block: the
// frame's bytes are exactly the layer's (fourth bytes cleared), row padding included; a replacing
// layer whose block is absent leaves zeros, and a frame that no layer shows has its background.
TEST(ZelkCompose, ReplacingLayersGiveExactlyTheirBytesWhateverTheBlock) {
  struct Case {
    const char* what;
    ZelkCompression compression;
    int bits;
    std::int32_t code;  // rows scrambled with it when not 0
  };
  for (const Case& c : {Case{"raw 32", ZelkCompression::None, 32, 0}, Case{"zlib 32", ZelkCompression::Zlib, 32, 0},
                        Case{"raw 32 scrambled", ZelkCompression::None, 32, 12341},
                        Case{"zlib 32 scrambled", ZelkCompression::Zlib, 32, 12341},
                        Case{"jpeg 32", ZelkCompression::Jpeg, 32, 0}, Case{"raw 24", ZelkCompression::None, 24, 0},
                        Case{"zlib 24 scrambled", ZelkCompression::Zlib, 24, 12341},
                        Case{"jpeg 24", ZelkCompression::Jpeg, 24, 0}, Case{"raw 8", ZelkCompression::None, 8, 0},
                        Case{"zlib 4", ZelkCompression::Zlib, 4, 0}}) {
    const bool jpeg = c.compression == ZelkCompression::Jpeg;
    // Width 5 leaves row padding at 24 bits and below; JPEG keeps only flat grey exactly.
    const ZelkPicture under = testing::Pattern(5, 3, c.bits, 2);
    const ZelkPicture stored = jpeg ? Flat(5, 3, c.bits, c.bits == 32 ? 0xAB808080u : 0x808080u)
                               : c.bits == 32 ? MakeZelkPicture(5, 3, 32, [](std::int32_t x, std::int32_t y) {
                                   return 0xAB000000u | static_cast<std::uint32_t>(x * 0x010203 + y * 0x302010);
                                 })
                                              : testing::Pattern(5, 3, c.bits, 7);
    ZelkPicture expected = stored;
    if (c.bits == 32)
      for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 5; ++x) expected.Set(x, y, stored.Get(x, y) & 0x00FFFFFF);
    const ZelkPicture zeros = Flat(5, 3, c.bits, 0, under.Palette());
    ZelkFileSpec spec;
    spec.identification = c.code;
    spec.scrambled = c.code != 0;
    spec.compression = c.compression;
    spec.jpeg_quality = 100;
    spec.background = 0x00112233;
    ZelkLayerSpec absent = LayerOf(stored);
    absent.picture_block = Bytes{};
    ZelkLayerSpec hidden = LayerOf(stored);
    hidden.visible = false;
    spec.frames = {FrameOf(under, {LayerOf(stored)}), FrameOf(under, {LayerOf(under, 128), LayerOf(stored)}),
                   FrameOf(under, {LayerOf(stored), absent}), FrameOf(under, {hidden})};
    for (ZelkFrameSpec& frame : spec.frames) frame.palette = under.Palette();
    const TZelkFrameList list = Read(WriteZelkFile(spec), c.code);
    ASSERT_EQ(list.frames.size(), 4u) << c.what;
    EXPECT_EQ(list.frames[0]->picture, expected) << c.what << ": over the background";
    EXPECT_EQ(list.frames[1]->picture, expected) << c.what << ": over a blended layer";
    EXPECT_EQ(list.frames[2]->picture, zeros) << c.what << ": an absent block";
    for (std::int32_t y = 0; y < 3; ++y)
      for (std::int32_t x = 0; x < 5; ++x)
        EXPECT_EQ(list.frames[3]->picture.Get(x, y), zeros.FromRgb(0x332211)) << c.what << ": no layer shown";
  }
}

TEST(ZelkCompose, EightBitFramesDitherByOpacity) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
  struct Case {
    std::int32_t opacity;
    int taken;  // of each 4 x 4 block
  };
  for (const Case& c : {Case{200, 12}, Case{128, 8}, Case{16, 1}, Case{15, 0}, Case{240, 16}, Case{255, 16}}) {
    const TZelkFrameList list = TwoLayers(8, 0, LayerOf(Flat(4, 4, 8, 1, palette), c.opacity), kZelkVersion, palette);
    int taken = 0;
    for (std::int32_t y = 0; y < 4; ++y)
      for (std::int32_t x = 0; x < 4; ++x) taken += list.frames[0]->picture.Get(x, y) == 1 ? 1 : 0;
    EXPECT_EQ(taken, c.taken) << "opacity " << c.opacity;
  }
  // The pattern itself: opacity 32 (q = 2) takes the cells holding 0 and 1.
  const TZelkFrameList list = TwoLayers(4, 0, LayerOf(Flat(4, 4, 4, 1, palette), 32), kZelkVersion, palette);
  for (std::int32_t y = 0; y < 4; ++y)
    for (std::int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(list.frames[0]->picture.Get(x, y), kZelkDither[y][x] < 2 ? 1u : 0u) << x << "," << y;
  // A masked layer dithers by m div 16.
  ZelkLayerSpec masked = LayerOf(Flat(4, 4, 1, 1, palette));
  masked.mask = Mask(4, 4, 200);
  masked.use_mask = true;
  const TZelkFrameList one_bit = TwoLayers(1, 0, masked, kZelkVersion, palette);
  int taken = 0;
  for (std::int32_t y = 0; y < 4; ++y)
    for (std::int32_t x = 0; x < 4; ++x) taken += static_cast<int>(one_bit.frames[0]->picture.Get(x, y));
  EXPECT_EQ(taken, 12);
}

}  // namespace
}  // namespace kest
