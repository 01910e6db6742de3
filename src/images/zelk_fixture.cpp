#include "images/zelk_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/byte_writer.h"
#include "render/image_codec.h"
#include "vfs/deflate.h"

namespace kest {

namespace {

struct FileRules {
  std::int32_t version;
  std::int32_t code;
  bool scrambled;
  ZelkCompression kind;
  std::int32_t tile_width;
  std::int32_t tile_height;
  int jpeg_quality;

  bool Tiled() const { return version >= 103 && tile_width > 0 && tile_height > 0 && kind != ZelkCompression::Jpeg; }
};

Bytes Rows(const ZelkPicture& picture, bool permuted, std::int32_t code) {
  const std::size_t row_bytes = static_cast<std::size_t>(picture.RowBytes());
  Bytes out(picture.ByteSize());
  const std::vector<std::int32_t> order = ZelkRowPermutation(permuted ? code : 0, picture.Height());
  // Stored row k holds the picture's row p_k.
  for (std::size_t k = 0; k < order.size(); ++k)
    std::memcpy(out.data() + k * row_bytes, picture.Row(order[k]), row_bytes);
  return out;
}

Bytes Tiles(const ZelkPicture& picture, const std::vector<ZelkTileEntry>& entries, const FileRules& rules) {
  const std::int32_t tw = rules.tile_width, th = rules.tile_height;
  const std::int32_t across = (picture.Width() + tw - 1) / tw;
  const std::int32_t down = (picture.Height() + th - 1) / th;
  const std::size_t count = static_cast<std::size_t>(across) * static_cast<std::size_t>(down);
  std::vector<ZelkTileEntry> table = entries;
  table.resize(count, kLiteralTile);
  ByteWriter out;
  // Stored entry i is the picture's entry p_i.
  const std::vector<std::int32_t> order =
      ZelkRowPermutation(rules.scrambled ? rules.code : 0, static_cast<std::int32_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    out.I32(table[static_cast<std::size_t>(order[i])].first);
    out.I32(table[static_cast<std::size_t>(order[i])].second);
  }
  const int bits = picture.BitCount() == 15 ? 16 : picture.BitCount();
  for (std::size_t t = 0; t < count; ++t) {
    if (table[t].first != -1) continue;
    const std::int32_t left = static_cast<std::int32_t>(t % across) * tw;
    const std::int32_t top = static_cast<std::int32_t>(t / across) * th;
    const std::int32_t w = std::min(tw, picture.Width() - left), h = std::min(th, picture.Height() - top);
    const std::size_t row_bytes = (static_cast<std::size_t>(bits) * static_cast<std::size_t>(w) + 7) / 8;
    for (std::int32_t y = 0; y < h; ++y) {
      Bytes row(row_bytes, 0);
      if (bits >= 8) {
        std::memcpy(row.data(), picture.Row(top + y) + static_cast<std::size_t>(left) * (bits / 8), row_bytes);
      } else {
        for (std::int32_t x = 0; x < w; ++x) {
          const std::uint32_t v = picture.Get(left + x, top + y);
          if (bits == 1)
            row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | ((v & 1) << (7 - (x & 7))));
          else
            row[x >> 1] = static_cast<std::uint8_t>(row[x >> 1] | ((v & 0xF) << ((x & 1) ? 0 : 4)));
        }
      }
      out.Raw(row);
    }
  }
  return out.Take();
}

Bytes PictureBlock(const ZelkPicture& picture, const std::vector<ZelkTileEntry>& tiles, const FileRules& rules) {
  if (rules.kind == ZelkCompression::Jpeg && rules.version >= 103) {
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(picture.Width()) * picture.Height());
    for (std::int32_t y = 0; y < picture.Height(); ++y)
      for (std::int32_t x = 0; x < picture.Width(); ++x)
        rgb[static_cast<std::size_t>(y) * picture.Width() + x] = picture.ToRgb(picture.Get(x, y));
    return EncodeJpeg(picture.Width(), picture.Height(), rgb, rules.jpeg_quality);
  }
  Bytes rows;
  if (rules.Tiled())
    rows = Tiles(picture, tiles, rules);
  else
    rows = Rows(picture, rules.version <= 102 || (rules.scrambled && rules.kind != ZelkCompression::Jpeg), rules.code);
  return rules.kind == ZelkCompression::Zlib || rules.version < 103 ? DeflateZlib(rows) : rows;
}

