// Finishing, masks, trimming, copying to surfaces, and the writer's round trips.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/errors.h"
#include "images/messages.h"
#include "render/dibx.h"
#include "zelk_support.h"

namespace kest {
namespace {

using testing::Flat;
using testing::FrameOf;
using testing::LayerOf;
using testing::Pattern;
using testing::Read;

std::unique_ptr<TZelkFrame> FrameWith(ZelkPicture picture, std::int32_t key = -1) {
  auto frame = std::make_unique<TZelkFrame>();
  frame->picture = std::move(picture);
  frame->KeyColor = key;
  frame->UpdateKeyColorRgb();
  return frame;
}

TEST(ZelkFinish, KeyedFrameGetsAKeyMask) {
  TZelkFrameList list;
  list.frames.push_back(FrameWith(MakeZelkPicture(3, 2, 32, [](std::int32_t x, std::int32_t) { return x == 1 ? 0x0000FFu : 0x00FF00u; }), 0xFF));
  list.frames.push_back(FrameWith(Flat(3, 2, 32, 5)));
  list.MakeMasks();
  ASSERT_TRUE(list.frames[0]->HasMask());
  EXPECT_EQ(list.frames[0]->mask.Get(0, 1), 255u);
  EXPECT_EQ(list.frames[0]->mask.Get(1, 1), 0u);
  EXPECT_FALSE(list.frames[1]->HasMask());
}

TEST(ZelkFinish, EightBitFrameBecomesTwentyFourBitsWithItsKeyReExpressed) {
  const std::vector<std::uint32_t> palette = {0x000000, 0x00FF00, 0x102030, 0x00FF00};
  ZelkFileSpec spec;
  const ZelkPicture picture = MakeZelkPicture(4, 2, 8, [](std::int32_t x, std::int32_t y) { return y == 1 && x == 2 ? 3 : x == 0 ? 2 : 0; }, palette);
  spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  spec.frames[0].key = 3;
  // Without finishing the key stays an index and the frame stays at 8 bits.
  const TZelkFrameList raw = Read(WriteZelkFile(spec));
  EXPECT_EQ(raw.frames[0]->picture.BitCount(), 8);
  EXPECT_EQ(raw.frames[0]->KeyColorRGB, 0x00FF00);
  ZelkLoadOptions finish{.finish = true};
  const TZelkFrameList list = Read(WriteZelkFile(spec), 0, finish);
  const TZelkFrame& frame = *list.frames[0];
  EXPECT_EQ(frame.picture.BitCount(), 24);
  EXPECT_EQ(frame.KeyColor, 0x00FF00);
  EXPECT_EQ(frame.picture.Get(0, 0), 0x102030u);
  ASSERT_TRUE(frame.HasMask());
  EXPECT_EQ(frame.mask.Get(2, 1), 0u);
  EXPECT_EQ(frame.mask.Get(1, 1), 255u);
  // A key index that no pixel has: no key after finishing (the key mask is all 255).
  spec.frames[0].key = 1;
  EXPECT_EQ(Read(WriteZelkFile(spec), 0, finish).frames[0]->KeyColor, -1);
}

TEST(ZelkFinish, TargetBitCountConvertsEveryFrame) {
  TZelkFrameList list;
  list.target_bit_count = 32;
  list.frames.push_back(FrameWith(Flat(2, 2, 24, 0x445566), 0x445566));
  list.Finish(*list.frames[0]);
  EXPECT_EQ(list.frames[0]->picture.BitCount(), 32);
  EXPECT_EQ(list.frames[0]->KeyColor, 0x445566);
  EXPECT_EQ(list.frames[0]->mask.Get(1, 1), 0u);
}

TEST(ZelkTrim, CropsToTheVisibleBoxAndIntersectsRegions) {
  auto frame = FrameWith(Flat(10, 12, 32, 0x777777));
  frame->mask.Resize(10, 12, 8, false);
  frame->mask.Set(3, 5, 1);
  frame->mask.Set(6, 2, 200);
  frame->mask.Set(4, 8, 255);
  frame->picture.Set(3, 2, 0x123456);
  frame->RegionRects = {{0, 0, 5, 5}, {8, 10, 9, 11}, {6, 8, 20, 20}};
  EXPECT_EQ(TZelkFrameList::Trim(*frame), (Rect{3, 2, 7, 9}));
  EXPECT_EQ(frame->picture.Width(), 4);
  EXPECT_EQ(frame->picture.Height(), 7);
  EXPECT_EQ(frame->mask.Width(), 4);
  EXPECT_EQ(frame->picture.Get(0, 0), 0x123456u);
  EXPECT_EQ(frame->mask.Get(3, 0), 200u);
  EXPECT_TRUE(frame->mask.Palette().empty()) << "a cropped mask stays a mask";
  EXPECT_EQ(frame->RegionRects, (std::vector<Rect>{{0, 0, 2, 3}, {3, 6, 4, 7}}));
}

TEST(ZelkTrim, KeysEmptyFramesAndUntrimmableFrames) {
  auto keyed = FrameWith(Flat(6, 6, 24, 9), 9);
  keyed->picture.Set(5, 5, 1);
  EXPECT_EQ(TZelkFrameList::Trim(*keyed), (Rect{5, 5, 6, 6}));
  // Nothing visible: a 1 x 1 picture at (0, 0).
  auto empty = FrameWith(Flat(6, 4, 32, 9), 9);
  EXPECT_EQ(TZelkFrameList::Trim(*empty), (Rect{0, 0, 1, 1}));
  EXPECT_EQ(empty->picture.Width(), 1);
  // Neither mask nor key: not trimmed.
  auto plain = FrameWith(Flat(6, 4, 32, 0));
  EXPECT_EQ(TZelkFrameList::Trim(*plain), (Rect{0, 0, 6, 4}));
  EXPECT_EQ(plain->picture.Width(), 6);
}

TEST(ZelkCopy, SurfacesTakeThePictureTheMaskAndTheRectangles) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xABCDEF};
  for (int bits : {4, 24, 32}) {
    auto frame = FrameWith(MakeZelkPicture(3, 2, bits, [&](std::int32_t x, std::int32_t) { return bits <= 8 ? x & 1 : 0x010203u * x; }, palette));
    frame->mask.Resize(3, 2, 8, false);
    frame->mask.Set(2, 1, 77);
    frame->RegionRects = {{0, 0, 1, 1}};
    TDIBX surface(1, 1, 32);
    TZelkFrameList::CopyToSurface(*frame, surface);
    ASSERT_EQ(surface.Width(), 3);
    EXPECT_EQ(surface.GetPixel(1, 0), bits <= 8 ? 0xABCDEFu : 0x010203u);
    EXPECT_EQ(surface.region_rects.size(), 1u);
    TDIBX mask;
    TZelkFrameList::CopyMask(*frame, mask);
    EXPECT_EQ(mask.BitCount(), 8);
    EXPECT_EQ(mask.GetPixel(2, 1), 77u);
  }
}

