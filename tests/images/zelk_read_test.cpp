// Reading layered images: versions, row order, blocks, tiles, and malformed files.

#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "images/layered_loader.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "vfs/deflate.h"
#include "support/temp_folder.h"
#include "vfs/archive.h"
#include "zelk_support.h"

namespace kest {
namespace {

using testing::FrameOf;
using testing::LayerOf;
using testing::Pattern;
using testing::Read;

ZelkFileSpec OneLayer(const ZelkPicture& picture, std::int32_t version = kZelkVersion) {
  ZelkFileSpec spec;
  spec.version = version;
  spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  return spec;
}

TEST(ZelkRead, WithoutSignatureTheDataIsVersionZero) {
  const ZelkPicture picture = Pattern(5, 4, 24);
  ZelkFileSpec spec = OneLayer(picture, 0);
  spec.signature = false;
  const Bytes file = WriteZelkFile(spec);
  ASSERT_NE(file[0], 'Z');
  const TZelkFrameList list = Read(file);
  EXPECT_EQ(list.Version(), 0);
  ASSERT_EQ(list.frames.size(), 1u);
  EXPECT_EQ(list.frames[0]->picture, picture);
}

TEST(ZelkRead, EveryVersionReadsItsOwnFields) {
  for (std::int32_t version : {0, 99, 100, 101, 102, 103, 104, 105, 106}) {
    SCOPED_TRACE(version);
    const ZelkPicture picture = Pattern(7, 3, 32);
    ZelkFileSpec spec = OneLayer(picture, version);
    spec.frames[0].regions = {{1, 1, 3, 2}};
    spec.frames[0].key = 0x112233;
    spec.frames[0].delay = 250;
    const TZelkFrameList list = Read(WriteZelkFile(spec));
    EXPECT_EQ(list.Version(), version);
    ASSERT_EQ(list.frames.size(), 1u);
    const TZelkFrame& frame = *list.frames[0];
    EXPECT_EQ(frame.picture, picture);
    EXPECT_EQ(frame.KeyColor, 0x112233);
    EXPECT_EQ(frame.KeyColorRGB, 0x332211);
    EXPECT_EQ(frame.Delay, 250);
    EXPECT_EQ(frame.RegionRects.size(), version >= 104 ? 1u : 0u);
    EXPECT_TRUE(frame.layers.empty());
  }
}

TEST(ZelkRead, RowPermutationOfCode12341) {
  EXPECT_EQ(ZelkRowPermutation(12341, 16),
            (std::vector<std::int32_t>{5, 7, 9, 0, 8, 15, 2, 6, 12, 1, 11, 4, 10, 14, 13, 3}));
  EXPECT_EQ(ZelkRowPermutation(0, 4), (std::vector<std::int32_t>{0, 1, 2, 3}));
}

TEST(ZelkRead, OldVersionsPermuteRowsByTheCodeWhateverTheHeader) {
  const ZelkPicture picture = Pattern(6, 16, 24);
  for (std::int32_t version : {100, 101, 102}) {
    SCOPED_TRACE(version);
    ZelkFileSpec spec = OneLayer(picture, version);
    spec.identification = 7;
    const Bytes file = WriteZelkFile(spec);
    EXPECT_EQ(Read(file, 7).frames[0]->picture, picture);
    // Read with code 0 the stored rows stay in stored order: stored row k holds row p_k.
    const ZelkPicture stored = Read(file, 0).frames[0]->picture;
    const std::vector<std::int32_t> order = ZelkRowPermutation(7, 16);
    for (std::int32_t k = 0; k < 16; ++k)
      EXPECT_EQ(stored.Get(2, k), picture.Get(2, order[static_cast<std::size_t>(k)])) << "stored row " << k;
  }
}

TEST(ZelkRead, ScrambledRowsOfVersion106) {
  const ZelkPicture picture = Pattern(9, 16, 32);
  ZelkFileSpec spec = OneLayer(picture);
  spec.identification = 12341;
  spec.scrambled = true;
  spec.compression = ZelkCompression::None;
  const Bytes file = WriteZelkFile(spec);
  EXPECT_EQ(Read(file, 12341).frames[0]->picture, picture);
  EXPECT_NE(Read(file, 12).frames[0]->picture, picture);
  // Unscrambled files ignore the code.
  spec.scrambled = false;
  EXPECT_EQ(Read(WriteZelkFile(spec), 99).frames[0]->picture, picture);
}

TEST(ZelkRead, FirstFrameOnlyReadsNothingAfterFrameOne) {
  ZelkFileSpec spec;
  for (int i = 0; i < 10; ++i) {
    const ZelkPicture picture = Pattern(4, 4, 24, static_cast<std::uint32_t>(i));
    spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  }
  const Bytes whole = WriteZelkFile(spec);
  EXPECT_EQ(Read(whole).frames.size(), 10u);
  ZelkFileSpec first = spec;
  first.frames.resize(1);
  first.frame_count = 10;
  const Bytes cut = WriteZelkFile(first);  // says 10 frames, ends after the first
  EXPECT_THROW(Read(cut), FormatError);
  const TZelkFrameList list = Read(cut, 0, {.first_frame_only = true});
  ASSERT_EQ(list.frames.size(), 1u);
  EXPECT_EQ(list.frames[0]->picture, spec.frames[0].layers[0].picture);
}

TEST(ZelkRead, RawJpegAndZlibBlocks) {
  const ZelkPicture picture = Pattern(12, 10, 24);
  for (ZelkCompression kind : {ZelkCompression::Zlib, ZelkCompression::None}) {
    ZelkFileSpec spec = OneLayer(picture);
    spec.compression = kind;
    EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture, picture);
  }
  // A flat picture survives JPEG closely.
  const ZelkPicture grey = testing::Flat(16, 16, 24, 0x808080);
  ZelkFileSpec spec = OneLayer(grey);
  spec.compression = ZelkCompression::Jpeg;
  spec.jpeg_quality = 100;
  EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture, grey);
}