Bytes MaskBlock(const ZelkPicture& mask, const std::vector<ZelkTileEntry>& tiles, const FileRules& rules) {
  const bool jpeg = rules.version >= 103 && rules.kind == ZelkCompression::Jpeg;
  Bytes rows;
  if (rules.Tiled())
    rows = Tiles(mask, tiles, rules);
  else
    rows = Rows(mask, rules.version <= 102 || (rules.scrambled && !jpeg), rules.code);
  return rules.kind == ZelkCompression::Zlib || jpeg || rules.version < 103 ? DeflateZlib(rows) : rows;
}

}  // namespace

Bytes WriteZelkFile(const ZelkFileSpec& spec) {
  const bool old = spec.version < 103;
  const FileRules rules{spec.version,
                        spec.identification,
                        spec.scrambled,
                        old ? ZelkCompression::Zlib : spec.compression,
                        old ? 0 : spec.tile_width,
                        old ? 0 : spec.tile_height,
                        spec.jpeg_quality};
  ByteWriter out;
  if (spec.signature) {
    char signature[8];
    std::snprintf(signature, sizeof signature, "Zelk%03d", spec.version);
    out.Raw(std::string_view(signature, 7));
  }
  const std::int32_t frame_count = spec.frame_count.value_or(static_cast<std::int32_t>(spec.frames.size()));
  if (old) {
    out.I32(frame_count);
    out.U8(1);
    if (spec.version == 102) out.I32(spec.background);
  } else {
    ByteWriter header;
    header.I32(spec.version);
    const ZelkFrameSpec* first = spec.frames.empty() ? nullptr : &spec.frames.front();
    header.I32(first ? first->width : 0);
    header.I32(first ? first->height : 0);
    header.I32(first ? first->bit_count : 0);
    header.I32(frame_count);
    header.U8(1);
    header.U8(spec.scrambled ? 1 : 0);
    header.U8(static_cast<std::uint8_t>(spec.compression));
    header.U8(0);
    header.I32(spec.background);
    header.I32(spec.tile_width);
    header.I32(spec.tile_height);
    header.U8(spec.first_layer_opaque ? 1 : 0);
    header.U8(spec.jpeg_quality);
    header.U8(0);
    header.U8(0);
    Bytes record = header.Take();
    record.resize(static_cast<std::size_t>(std::max(spec.header_size, 0)), 0);
    out.I32(spec.header_size);
    out.Raw(record);
  }
  for (const ZelkFrameSpec& frame : spec.frames) {
    out.LString(frame.name);
    out.I32(frame.key);
    out.I32(frame.delay);
    out.U8(2);
    out.I32(0);
    out.I32(frame.layer_count.value_or(static_cast<std::int32_t>(frame.layers.size())));
    out.I32(frame.width);
    out.I32(frame.height);
    out.I32(frame.bit_count);
    if (frame.bit_count >= 1 && frame.bit_count <= 8) {
      for (std::size_t i = 0; i < (std::size_t{1} << frame.bit_count); ++i) {
        const std::uint32_t rgb = i < frame.palette.size() ? frame.palette[i] : 0;
        out.U8(static_cast<std::uint8_t>(rgb));
        out.U8(static_cast<std::uint8_t>(rgb >> 8));
        out.U8(static_cast<std::uint8_t>(rgb >> 16));
        out.U8(0);
      }
    }
    for (const ZelkLayerSpec& layer : frame.layers) {
      out.I32(layer.skipped_a);
      out.I32(layer.skipped_b);
      out.U8(layer.visible ? 1 : 0);
      out.I32(layer.key);
      out.I32(layer.opacity);
      if (spec.version >= 101) out.U8(layer.use_mask ? 1 : 0);
      out.LString(layer.name);
      Bytes picture = layer.picture_block ? *layer.picture_block
                      : layer.picture.Empty() ? Bytes{}
                                              : PictureBlock(layer.picture, layer.picture_tiles, rules);
      out.I32(layer.picture_size_override.value_or(static_cast<std::int32_t>(picture.size())));
      out.Raw(picture);
      if (spec.version >= 100) {
        Bytes mask = layer.mask_block ? *layer.mask_block
                     : layer.mask.Empty() ? Bytes{}
                                          : MaskBlock(layer.mask, layer.mask_tiles, rules);
        out.I32(static_cast<std::int32_t>(mask.size()));
        out.Raw(mask);
      }
    }
    if (spec.version >= 104) {
      for (const std::vector<Rect>* rects : {&frame.regions, &frame.second_rects}) {
        out.I32(static_cast<std::int32_t>(rects->size()));
        for (const Rect& r : *rects) {
          out.I32(r.left);
          out.I32(r.top);
          out.I32(r.right);
          out.I32(r.bottom);
        }
      }
    }
  }
  return out.Take();
}

}  // namespace kest
