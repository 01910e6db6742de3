#pragma once
// A writer of layered image files of any version, with every feature of the format spelled out:
// layers with opacity, keys and masks, tile tables with all three kinds of entry, scrambling,
// rectangle lists and the opaque-first-layer flag. TZelkFrameList::Write uses it for version 106;
// tests, fuzz seeds and the demo's picture generator use it for the rest.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_reader.h"
#include "images/zelk.h"

namespace kest {

// One tile table entry (A, B): (-1, 0) literal pixels follow, (-2, B) the same as tile B of this
// picture, (A, B) the same area of layer B of frame A.
using ZelkTileEntry = std::pair<std::int32_t, std::int32_t>;
inline constexpr ZelkTileEntry kLiteralTile{-1, 0};

struct ZelkLayerSpec {
  std::int32_t skipped_a = 0;  // the 8 ignored bytes
  std::int32_t skipped_b = 0;
  bool visible = true;
  std::int32_t key = -1;
  std::int32_t opacity = 255;
  bool use_mask = false;  // written from version 101
  std::string name = "Layer";
  ZelkPicture picture;    // the frame's size and bit count; empty: block size 0
  ZelkPicture mask;       // 8 bits; empty: mask size 0 (written from version 100)
  // With tiles: one entry per tile in picture order (empty: every tile literal).
  std::vector<ZelkTileEntry> picture_tiles;
  std::vector<ZelkTileEntry> mask_tiles;
  // Written instead of the encoded block when set (its size first), for malformed fixtures.
  std::optional<Bytes> picture_block;
  std::optional<Bytes> mask_block;
  // Written as the block size instead of the block's true size when set.
  std::optional<std::int32_t> picture_size_override;
};

struct ZelkFrameSpec {
  std::string name = "Frame1";
  std::int32_t key = -1;
  std::int32_t delay = 100;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bit_count = 32;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB; padded with 0 to 1 << bit count entries
  std::vector<ZelkLayerSpec> layers;
  std::optional<std::int32_t> layer_count;  // written instead of layers.size() when set
  std::vector<Rect> regions;        // written from version 104
  std::vector<Rect> second_rects;
};

struct ZelkFileSpec {
  std::int32_t version = kZelkVersion;
  bool signature = true;  // without it the file is version 0
  std::int32_t identification = 0;  // the code rows and tile tables are permuted with
  // Header (version 103 on); before 103 only the frame count and (102) the background are written.
  std::int32_t header_size = 40;
  bool scrambled = false;
  ZelkCompression compression = ZelkCompression::Zlib;
  std::int32_t background = 0;
  std::int32_t tile_width = 0;
  std::int32_t tile_height = 0;
  bool first_layer_opaque = false;
  std::uint8_t jpeg_quality = 70;
  std::optional<std::int32_t> frame_count;  // written instead of frames.size() when set
  std::vector<ZelkFrameSpec> frames;
};

Bytes WriteZelkFile(const ZelkFileSpec& spec);

// A picture of the given size and depth whose pixels are fill(x, y) (native values), with a
// palette for 8 bits or less.
template <typename Fill>
ZelkPicture MakeZelkPicture(std::int32_t width, std::int32_t height, int bit_count, Fill fill,
                            std::vector<std::uint32_t> palette = {}) {
  ZelkPicture picture;
  if (bit_count <= 8) {
    palette.resize(std::size_t{1} << bit_count, 0);
    picture.Palette() = std::move(palette);
  }
  picture.Resize(width, height, bit_count, bit_count <= 8);
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x) picture.Set(x, y, static_cast<std::uint32_t>(fill(x, y)));
  return picture;
}

}  // namespace kest