TEST(ZelkRead, FifteenAndSixteenBitFramesAreWidened) {
  for (int bits : {15, 16}) {
    const ZelkPicture picture = Pattern(5, 3, bits);
    ZelkFileSpec spec = OneLayer(picture);
    spec.frames[0].key = static_cast<std::int32_t>(picture.Get(1, 1));
    const TZelkFrameList list = Read(WriteZelkFile(spec));
    const TZelkFrame& frame = *list.frames[0];
    ASSERT_EQ(frame.picture.BitCount(), 24);
    for (std::int32_t y = 0; y < 3; ++y)
      for (std::int32_t x = 0; x < 5; ++x) EXPECT_EQ(frame.picture.Get(x, y), Widen16(picture.Get(x, y), bits));
    EXPECT_EQ(static_cast<std::uint32_t>(frame.KeyColor), frame.picture.Get(1, 1));
  }
  EXPECT_EQ(Widen16(0xFFFF, 16), 0xFFFFFFu);
  EXPECT_EQ(Widen16(0x7C00, 15), 0xFF0000u);
}

TEST(ZelkRead, ThirtyTwoBitPixelsAndKeysLoseTheirFourthByte) {
  ZelkPicture picture = MakeZelkPicture(3, 2, 32, [](std::int32_t x, std::int32_t) { return 0xAB000000u | (x * 0x10101u); });
  ZelkFileSpec spec = OneLayer(picture);
  spec.frames[0].key = static_cast<std::int32_t>(0xCD010101u);
  const TZelkFrameList list = Read(WriteZelkFile(spec));
  EXPECT_EQ(list.frames[0]->picture.Get(1, 0), 0x010101u);
  EXPECT_EQ(list.frames[0]->KeyColor, 0x010101);
  spec.frames[0].key = -1;
  EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->KeyColor, -1);
}

// Tiles: every kind of entry gives the picture that untiled data gives.
struct TileCase {
  const char* what;
  int bits;
  std::int32_t tile_w, tile_h;
  bool scrambled;
};

class ZelkTiles : public ::testing::TestWithParam<TileCase> {};