// Round trips of the writer.
struct RoundTrip {
  int bits;
  bool mask;
  ZelkCompression kind;
  std::int32_t code;
};

std::string Name(const RoundTrip& c) {
  return std::to_string(c.bits) + " bits" + (c.mask ? " masked" : "") + " kind " +
         std::to_string(static_cast<int>(c.kind)) + " code " + std::to_string(c.code);
}

TEST(ZelkWrite, RoundTrips) {
  for (int bits : {1, 4, 8, 24, 32})
    for (bool mask : {false, true})
      for (ZelkCompression kind : {ZelkCompression::Zlib, ZelkCompression::None, ZelkCompression::Jpeg})
        for (std::int32_t code : {0, 12341}) {
          const RoundTrip c{bits, mask, kind, code};
          SCOPED_TRACE(Name(c));
          TZelkFrameList list(code);
          list.background = 0x010203;
          for (int f = 0; f < 2; ++f) {
            auto frame = FrameWith(Pattern(11, 9, bits, static_cast<std::uint32_t>(f)), bits <= 8 ? 1 : 0x000102);
            frame->Delay = 40 + f;
            if (mask) {
              frame->mask = Pattern(11, 9, 8, 7);
              frame->mask.Palette().clear();
            }
            list.frames.push_back(std::move(frame));
          }
          const Bytes file = list.Write({.compression = kind});
          // Scrambled writes are stored raw.
          EXPECT_EQ(TZelkFrameList::Probe(file), code != 0 || kind == ZelkCompression::None);
          const TZelkFrameList back = Read(file, code);
          ASSERT_EQ(back.frames.size(), 2u);
          EXPECT_EQ(back.Version(), 106);
          EXPECT_EQ(back.background, 0x010203);
          for (std::size_t f = 0; f < 2; ++f) {
            const TZelkFrame& a = *list.frames[f];
            const TZelkFrame& b = *back.frames[f];
            EXPECT_EQ(b.name, "Frame" + std::to_string(f + 1));
            EXPECT_EQ(b.Delay, a.Delay);
            EXPECT_EQ(b.KeyColor, a.KeyColor);
            EXPECT_EQ(b.mask, a.mask);
            if (kind != ZelkCompression::Jpeg || code != 0) {
              EXPECT_EQ(b.picture, a.picture);
              continue;
            }
            // Lossy: the noise pattern within a loose bound at quality 70 (palette pictures
            // come back as the nearest entries, so only their depth is compared).
            ASSERT_EQ(b.picture.BitCount(), a.picture.BitCount());
            if (bits <= 8) continue;
            long total = 0;
            for (std::int32_t y = 0; y < 9; ++y)
              for (std::int32_t x = 0; x < 11; ++x)
                for (int shift = 0; shift < 24; shift += 8)
                  total += std::abs(static_cast<int>((a.picture.Get(x, y) >> shift) & 0xFF) -
                                    static_cast<int>((b.picture.Get(x, y) >> shift) & 0xFF));
            EXPECT_LT(total / (11 * 9 * 3), 96) << "mean channel error";
          }
        }
}

