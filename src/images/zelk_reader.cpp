// Reading the layered image format: signature, header, frames and layers, and the block
// encodings (zlib, raw rows read in place, JPEG, tiles), each layer composed as soon as it is read.

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/errors.h"
#include "core/random.h"
#include "images/zelk.h"
#include "images/zelk_compose.h"
#include "render/image_codec.h"
#include "render/row_kernels.h"
#include "vfs/deflate.h"

namespace kest {

namespace {

constexpr std::int32_t kMaxHeaderSize = 65536;
constexpr std::size_t kHeaderRecordSize = 40;
// All composed frames of one list together.
constexpr std::int64_t kMaxListPixels = kMaxZelkPixels * 4;
// The layers a tiled file keeps for its references.
constexpr std::size_t kMaxKeptLayerBytes = std::size_t{256} << 20;
// The least a frame and a layer record can take, for checking counts against the bytes left.
constexpr std::size_t kMinFrameBytes = 4 + 4 + 4 + 1 + 4 + 4 + 12;
constexpr std::size_t kMinLayerBytes = 8 + 1 + 4 + 4 + 4 + 4;

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// A zlib block that inflates to at most `limit` bytes (rows to be permuted, or a tile table with
// the tiles given literally): inflated into a store that is neither cleared first nor copied to
// fit. Empty with `fault` set when the block is damaged or inflates to more.
PixelStore InflateAtMost(ByteSpan stored, std::size_t limit, std::string& fault) {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) throw std::bad_alloc();
  PixelStore out(limit);
  std::size_t produced = 0;
  const libdeflate_result result = libdeflate_zlib_decompress(decompressor.get(), stored.data(), stored.size(),
                                                              out.data(), out.size(), &produced);
  if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
    fault = "compressed data inflates to more than " + std::to_string(limit) + " bytes";
  else if (result != LIBDEFLATE_SUCCESS)
    fault = "compressed data is damaged (not a valid zlib stream)";
  out.resize(fault.empty() ? produced : 0);
  return out;
}

bool ValidBitCount(std::int32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

class Reader {
 public:
  Reader(TZelkFrameList& list, ByteSpan data, const std::string& source, const ZelkLoadOptions& options)
      : list_(list), in_(data, source), source_(source), options_(options) {}

  void Read();
  std::int32_t Version() const { return version_; }

 private:
  void ReadSignature();
  void ReadHeader();
  void ReadFrame(std::size_t frame_index);
  // The layer's record up to its blocks; gives its name.
  std::string ReadLayerRecord(TZelkLayer& layer, int bits);
  // The picture block goes into `picture` (the layer's own, or the frame's for a layer that
  // replaces it), sized already; then the mask block.
  void ReadLayerBlocks(std::size_t frame_index, std::size_t layer_index, TZelkLayer& layer, ZelkPicture& picture,
                       ZelkLayerInfo* info);
  // Reads one block (int32 size first) into `target`, which is sized already and may hold
  // anything: every byte of its store is written. False when the block is absent (size 0 or
  // less; the store is then left as it was).
  bool ReadBlock(ZelkPicture& target, bool is_mask, std::size_t frame_index, std::size_t layer_index,
                 std::optional<ZelkBlockInfo>* info);
  // Rows in stored order (or permuted) copied into the picture; 32-bit pixels get their fourth
  // byte cleared on the way.
  void DecodeRows(ByteSpan rows, ZelkPicture& target, bool permuted);
  void DecodeTiles(ByteSpan data, std::size_t offset, ZelkPicture& target, bool is_mask, std::size_t frame_index,
                   std::size_t layer_index, ZelkBlockInfo& info);
  void DecodeJpegBlock(ByteSpan data, std::size_t offset, ZelkPicture& target);
  [[noreturn]] void FailAt(std::size_t offset, const std::string& what) const {
    throw FormatError(source_, offset, what);
  }

  TZelkFrameList& list_;
  ByteReader in_;
  const std::string& source_;
  const ZelkLoadOptions& options_;
  std::int32_t version_ = 0;
  ZelkHeader header_;
  bool keep_layers_ = false;
  std::size_t kept_bytes_ = 0;
  std::int64_t list_pixels_ = 0;
};

void Reader::ReadSignature() {
  if (in_.Remaining() >= 7) {
    const ByteSpan head = in_.Take(7);
    if (std::memcmp(head.data(), "Zelk", 4) == 0) {
      std::int32_t version = 0;
      for (std::size_t i = 4; i < 7; ++i) {
        if (head[i] < '0' || head[i] > '9') FailAt(i, "the signature's version is not three digits");
        version = version * 10 + (head[i] - '0');
      }
      if (version > kZelkVersion)
        FailAt(4, "version " + std::to_string(version) + " is newer than " + std::to_string(kZelkVersion));
      version_ = version;
      if (options_.info) options_.info->has_signature = true;
      return;
    }
  }
  // Without the signature the data is version 0 and the frame count comes first.
  in_.Seek(0);
  version_ = 0;
}

void Reader::ReadHeader() {
  if (version_ < 103) {
    header_.frame_count = in_.I32();
    in_.Skip(1);
    if (version_ == 102) header_.background = in_.I32();
    return;
  }
  const std::size_t at = in_.Position();
  const std::int32_t size = in_.I32();
  if (size < 0 || size > kMaxHeaderSize)
    FailAt(at, "header size " + std::to_string(size) + " is outside 0 to " + std::to_string(kMaxHeaderSize));
  if (static_cast<std::size_t>(size) > in_.Remaining())
    FailAt(at, "header size " + std::to_string(size) + " is past the end of the data");
  // A shorter header reads what it has; the rest of the record reads as 0.
  std::uint8_t record[kHeaderRecordSize] = {};
  const ByteSpan stored = in_.Take(static_cast<std::size_t>(size));
  std::memcpy(record, stored.data(), std::min(stored.size(), kHeaderRecordSize));
  ByteReader h(ByteSpan(record, kHeaderRecordSize), source_);
  header_.header_size = size;
  header_.version_field = h.I32();
  header_.width = h.I32();
  header_.height = h.I32();
  header_.bit_count = h.I32();
  header_.frame_count = h.I32();
  h.Skip(1);
  header_.scrambled = h.U8() != 0;
  const std::uint8_t kind = h.U8();
  if (kind > 2) FailAt(at + 4 + 22, "compression kind " + std::to_string(kind) + " is not 0, 1 or 2");
  header_.compression = static_cast<ZelkCompression>(kind);
  h.Skip(1);
  header_.background = h.I32();
  header_.tile_width = h.I32();
  header_.tile_height = h.I32();
  const bool first_layer_opaque = h.U8() != 0;
  header_.first_layer_opaque = version_ >= 105 && first_layer_opaque;
  header_.jpeg_quality = h.U8();
  if (header_.tile_width < 0 || header_.tile_height < 0)
    FailAt(at + 4 + 28, "tile size " + std::to_string(header_.tile_width) + " x " +
                            std::to_string(header_.tile_height) + " is negative");
}

void Reader::Read() {
  ReadSignature();
  ReadHeader();
  list_.background = header_.background;
  list_.FirstLayerOpaque = header_.first_layer_opaque;
  if (options_.info) {
    options_.info->version = version_;
    options_.info->header = header_;
  }
  keep_layers_ = version_ >= 103 && header_.HasTiles() && header_.compression != ZelkCompression::Jpeg;
  std::int64_t count = header_.frame_count;
  if (count < 0) FailAt(in_.Position(), "frame count " + std::to_string(count) + " is negative");
  // With the first frame only, nothing after frame 1 is read: the file may end there.
  if (options_.first_frame_only && count > 1) count = 1;
  in_.Count(count, kMinFrameBytes, "frames");
  for (std::int64_t i = 0; i < count; ++i) {
    list_.frames.push_back(std::make_unique<TZelkFrame>());
    ReadFrame(static_cast<std::size_t>(i));
  }
}

void Reader::ReadFrame(std::size_t frame_index) {
  TZelkFrame& frame = *list_.frames[frame_index];
  ZelkFrameInfo* info = nullptr;
  if (options_.info) info = &options_.info->frames.emplace_back();
  frame.name = in_.LString();
  frame.KeyColor = in_.I32();
  frame.Delay = in_.I32();
  in_.Skip(1);
  in_.Skip(4);
  const std::int32_t layer_count = in_.I32();
  const std::size_t size_at = in_.Position();
  const std::int32_t width = in_.I32();
  const std::int32_t height = in_.I32();
  const std::int32_t bits = in_.I32();
  if (!ValidBitCount(bits))
    FailAt(size_at + 8, "bit count " + std::to_string(bits) + " is not 1, 4, 8, 15, 16, 24 or 32");
  if (width < 1 || height < 1 || width > kMaxZelkSide || height > kMaxZelkSide)
    FailAt(size_at, "frame size " + std::to_string(width) + " x " + std::to_string(height) + " is outside 1 to " +
                        std::to_string(kMaxZelkSide));
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  if (pixels > kMaxZelkPixels)
    FailAt(size_at, "frame size " + std::to_string(width) + " x " + std::to_string(height) + " is above " +
                        std::to_string(kMaxZelkPixels) + " pixels");
  list_pixels_ += pixels;
  if (list_pixels_ > kMaxListPixels)
    FailAt(size_at, "the frames hold more than " + std::to_string(kMaxListPixels) + " pixels together");
  std::vector<std::uint32_t> palette;
  if (bits <= 8) {
    const std::size_t entries = std::size_t{1} << bits;
    in_.Count(static_cast<std::int64_t>(entries), 4, "palette entries");
    palette.resize(entries);
    for (auto& entry : palette) entry = in_.U32() & 0x00FFFFFF;
  }
  in_.Count(layer_count, kMinLayerBytes, "layers");

  // 15- and 16-bit layers are widened to 24 bits as they are composed.
  const bool widened = bits == 15 || bits == 16;
  const int picture_bits = widened ? 24 : bits;
  frame.picture.Palette() = palette;
  // The background is filled only when a layer does not replace the whole picture.
  frame.picture.Resize(width, height, picture_bits, true, ZelkPicture::Fill::None);
  bool background_pending = true;
  const auto fill_background = [&] {
    if (background_pending) FillBackground(frame.picture, list_.background);
    background_pending = false;
  };
  if (frame.KeyColor != -1) {
    if (bits == 32) frame.KeyColor &= 0x00FFFFFF;
    if (widened) frame.KeyColor = static_cast<std::int32_t>(Widen16(static_cast<std::uint32_t>(frame.KeyColor), bits));
  }
  frame.UpdateKeyColorRgb();
  if (info) {
    info->name = frame.name;
    info->width = width;
    info->height = height;
    info->bit_count = bits;
    info->key = frame.KeyColor;
    info->delay = frame.Delay;
    info->palette = palette;
  }

  ComposeState state{.first_layer_opaque = list_.FirstLayerOpaque};
  for (std::int32_t i = 0; i < layer_count; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    auto layer = std::make_unique<TZelkLayer>();
    ZelkLayerInfo* layer_info = info ? &info->layers.emplace_back() : nullptr;
    const std::string name = ReadLayerRecord(*layer, bits);
    // A layer that replaces the picture and is not kept is read straight into the frame.
    const bool place = !keep_layers_ && !widened && ReplacesPicture(*layer, index, state);
    if (!place) {
      layer->picture.Palette() = palette;
      layer->picture.Resize(width, height, bits, true, ZelkPicture::Fill::None);
    }
    ReadLayerBlocks(frame_index, index, *layer, place ? frame.picture : layer->picture, layer_info);
    if (layer_info) layer_info->name = name;
    if (place) {
      background_pending = false;
      ComposeLayer(frame, *layer, index, state, LayerUse::Placed);
    } else if (widened) {
      TZelkLayer wide;
      wide.visible = layer->visible;
      wide.opacity = layer->opacity;
      wide.use_mask = layer->use_mask;
      wide.key = layer->key == -1 ? -1 : static_cast<std::int32_t>(Widen16(static_cast<std::uint32_t>(layer->key), bits));
      wide.mask = layer->mask;
      wide.picture.Resize(width, height, 24, false);
      for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) wide.picture.Set(x, y, Widen16(layer->picture.Get(x, y), bits));
      if (ReplacesPicture(wide, index, state))
        background_pending = false;
      else
        fill_background();
      ComposeLayer(frame, wide, index, state, LayerUse::Consume);
    } else {
      if (ReplacesPicture(*layer, index, state))
        background_pending = false;
      else
        fill_background();
      ComposeLayer(frame, *layer, index, state, keep_layers_ ? LayerUse::Keep : LayerUse::Consume);
    }
    if (keep_layers_) {
      kept_bytes_ += layer->picture.ByteSize() + layer->mask.ByteSize();
      if (kept_bytes_ > kMaxKeptLayerBytes)
        FailAt(in_.Position(), "the layers kept for tile references exceed " + std::to_string(kMaxKeptLayerBytes) +
                                   " bytes");
      frame.layers.push_back(std::move(layer));
    }
  }
  fill_background();

  if (version_ >= 104) {
    for (std::vector<Rect>* rects : {&frame.RegionRects, &frame.SecondRects}) {
      const std::size_t at = in_.Position();
      const std::int32_t count = in_.I32();
      if (count < -1) FailAt(at, "rectangle count " + std::to_string(count) + " is negative");
      const std::size_t n = count <= 0 ? 0 : in_.Count(count, 16, "rectangles");
      rects->reserve(n);
      for (std::size_t r = 0; r < n; ++r) {
        Rect rect;
        rect.left = in_.I32();
        rect.top = in_.I32();
        rect.right = in_.I32();
        rect.bottom = in_.I32();
        rects->push_back(rect);
      }
    }
  }
  if (info) {
    info->regions = frame.RegionRects;
    info->second_rects = frame.SecondRects;
  }
}

std::string Reader::ReadLayerRecord(TZelkLayer& layer, int bits) {
  in_.Skip(8);
  layer.visible = in_.U8() != 0;
  layer.key = in_.I32();
  layer.opacity = in_.I32();
  layer.use_mask = version_ >= 101 && in_.U8() != 0;
  std::string name = in_.LString();
  if (bits == 32 && layer.key != -1) layer.key &= 0x00FFFFFF;
  return name;
}

void Reader::ReadLayerBlocks(std::size_t frame_index, std::size_t layer_index, TZelkLayer& layer,
                             ZelkPicture& picture, ZelkLayerInfo* info) {
  layer.picture_decoded = ReadBlock(picture, false, frame_index, layer_index, info ? &info->picture : nullptr);
  // An absent picture block leaves the layer's pixels 0.
  if (!layer.picture_decoded) std::fill(picture.Data().begin(), picture.Data().end(), std::uint8_t{0});
  if (version_ >= 100) {
    // The mask's store is made only for a block that is there.
    const std::size_t at = in_.Position();
    const bool present = in_.I32() > 0;
    in_.Seek(at);
    ZelkPicture mask;
    if (present) mask.Resize(picture.Width(), picture.Height(), 8, false, ZelkPicture::Fill::None);
    if (ReadBlock(mask, true, frame_index, layer_index, info ? &info->mask : nullptr)) {
      // A layer with a mask ignores its key, whether or not the mask is used.
      layer.key = -1;
      layer.mask = std::move(mask);
      layer.mask_decoded = true;
    }
  }
  if (info) {
    info->visible = layer.visible;
    info->key = layer.key;
    info->opacity = layer.opacity;
    info->use_mask = layer.use_mask;
  }
}

bool Reader::ReadBlock(ZelkPicture& target, bool is_mask, std::size_t frame_index, std::size_t layer_index,
                       std::optional<ZelkBlockInfo>* info) {
  const std::size_t at = in_.Position();
  const std::int32_t size = in_.I32();
  if (size <= 0) return false;
  if (static_cast<std::size_t>(size) > in_.Remaining())
    FailAt(at, "block of " + std::to_string(size) + " bytes is past the end of the data");
  const std::size_t data_at = in_.Position();
  // Raw blocks are read in place from the data; zlib blocks are inflated first.
  const ByteSpan stored = in_.Take(static_cast<std::size_t>(size));
  const ZelkCompression kind = header_.compression;
  ZelkBlockInfo block;
  block.size = size;
  const bool tiled = version_ >= 103 && header_.HasTiles() && kind != ZelkCompression::Jpeg;
  const std::int64_t rows_size = static_cast<std::int64_t>(target.RowBytes()) * target.Height();

  // Rows of 32-bit pixels have no padding: the whole store is pixels, whose fourth byte is 0.
  const auto clear_fourth_bytes = [&target] {
    if (target.BitCount() != 32) return;
    ActiveKernels().copy_and(reinterpret_cast<std::uint32_t*>(target.Data().data()), target.Data().data(),
                             target.Data().size() / 4, 0x00FFFFFF);
  };
  if (!is_mask && kind == ZelkCompression::Jpeg) {
    block.kind = ZelkBlockInfo::Kind::Jpeg;
    DecodeJpegBlock(stored, data_at, target);
  } else {
    const bool inflate = kind == ZelkCompression::Zlib || (is_mask && kind == ZelkCompression::Jpeg);
    block.kind = inflate ? ZelkBlockInfo::Kind::Zlib : ZelkBlockInfo::Kind::Raw;
    std::size_t limit = static_cast<std::size_t>(rows_size);
    if (tiled) {
      // The tile table, and every tile given literally.
      const std::int64_t across = (target.Width() + header_.tile_width - 1) / header_.tile_width;
      const std::int64_t down = (target.Height() + header_.tile_height - 1) / header_.tile_height;
      std::int64_t literal = 0;
      for (std::int64_t c = 0; c < across; ++c) {
        const std::int64_t w = std::min<std::int64_t>(header_.tile_width, target.Width() - c * header_.tile_width);
        literal += (w * target.BitCount() + 7) / 8;
      }
      limit = static_cast<std::size_t>(across * down * 8 + literal * target.Height());
    }
    // Before 103 the rows are always permuted by the code (code 0 keeps the order); later only
    // when the header says scrambled, and never in the masks of JPEG files.
    const bool permuted =
        (version_ <= 102 || (header_.scrambled && kind != ZelkCompression::Jpeg)) && list_.Identification() != 0;
    if (!tiled && inflate && !permuted) {
      // Rows in stored order: inflated straight into the picture.
      try {
        InflateZlibInto(stored, target.Data(), source_);
      } catch (const FormatError& error) {
        FailAt(data_at, std::string("block: ") + error.what());
      }
      clear_fourth_bytes();
    } else {
      PixelStore inflated;
      ByteSpan data = stored;
      if (inflate) {
        std::string fault;
        inflated = InflateAtMost(stored, limit, fault);
        if (!fault.empty()) FailAt(data_at, "block: " + fault);
        data = inflated;
      }
      if (tiled) {
        // Tiles cover every pixel but not the padding of the rows (nor the rest of a byte below
        // 8 bits).
        block.tiled = true;
        if (target.BitCount() < 8 ||
            static_cast<std::int64_t>(target.RowBytes()) != std::int64_t{target.Width()} * target.BytesPerPixel())
          std::fill(target.Data().begin(), target.Data().end(), std::uint8_t{0});
        DecodeTiles(data, data_at, target, is_mask, frame_index, layer_index, block);
        clear_fourth_bytes();
      } else {
        if (static_cast<std::int64_t>(data.size()) != rows_size)
          FailAt(data_at, std::string(inflate ? "inflated" : "raw") + " block of " + std::to_string(data.size()) +
                              " bytes does not hold " + std::to_string(target.Height()) + " rows of " +
                              std::to_string(target.RowBytes()) + " bytes");
        DecodeRows(data, target, permuted);
      }
    }
  }
  if (info) *info = block;
  return true;
}

void Reader::DecodeRows(ByteSpan rows, ZelkPicture& target, bool permuted) {
  const std::size_t row_bytes = static_cast<std::size_t>(target.RowBytes());
  const auto copy = [&target](std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    if (target.BitCount() == 32)
      ActiveKernels().copy_and(reinterpret_cast<std::uint32_t*>(to), from, bytes / 4, 0x00FFFFFF);
    else
      std::memcpy(to, from, bytes);
  };
  if (!permuted) {
    copy(target.Data().data(), rows.data(), rows.size());
    return;
  }
  const std::vector<std::int32_t> order = ZelkRowPermutation(list_.Identification(), target.Height());
  for (std::size_t k = 0; k < order.size(); ++k) copy(target.Row(order[k]), rows.data() + k * row_bytes, row_bytes);
}

void Reader::DecodeJpegBlock(ByteSpan data, std::size_t offset, ZelkPicture& target) {
  DecodedImage image;
  try {
    if (target.BitCount() == 32) {
      // Decoded straight into the rows: pixels 0x00RRGGBB are the bytes B, G, R, 0 of a 32-bit row.
      DecodeJpegInto(data, source_, target.Width(), target.Height(), target.Data().data(),
                     static_cast<std::size_t>(target.RowBytes()));
      return;
    }
    image = DecodeJpeg(data, source_, {target.Width(), target.Height()});
  } catch (const FormatError& error) {
    FailAt(offset, "JPEG block: " + std::string(error.what()));
  }
  const std::size_t width = static_cast<std::size_t>(target.Width());
  // Row padding, and the pixels below a byte, start from zeros.
  std::fill(target.Data().begin(), target.Data().end(), std::uint8_t{0});
  if (target.BitCount() == 24) {
    for (std::int32_t y = 0; y < target.Height(); ++y) {
      std::uint8_t* row = target.Row(y);
      const std::uint32_t* in = image.pixels.data() + static_cast<std::size_t>(y) * width;
      for (std::size_t x = 0; x < width; ++x) {
        row[x * 3] = static_cast<std::uint8_t>(in[x]);
        row[x * 3 + 1] = static_cast<std::uint8_t>(in[x] >> 8);
        row[x * 3 + 2] = static_cast<std::uint8_t>(in[x] >> 16);
      }
    }
    return;
  }
  for (std::int32_t y = 0; y < target.Height(); ++y)
    for (std::int32_t x = 0; x < target.Width(); ++x) {
      const std::uint32_t rgb = image.pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
      std::uint32_t value;
      if (target.BitCount() == 15 || target.BitCount() == 16)
        value = static_cast<std::uint32_t>(ColorToNative(target.BitCount(), static_cast<std::int32_t>(SwapRedBlue(rgb))));
      else
        value = target.FromRgb(rgb);
      target.Set(x, y, value);
    }
}


void CopyTileBits(ZelkPicture& target, const Rect& area, const std::uint8_t* data, std::size_t tile_row_bytes) {
  const int bits = target.BitCount();
  for (std::int32_t y = 0; y < area.Height(); ++y) {
    const std::uint8_t* row = data + static_cast<std::size_t>(y) * tile_row_bytes;
    if (bits >= 8) {
      std::memcpy(target.Row(area.top + y) + static_cast<std::size_t>(area.left) * target.BytesPerPixel(), row,
                  tile_row_bytes);
      continue;
    }
    // Tile rows start on a byte; the tile need not sit on a byte of the picture.
    for (std::int32_t x = 0; x < area.Width(); ++x) {
      const std::uint32_t v = bits == 1 ? (row[x >> 3] >> (7 - (x & 7))) & 1 : (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
      target.Set(area.left + x, area.top + y, v);
    }
  }
}

void CopyBetween(ZelkPicture& target, const Rect& to, const ZelkPicture& source, const Rect& from) {
  for (std::int32_t y = 0; y < to.Height(); ++y) {
    if (target.BitCount() >= 8) {
      const std::size_t bpp = static_cast<std::size_t>(target.BytesPerPixel());
      std::memmove(target.Row(to.top + y) + to.left * bpp, source.Row(from.top + y) + from.left * bpp,
                   static_cast<std::size_t>(to.Width()) * bpp);
      continue;
    }
    for (std::int32_t x = 0; x < to.Width(); ++x)
      target.Set(to.left + x, to.top + y, source.Get(from.left + x, from.top + y));
  }
}

void Reader::DecodeTiles(ByteSpan data, std::size_t offset, ZelkPicture& target, bool is_mask,
                         std::size_t frame_index, std::size_t layer_index, ZelkBlockInfo& info) {
  ByteReader tiles(data, source_);
  const std::int32_t tw = header_.tile_width, th = header_.tile_height;
  const std::int32_t across = (target.Width() + tw - 1) / tw;
  const std::int32_t down = (target.Height() + th - 1) / th;
  const std::int64_t count = static_cast<std::int64_t>(across) * down;
  if (count * 8 > static_cast<std::int64_t>(data.size()))
    FailAt(offset, "tile table of " + std::to_string(count) + " entries is past the end of the block");
  std::vector<std::pair<std::int32_t, std::int32_t>> stored(static_cast<std::size_t>(count));
  for (auto& entry : stored) {
    entry.first = tiles.I32();
    entry.second = tiles.I32();
  }
  std::vector<std::pair<std::int32_t, std::int32_t>> table = stored;
  if (header_.scrambled && list_.Identification() != 0) {
    const std::vector<std::int32_t> order = ZelkRowPermutation(list_.Identification(), static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < order.size(); ++i) table[static_cast<std::size_t>(order[i])] = stored[i];
  }
  auto tile_rect = [&](std::int64_t t) {
    const std::int32_t col = static_cast<std::int32_t>(t % across), row = static_cast<std::int32_t>(t / across);
    return Rect{col * tw, row * th, std::min(target.Width(), (col + 1) * tw), std::min(target.Height(), (row + 1) * th)};
  };
  for (std::int64_t t = 0; t < count; ++t) {
    const Rect area = tile_rect(t);
    const auto [a, b] = table[static_cast<std::size_t>(t)];
    const std::size_t entry_at = offset + static_cast<std::size_t>(t) * 8;
    if (a == -1) {
      const std::size_t row_bytes = (static_cast<std::size_t>(target.BitCount() == 15 ? 16 : target.BitCount()) *
                                         static_cast<std::size_t>(area.Width()) + 7) / 8;
      const ByteSpan pixels = tiles.Take(row_bytes * static_cast<std::size_t>(area.Height()));
      CopyTileBits(target, area, pixels.data(), row_bytes);
      ++info.literal_tiles;
    } else if (a == -2) {
      if (b < 0 || b >= t) FailAt(entry_at, "tile " + std::to_string(t) + " refers to tile " + std::to_string(b) +
                                                " that is not an earlier one");
      const Rect from = tile_rect(b);
      if (from.Width() != area.Width() || from.Height() != area.Height())
        FailAt(entry_at, "tile " + std::to_string(t) + " refers to tile " + std::to_string(b) + " of another size");
      CopyBetween(target, area, target, from);
      ++info.same_layer_tiles;
    } else {
      // The same area of layer B of frame A, read earlier; within this frame an earlier layer.
      const bool earlier = a >= 0 && (static_cast<std::size_t>(a) < frame_index ||
                                      (static_cast<std::size_t>(a) == frame_index && b >= 0 &&
                                       static_cast<std::size_t>(b) < layer_index));
      const TZelkFrame* frame = earlier ? list_.frames[static_cast<std::size_t>(a)].get() : nullptr;
      const TZelkLayer* layer = frame && b >= 0 && static_cast<std::size_t>(b) < frame->layers.size()
                                    ? frame->layers[static_cast<std::size_t>(b)].get()
                                    : nullptr;
      const ZelkPicture* source = nullptr;
      if (layer && (is_mask ? layer->mask_decoded : layer->picture_decoded))
        source = is_mask ? &layer->mask : &layer->picture;
      if (!source)
        FailAt(entry_at, "tile " + std::to_string(t) + " refers to layer " + std::to_string(b) + " of frame " +
                             std::to_string(a) + ", which holds no decoded data read before it");
      if (source->BitCount() != target.BitCount() || source->Width() < area.right || source->Height() < area.bottom)
        FailAt(entry_at, "tile " + std::to_string(t) + " refers to layer " + std::to_string(b) + " of frame " +
                             std::to_string(a) + ", which differs in size or depth");
      CopyBetween(target, area, *source, area);
      ++info.other_layer_tiles;
    }
  }
  if (!tiles.AtEnd())
    FailAt(offset + tiles.Position(), std::to_string(tiles.Remaining()) + " bytes follow the last tile of the block");
}

}  // namespace


std::vector<std::int32_t> ZelkRowPermutation(std::int32_t code, std::int32_t count) {
  std::vector<std::int32_t> order(static_cast<std::size_t>(std::max(count, 0)));
  if (code == 0) {
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::int32_t>(i);
    return order;
  }
  TVxRandom random(code);
  random.ResetPool(count);
  for (auto& p : order) p = random.Draw();
  return order;
}

void TZelkFrame::UpdateKeyColorRgb() {
  if (KeyColor == -1) {
    KeyColorRGB = -1;
  } else if (picture.BitCount() <= 8) {
    const auto& palette = picture.Palette();
    KeyColorRGB = static_cast<std::uint32_t>(KeyColor) < palette.size()
                      ? static_cast<std::int32_t>(SwapRedBlue(palette[static_cast<std::size_t>(KeyColor)]))
                      : -1;
  } else {
    KeyColorRGB = static_cast<std::int32_t>(SwapRedBlue(static_cast<std::uint32_t>(KeyColor)));
  }
}

void TZelkFrameList::LoadFromStream(ByteSpan data, const std::string& source, const ZelkLoadOptions& options) {
  frames.clear();
  if (options.info) *options.info = {};
  Reader reader(*this, data, source, options);
  try {
    reader.Read();
  } catch (...) {
    frames.clear();
    throw;
  }
  version_ = reader.Version();
  if (options.finish)
    for (auto& frame : frames) Finish(*frame);
  for (auto& frame : frames) frame->layers.clear();
}

bool TZelkFrameList::Probe(ByteSpan data) {
  constexpr std::size_t kCompressionKindAt = 7 + 4 + 22;  // signature, header size, field offset
  if (data.size() <= kCompressionKindAt || std::memcmp(data.data(), "Zelk", 4) != 0) return false;
  int version = 0;
  for (std::size_t i = 4; i < 7; ++i) {
    if (data[i] < '0' || data[i] > '9') return false;
    version = version * 10 + (data[i] - '0');
  }
  return version >= 103 && data[kCompressionKindAt] == 1;
}

}  // namespace kest