TEST_P(ZelkTiles, GiveTheSamePictureAsUntiledData) {
  const TileCase& c = GetParam();
  const std::int32_t w = 16, h = 11;
  // Layer 0 of frame 0: a picture whose tile 0 repeats at tile 2.
  ZelkPicture base = Pattern(w, h, c.bits, 3);
  const std::int32_t across = (w + c.tile_w - 1) / c.tile_w;
  for (std::int32_t y = 0; y < std::min(c.tile_h, h); ++y)
    for (std::int32_t x = 0; x < c.tile_w; ++x) base.Set(2 * c.tile_w + x, y, base.Get(x, y));
  ZelkPicture second = Pattern(w, h, c.bits, 8);
  // Frame 1's layer shares tile 1 with frame 0 layer 0, and tile `across` (row 1) with layer 0
  // of its own frame.
  ZelkPicture third = Pattern(w, h, c.bits, 5);
  const Rect tile1{c.tile_w, 0, std::min(w, 2 * c.tile_w), std::min(h, c.tile_h)};
  const Rect tile_row1{0, c.tile_h, std::min(w, c.tile_w), std::min(h, 2 * c.tile_h)};
  third.CopyArea(base, tile1);
  third.CopyArea(second, tile_row1);
  ZelkPicture mask = Pattern(w, h, 8, 4);
  mask.Palette().clear();
  ZelkPicture mask3 = Pattern(w, h, 8, 6);
  mask3.Palette().clear();
  mask3.CopyArea(mask, tile1);

  auto build = [&](bool tiled) {
    ZelkFileSpec spec;
    spec.identification = 12341;
    spec.scrambled = tiled && c.scrambled;
    spec.compression = ZelkCompression::None;
    if (tiled) {
      spec.tile_width = c.tile_w;
      spec.tile_height = c.tile_h;
    }
    ZelkLayerSpec l0 = LayerOf(base);
    l0.mask = mask;
    l0.use_mask = true;
    l0.picture_tiles.assign(static_cast<std::size_t>(across) * ((h + c.tile_h - 1) / c.tile_h), kLiteralTile);
    l0.picture_tiles[2] = {-2, 0};
    ZelkLayerSpec l1 = LayerOf(second, 128);
    spec.frames.push_back(FrameOf(base, {l0, l1}));
    ZelkLayerSpec l2 = LayerOf(third);
    l2.mask = mask3;
    l2.use_mask = true;
    l2.picture_tiles.assign(l0.picture_tiles.size(), kLiteralTile);
    l2.picture_tiles[1] = {0, 0};
    l2.picture_tiles[static_cast<std::size_t>(across)] = {1, 1};  // an earlier layer of this frame
    l2.mask_tiles.assign(l0.picture_tiles.size(), kLiteralTile);
    l2.mask_tiles[1] = {0, 0};  // the mask of frame 0, layer 0
    ZelkLayerSpec l3 = LayerOf(second);
    spec.frames.push_back(FrameOf(base, {LayerOf(second), l3, l2}));
    return WriteZelkFile(spec);
  };
  ZelkFileInfo info;
  const TZelkFrameList tiled = Read(build(true), 12341, {.info = &info});
  ASSERT_EQ(info.frames.size(), 2u);
  EXPECT_EQ(info.frames[0].layers[0].picture->same_layer_tiles, 1);
  EXPECT_EQ(info.frames[1].layers[2].picture->other_layer_tiles, 2);
  EXPECT_EQ(info.frames[1].layers[2].mask->other_layer_tiles, 1);
  EXPECT_TRUE(info.frames[1].layers[2].mask->tiled);
  const TZelkFrameList plain = Read(build(false), 12341);
  ASSERT_EQ(tiled.frames.size(), 2u);
  for (std::size_t f = 0; f < 2; ++f) {
    EXPECT_EQ(tiled.frames[f]->picture, plain.frames[f]->picture) << c.what << " frame " << f;
    EXPECT_EQ(tiled.frames[f]->mask, plain.frames[f]->mask) << c.what << " frame " << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, ZelkTiles,
                         ::testing::Values(TileCase{"32 bits", 32, 4, 4, false}, TileCase{"24 bits scrambled", 24, 5, 3, true},
                                           TileCase{"8 bits", 8, 3, 5, false}, TileCase{"4 bits off bytes", 4, 3, 3, true},
                                           TileCase{"1 bit off bytes", 1, 5, 4, false},
                                           TileCase{"16 bits", 16, 4, 6, true}));

TEST(ZelkRead, TileReferencesToUndecodedOrMismatchedDataAreRefused) {
  const ZelkPicture picture = Pattern(8, 8, 24);
  struct Case {
    const char* what;
    ZelkTileEntry entry;
  };
  for (const Case& c : {Case{"a later tile", {-2, 2}}, Case{"itself", {-2, 1}}, Case{"a later frame", {1, 0}},
                        Case{"this very layer", {0, 1}}, Case{"a missing layer", {0, 7}},
                        Case{"a skipped block", {0, 0}}, Case{"a negative frame", {-3, 0}}}) {
    SCOPED_TRACE(c.what);
    ZelkFileSpec spec;
    spec.compression = ZelkCompression::None;
    spec.tile_width = 4;
    spec.tile_height = 4;
    ZelkLayerSpec empty = LayerOf(ZelkPicture());  // block size 0: never decoded
    ZelkLayerSpec layer = LayerOf(picture);
    layer.picture_tiles = {kLiteralTile, c.entry};
    ZelkFrameSpec frame = FrameOf(picture, {empty, layer});
    spec.frames.push_back(frame);
    EXPECT_THROW(Read(WriteZelkFile(spec)), FormatError);
  }
}

TEST(ZelkRead, MalformedFilesRaiseFormatErrors) {
  const ZelkPicture picture = Pattern(4, 4, 24);
  struct Case {
    const char* what;
    std::function<void(ZelkFileSpec&)> change;
  };
  const std::vector<Case> cases = {
      {"version 107", [](ZelkFileSpec& s) { s.version = 107; }},
      {"header past the end", [](ZelkFileSpec& s) { s.header_size = 1 << 20; s.frames.clear(); }},
      {"header above 64 KiB", [](ZelkFileSpec& s) { s.header_size = 70000; }},
      {"negative header", [](ZelkFileSpec& s) { s.header_size = -4; }},
      {"bit count 7", [](ZelkFileSpec& s) { s.frames[0].bit_count = 7; }},
      {"width 0", [](ZelkFileSpec& s) { s.frames[0].width = 0; }},
      {"height 40000", [](ZelkFileSpec& s) { s.frames[0].height = 40000; }},
      {"above the pixel cap", [](ZelkFileSpec& s) { s.frames[0].width = 30000; s.frames[0].height = 30000; }},
      {"frame count past the end", [](ZelkFileSpec& s) { s.frame_count = 1000; }},
      {"layer count past the end", [](ZelkFileSpec& s) { s.frames[0].layer_count = 1 << 28; }},
      {"block past the end", [](ZelkFileSpec& s) { s.frames[0].layers[0].picture_size_override = 1 << 24; }},
      {"inflated size differs", [](ZelkFileSpec& s) { s.frames[0].layers[0].picture_block = DeflateZlib(Bytes(47, 1)); }},
      {"inflates past the rows", [](ZelkFileSpec& s) { s.frames[0].layers[0].picture_block = DeflateZlib(Bytes(49, 1)); }},
      {"not zlib", [](ZelkFileSpec& s) { s.frames[0].layers[0].picture_block = Bytes(20, 0x55); }},
      {"raw size differs", [](ZelkFileSpec& s) {
         s.compression = ZelkCompression::None;
         s.frames[0].layers[0].picture_block = Bytes(47, 1);
       }},
      {"JPEG of another size", [](ZelkFileSpec& s) {
         s.compression = ZelkCompression::Jpeg;
         s.frames[0].layers[0].picture_block = EncodeJpeg(5, 4, std::vector<std::uint32_t>(20, 0), 70);
       }},
      {"JPEG that is not", [](ZelkFileSpec& s) {
         s.compression = ZelkCompression::Jpeg;
         s.frames[0].layers[0].picture_block = Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 1};
       }},
      {"compression kind 3", [](ZelkFileSpec& s) { s.compression = static_cast<ZelkCompression>(3); }},
      {"negative rectangle count", [](ZelkFileSpec& s) { s.version = 104; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZelkFileSpec spec = OneLayer(picture);
    c.change(spec);
    Bytes file = WriteZelkFile(spec);
    if (std::string(c.what) == "negative rectangle count") {
      // The region count is the eighth byte from the end: -2.
      file[file.size() - 8] = 0xFE;
      file[file.size() - 7] = 0xFF;
      file[file.size() - 6] = 0xFF;
      file[file.size() - 5] = 0xFF;
    }
    try {
      Read(file);
      ADD_FAILURE() << "no error";
    } catch (const FormatError& error) {
      EXPECT_EQ(error.Source(), "test.zel");
    }
  }
}

TEST(ZelkRead, ShortHeadersAndSkippedBlocks) {
  const ZelkPicture picture = Pattern(4, 4, 24);
  // A header of 24 bytes has no background, tiles or flags: they read as 0.
  ZelkFileSpec spec = OneLayer(picture);
  spec.header_size = 24;
  spec.background = 0x123456;
  EXPECT_EQ(Read(WriteZelkFile(spec)).background, 0);
  // A longer header is skipped past its first 40 bytes.
  spec.header_size = 300;
  EXPECT_EQ(Read(WriteZelkFile(spec)).frames[0]->picture, picture);
  // A block of size 0 or less is skipped: the layer keeps the zeros of a new store, and
  // composes as such over the background.
  spec = OneLayer(picture);
  spec.background = 0x0000FF;
  spec.frames[0].layers.push_back(LayerOf(picture, 128));
  spec.frames[0].layers[1].picture_block = Bytes{};
  spec.frames[0].layers[1].picture_size_override = -5;
  spec.frames[0].layers[0] = spec.frames[0].layers[1];
  spec.frames[0].layers[0].opacity = 255;
  spec.frames[0].layers[0].key = 0;
  const TZelkFrameList list = Read(WriteZelkFile(spec));
  EXPECT_EQ(list.frames[0]->picture.Get(2, 2), 0x7F0000u);
}

TEST(ZelkRead, ProbeIsTrueOnlyForUncompressedFilesFrom103) {
  const ZelkPicture picture = Pattern(4, 4, 24);
  for (std::int32_t version : {102, 103, 106})
    for (ZelkCompression kind : {ZelkCompression::Zlib, ZelkCompression::None, ZelkCompression::Jpeg}) {
      ZelkFileSpec spec = OneLayer(picture, version);
      spec.compression = kind;
      EXPECT_EQ(TZelkFrameList::Probe(WriteZelkFile(spec)), version >= 103 && kind == ZelkCompression::None)
          << version << " " << static_cast<int>(kind);
    }
  EXPECT_FALSE(TZelkFrameList::Probe(Bytes{'Z', 'e', 'l', 'k'}));
}

TEST(ZelkRead, ProbeAgreesWithTheArchiveWriter) {
  // The archive compresses a layered image exactly when it is stored uncompressed inside.
  const ZelkPicture picture = testing::Flat(64, 64, 24, 0x123456);
  testing::TempFolder folder;
  TVrFileCollection collection;
  collection.SetBaseFolder(folder.Path().string() + "/");
  std::vector<std::pair<std::string, bool>> probes;
  for (std::int32_t version : {102, 103, 106})
    for (ZelkCompression kind : {ZelkCompression::Zlib, ZelkCompression::None, ZelkCompression::Jpeg}) {
      ZelkFileSpec spec = OneLayer(picture, version);
      spec.compression = kind;
      const std::string name = "p" + std::to_string(version) + "_" + std::to_string(static_cast<int>(kind)) + ".zel";
      const Bytes file = WriteZelkFile(spec);
      folder.Write(name, file);
      collection.AddEntry(name);
      probes.emplace_back(name, TZelkFrameList::Probe(file));
    }
  TVxBigMemoryStream out;
  ASSERT_TRUE(collection.WriteArchive(out));
  TVrFileCollection archive;
  archive.LoadFromMemory(out.Memory().Data(), "written.dat");
  for (const auto& [name, probe] : probes) {
    const TVrFile* entry = archive.Find(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(!entry->Stored, probe) << name;
  }
}

TEST(ZelkRead, SurfacesLoadLayeredImagesThroughTheRegisteredLoader) {
  RegisterLayeredImageLoader();
  const ZelkPicture picture = Pattern(6, 5, 32);
  ZelkFileSpec spec = OneLayer(picture);
  spec.identification = 55;
  spec.scrambled = true;
  spec.compression = ZelkCompression::None;
  const ZelkPicture later = Pattern(6, 5, 32, 9);
  spec.frames.push_back(FrameOf(later, {LayerOf(later)}));
  TDIBX surface(1, 1, 32);
  ASSERT_TRUE(surface.LoadFromStream(WriteZelkFile(spec), 55, "test.zel"));
  ASSERT_EQ(surface.Width(), 6);
  ASSERT_EQ(surface.Height(), 5);
  for (std::int32_t y = 0; y < 5; ++y)
    for (std::int32_t x = 0; x < 6; ++x) EXPECT_EQ(surface.GetPixel(x, y), picture.Get(x, y));
}

}  // namespace
}  // namespace kest
