#pragma once
// The layered image format (".zel"): a file of frames, each a stack of layers that the reader
// composes into one picture with an optional 8-bit mask; and its writer.
//
// File layout (integers little-endian):
//   "Zelk" + three digits of the version (106 now); without "Zelk" the data is version 0 and the
//   frame count comes first.
//   Header: below 103 an int32 frame count, one ignored byte and (102 only) the background
//   colour; from 103 an int32 header size and a header record (ZelkHeader).
//   Frames: name, key, delay, an ignored byte and int32, layer count, size and bit count, the
//   palette at 8 bits or less, the layers, and from 104 two lists of rectangles.
//   Layer: 8 ignored bytes, visible, key, opacity, use-mask (from 101), a name, the picture block
//   and (from 100) the mask block, each preceded by its int32 size.
//
// Decisions taken where the format leaves room are listed in docs/images.md.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "images/zelk_picture.h"
#include "render/geometry.h"

namespace kest {

class TCustomDIBX;

inline constexpr std::int32_t kZelkVersion = 106;

// How picture blocks are stored (header byte 22).
enum class ZelkCompression : std::uint8_t { Zlib = 0, None = 1, Jpeg = 2 };

// The header fields; a version before 103 has only frame count and (102) background.
struct ZelkHeader {
  std::int32_t header_size = 0;  // 0 before 103
  std::int32_t version_field = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bit_count = 0;
  std::int32_t frame_count = 0;
  bool scrambled = false;
  ZelkCompression compression = ZelkCompression::Zlib;
  std::int32_t background = 0;  // 0x00BBGGRR
  std::int32_t tile_width = 0;
  std::int32_t tile_height = 0;
  bool first_layer_opaque = false;  // read only from 105
  std::uint8_t jpeg_quality = 0;

  bool HasTiles() const { return tile_width > 0 && tile_height > 0; }
};

// What a reader saw of each block, for the tool's listing.
struct ZelkBlockInfo {
  enum class Kind { Zlib, Raw, Jpeg } kind = Kind::Zlib;
  std::int32_t size = 0;
  bool tiled = false;
  std::int32_t literal_tiles = 0;
  std::int32_t same_layer_tiles = 0;
  std::int32_t other_layer_tiles = 0;
};

struct ZelkLayerInfo {
  bool visible = false;
  std::int32_t key = -1;
  std::int32_t opacity = 255;
  bool use_mask = false;
  std::string name;
  std::optional<ZelkBlockInfo> picture;  // none: the block was absent (size 0 or less)
  std::optional<ZelkBlockInfo> mask;
};

struct ZelkFrameInfo {
  std::string name;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bit_count = 0;  // as stored (15 and 16 included)
  std::int32_t key = -1;
  std::int32_t delay = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::vector<ZelkLayerInfo> layers;
  std::vector<Rect> regions;
  std::vector<Rect> second_rects;
};

struct ZelkFileInfo {
  bool has_signature = false;
  std::int32_t version = 0;
  ZelkHeader header;
  std::vector<ZelkFrameInfo> frames;
};

class TZelkFrame;

class TZelkLayer {
 public:
  bool visible = true;
  std::int32_t key = -1;  // native value, -1 none
  std::int32_t opacity = 255;
  bool use_mask = false;
  ZelkPicture picture;
  ZelkPicture mask;  // empty: none
  // Whether the blocks were read (a block of size 0 or less is skipped); tile references may
  // name only decoded data.
  bool picture_decoded = false;
  bool mask_decoded = false;
};

class TZelkFrame {
 public:
  std::string name;
  std::int32_t KeyColor = -1;     // native value of the picture's format, -1 none
  std::int32_t KeyColorRGB = -1;  // the key as 0x00BBGGRR, -1 none
  std::int32_t Delay = 100;
  ZelkPicture picture;
  ZelkPicture mask;  // 8 bits; empty: none
  std::vector<Rect> RegionRects;
  std::vector<Rect> SecondRects;
  // The layers while the file is read (kept to the end of a tiled file for its references).
  std::vector<std::unique_ptr<TZelkLayer>> layers;

  bool HasMask() const { return !mask.Empty(); }
  // Recomputes KeyColorRGB from KeyColor and the picture's format.
  void UpdateKeyColorRgb();
};

struct ZelkLoadOptions {
  bool first_frame_only = false;
  bool finish = false;
  // Filled with what the reader saw when given.
  ZelkFileInfo* info = nullptr;
};

struct ZelkWriteOptions {
  ZelkCompression compression = ZelkCompression::Zlib;
  std::uint8_t jpeg_quality = 70;
  // Rows are permuted by the identification code; by default exactly when the code is not 0.
  // A scrambled write with code 0 raises "識別コードを設定してください".
  std::optional<bool> scrambled;
};

class TZelkFrameList {
 public:
  explicit TZelkFrameList(std::int32_t identification = 0) : identification_(identification) {}

  std::int32_t Identification() const { return identification_; }
  std::int32_t Version() const { return version_; }

  std::int32_t background = 0;       // 0x00BBGGRR
  bool FirstLayerOpaque = false;
  std::int32_t target_bit_count = 0;  // 0: none
  std::vector<std::unique_ptr<TZelkFrame>> frames;

  // Reads a layered image; FormatError names `source`, the offset and the fault.
  void LoadFromStream(ByteSpan data, const std::string& source, const ZelkLoadOptions& options = {});
  // By extension (any case): ".zel" the layered format; ".png", ".bmp", ".dib", ".jpg", ".jpeg",
  // ".gif", ".tga", ".ico" and ".cur" one frame per picture (GIF and ANI: every frame).
  // Other extensions leave the list empty.
  void LoadFromBytes(ByteSpan data, const std::string& file_name, const ZelkLoadOptions& options = {});
  void LoadFromFile(const std::string& path, const ZelkLoadOptions& options = {});

  // True for a layered image of version 103 or later stored without compression.
  static bool Probe(ByteSpan data);

  // Every frame with a key and no mask gets a mask: 255, and 0 where the picture has the key.
  void MakeMasks();
  // Finishing after a load: key masks, then the target bit count, else 8 bits or less to 24.
  void Finish(TZelkFrame& frame) const;
  // Crops the frame to its visible pixels; returns the area kept (its top-left is the offset).
  static Rect Trim(TZelkFrame& frame);
  // Sizes `surface` to the frame at the surface's own bit count and copies the picture and the
  // rectangle lists.
  static void CopyToSurface(const TZelkFrame& frame, TCustomDIBX& surface);
  // Sizes `surface` to the frame at 8 bits and copies the mask rows (nothing without a mask).
  static void CopyMask(const TZelkFrame& frame, TCustomDIBX& surface);

  // The list in version 106, one layer per frame.
  Bytes Write(const ZelkWriteOptions& options = {}) const;
  void WriteToFile(const std::string& path, const ZelkWriteOptions& options = {}) const;

 private:
  std::int32_t identification_;
  std::int32_t version_ = 0;
};

// The stored row (or table entry) k goes to position p_k of the permutation drawn with
// identification code `code` over `count` positions; code 0 keeps the order.
std::vector<std::int32_t> ZelkRowPermutation(std::int32_t code, std::int32_t count);

}  // namespace kest