TEST(ZelkWrite, JpegIsExactForFlatGreyBlocksAtQuality100) {
  for (int bits : {24, 32}) {
    TZelkFrameList list;
    list.frames.push_back(FrameWith(MakeZelkPicture(16, 8, bits, [](std::int32_t x, std::int32_t) { return x < 8 ? 0x404040u : 0xC0C0C0u; })));
    const TZelkFrameList back = Read(list.Write({.compression = ZelkCompression::Jpeg, .jpeg_quality = 100}));
    EXPECT_EQ(back.frames[0]->picture, list.frames[0]->picture) << bits;
    // A smooth gradient stays within 4 per channel at quality 90.
    TZelkFrameList smooth;
    smooth.frames.push_back(FrameWith(MakeZelkPicture(32, 32, bits, [](std::int32_t x, std::int32_t y) { return 0x010101u * static_cast<std::uint32_t>(x * 4 + y); })));
    const TZelkFrameList smooth_back = Read(smooth.Write({.compression = ZelkCompression::Jpeg, .jpeg_quality = 90}));
    for (std::int32_t y = 0; y < 32; ++y)
      for (std::int32_t x = 0; x < 32; ++x)
        EXPECT_NEAR(static_cast<int>(smooth_back.frames[0]->picture.Get(x, y) & 0xFF), x * 4 + y, 4) << x << "," << y;
  }
}

TEST(ZelkWrite, ScrambledWriteNeedsAnIdentificationCode) {
  TZelkFrameList list;
  list.frames.push_back(FrameWith(Flat(2, 2, 24, 0)));
  try {
    list.Write({.scrambled = true});
    FAIL() << "no error";
  } catch (const KestError& error) {
    EXPECT_EQ(std::string(error.what()), Message(ImageMessage::SetIdentificationCode));
  }
  EXPECT_NO_THROW(list.Write());
}

}  // namespace
}  // namespace kest
