// Windows bitmaps: a 14-byte file header ("BM", size, reserved, offset of the pixels), then a
// device-independent bitmap: an info header (the 12-byte OS/2 core header, or 16 bytes and up:
// size, width, height, planes, bit count, compression, image size, resolution, colours used,
// important colours, then in V2 and later the red, green, blue and alpha masks), the bit-field
// masks when a 40-byte header says so, the palette, and the pixels.

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "render/codec_support.h"
#include "render/row_engine.h"

namespace kest {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

constexpr std::uint32_t kCoreHeaderSize = 12;
// Headers above this are not bitmaps (V5, the largest, has 124 bytes).
constexpr std::uint32_t kMaxInfoHeaderSize = 64 * 1024;

std::uint32_t Le32(ByteSpan bytes, std::size_t at) {
  if (at + 4 > bytes.size()) return 0;  // a short header reads what it has, the rest as 0
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Le16(ByteSpan bytes, std::size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// A channel given by a bit-field mask, widened to 8 bits.
std::uint32_t Expand(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask >> shift);
  const std::uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  // Narrower channels are stretched so that their maximum becomes 255.
  return v * 255 / ((1u << bits) - 1);
}

// The fields of an info header that decoding needs.
struct DibHeader {
  std::int32_t width = 0;
  std::int32_t raw_height = 0;
  int bit_count = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colours_used = 0;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool core = false;                      // OS/2 core header: 3-byte palette entries
};

DibHeader ReadDibHeader(ByteReader& in, std::size_t info_at) {
  const std::uint32_t info_size = in.U32();
  if (info_size != kCoreHeaderSize && (info_size < 16 || info_size > kMaxInfoHeaderSize)) {
    in.Seek(info_at);
    in.Fail("bitmap info header of " + std::to_string(info_size) + " bytes is not a known size");
  }
  const ByteSpan h = in.Take(info_size - 4);  // offsets below count from the size field
  DibHeader header;
  if (info_size == kCoreHeaderSize) {
    header.core = true;
    header.width = Le16(h, 0);
    header.raw_height = Le16(h, 2);
    header.bit_count = Le16(h, 6);
    return header;
  }
  header.width = static_cast<std::int32_t>(Le32(h, 0));
  header.raw_height = static_cast<std::int32_t>(Le32(h, 4));
  header.bit_count = Le16(h, 10);
  header.compression = Le32(h, 12);
  header.colours_used = Le32(h, 28);
  const bool fields = header.compression == kBiBitFields || header.compression == kBiAlphaBitFields;
  if (fields && info_size >= 52) {
    // V2 and later headers carry the masks (V3 and later the alpha mask too).
    for (int c = 0; c < 3; ++c) header.masks[c] = Le32(h, 36 + 4 * static_cast<std::size_t>(c));
    if (info_size >= 56) header.masks[3] = Le32(h, 48);
  } else if (fields) {
    // After a 40-byte header the masks follow it.
    for (int c = 0; c < 3; ++c) header.masks[c] = in.U32();
    if (header.compression == kBiAlphaBitFields) header.masks[3] = in.U32();
  } else if (header.bit_count == 16) {
    header.masks[0] = 0x7C00, header.masks[1] = 0x03E0, header.masks[2] = 0x001F;
  } else if (header.bit_count == 32) {
    header.masks[0] = 0x00FF0000, header.masks[1] = 0x0000FF00, header.masks[2] = 0x000000FF;
    header.masks[3] = 0xFF000000;  // the fourth byte, when a writer filled it
  }
  return header;
}

// Run-length coded indexes (RLE8, or RLE4 with two pixels a byte, high nibble first). Stored
// row 0 is the bottom row. Runs and literal groups stop at the end of the row; a delta or an
// end of line past the last row ends the picture, as does the end-of-bitmap escape.
void DecodeRle(ByteReader& in, const DibHeader& header, std::int32_t height, bool top_down,
               std::vector<std::uint8_t>& indexes) {
  const bool four = header.compression == kBiRle4;
  const std::int32_t width = header.width;
  std::int32_t x = 0, stored_y = 0;
  const auto put = [&](std::uint32_t index) {
    if (x >= width) return;
    const std::int32_t y = top_down ? stored_y : height - 1 - stored_y;
    indexes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
        static_cast<std::uint8_t>(index);
    ++x;
  };
  while (stored_y < height) {
    const std::uint8_t count = in.U8();
    const std::uint8_t value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count && x < width; ++i) put(four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++stored_y;
        break;
      case 1:  // end of bitmap
        return;
      case 2: {  // delta: move right and up
        const std::uint8_t dx = in.U8();
        const std::uint8_t dy = in.U8();
        x = std::min(width, x + dx);
        stored_y += dy;
        break;
      }
      default: {  // a literal group of `value` pixels, padded to an even byte count
        const std::size_t bytes = four ? (value + 1u) / 2u : value;
        const ByteSpan literal = in.Take(bytes + (bytes & 1u));
        for (int i = 0; i < value && x < width; ++i)
          put(four ? (i % 2 == 0 ? literal[static_cast<std::size_t>(i / 2)] >> 4
                                 : literal[static_cast<std::size_t>(i / 2)] & 0x0F)
                   : literal[static_cast<std::size_t>(i)]);
        break;
      }
    }
  }
}

}  // namespace

DecodedImage DecodeDib(ByteReader& in, const DibOptions& options) {
  const std::size_t info_at = in.Position();
  const DibHeader header = ReadDibHeader(in, info_at);
  const int bits = header.bit_count;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    in.Seek(info_at);
    in.Fail("bitmap bit count " + std::to_string(bits) + " is not supported");
  }
  const std::uint32_t compression = header.compression;
  const bool rle = (compression == kBiRle8 && bits == 8) || (compression == kBiRle4 && bits == 4);
  const bool fields = (compression == kBiBitFields || compression == kBiAlphaBitFields) && (bits == 16 || bits == 32);
  if (compression != kBiRgb && !rle && !fields) {
    in.Seek(info_at);
    in.Fail("bitmap compression " + std::to_string(compression) + " at " + std::to_string(bits) +
            " bits is not supported");
  }
  const bool top_down = header.raw_height < 0;
  if (options.icon && top_down) {
    in.Seek(info_at);
    in.Fail("icon bitmap height " + std::to_string(header.raw_height) + " is negative");
  }
  if (options.icon && header.raw_height % 2 != 0) {
    in.Seek(info_at);
    in.Fail("icon bitmap height " + std::to_string(header.raw_height) + " is not twice the picture's");
  }
  const std::int64_t height = (top_down ? -static_cast<std::int64_t>(header.raw_height) : header.raw_height) /
                              (options.icon ? 2 : 1);
  CheckImageSize(in.Source(), info_at, header.width, height, "bitmap size");
  const std::int32_t width = header.width;

  std::vector<std::uint32_t> palette;
  if (bits <= 8 || (options.icon && header.colours_used > 0)) {
    const std::uint32_t max_colours = bits <= 8 ? 1u << bits : 0;
    // Icons put the pixels right after the palette, so every stored entry counts there; a
    // bitmap file finds its pixels by offset and needs no more than the indexes can reach.
    const std::uint32_t stored = header.colours_used == 0 || header.core ? max_colours
                                 : options.icon                        ? header.colours_used
                                                                       : std::min(header.colours_used, max_colours);
    const std::size_t entry = header.core ? 3 : 4;
    // A bitmap file that gives no count may store fewer entries than its depth allows; its
    // pixel offset says so. A count the header states must be there.
    std::uint32_t present = stored;
    if ((header.colours_used == 0 || header.core) && options.pixel_offset > in.Position())
      present = std::min<std::uint32_t>(
          stored, static_cast<std::uint32_t>(std::min<std::size_t>((options.pixel_offset - in.Position()) / entry, stored)));
    const std::size_t count = in.Count(present, entry, "palette entries");
    const ByteSpan bytes = in.Take(count * entry);
    palette.assign(max_colours, 0);
    for (std::size_t i = 0; i < std::min<std::size_t>(count, max_colours); ++i)
      palette[i] = static_cast<std::uint32_t>(bytes[i * entry]) | (static_cast<std::uint32_t>(bytes[i * entry + 1]) << 8) |
                   (static_cast<std::uint32_t>(bytes[i * entry + 2]) << 16);
  }
  if (options.pixel_offset != 0) in.Seek(options.pixel_offset);

  const std::size_t w = static_cast<std::size_t>(width), hh = static_cast<std::size_t>(height);
  DecodedImage image;
  image.width = width;
  image.height = static_cast<std::int32_t>(height);
  if (rle) {
    image.indexes.assign(w * hh, 0);
    DecodeRle(in, header, image.height, top_down, image.indexes);
  }
  const std::size_t row_bytes = ((w * static_cast<std::size_t>(bits) + 31) / 32) * 4;
  // The pixels must be in the data before anything is sized by them.
  const ByteSpan pixel_bytes = rle ? ByteSpan() : in.Take(row_bytes * hh);
  image.pixels.resize(w * hh);
  if (bits <= 8 && !rle) image.indexes.resize(w * hh);
  std::vector<std::uint8_t> alpha;
  const bool has_alpha = header.masks[3] != 0 && bits == 32;
  if (has_alpha) alpha.resize(w * hh);
  for (std::size_t y = 0; y < hh; ++y) {
    const std::size_t stored = top_down ? y : hh - 1 - y;
    const std::uint8_t* row = rle ? nullptr : pixel_bytes.data() + stored * row_bytes;
    std::uint32_t* out = image.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      const std::size_t i = y * w + x;
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          if (!rle) {
            const std::size_t bit = x * static_cast<std::size_t>(bits);
            image.indexes[i] = static_cast<std::uint8_t>((row[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) &
                                                         ((1u << bits) - 1));
          }
          out[x] = palette[image.indexes[i]];
          break;
        }
        case 16:
        case 32: {
          const std::uint32_t v =
              bits == 16 ? static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8))
                         : static_cast<std::uint32_t>(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16)) |
                               (static_cast<std::uint32_t>(row[4 * x + 3]) << 24);
          out[x] = (Expand(v, header.masks[0]) << 16) | (Expand(v, header.masks[1]) << 8) | Expand(v, header.masks[2]);
          if (has_alpha) alpha[i] = static_cast<std::uint8_t>(Expand(v, header.masks[3]));
          break;
        }
        default:
          out[x] = static_cast<std::uint32_t>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
          break;
      }
    }
  }
  if (bits <= 8) image.palette = std::move(palette);
  // A fourth byte left at 0 everywhere is padding, not an invisible picture.
  if (has_alpha) SetMaskFromAlpha(image, std::move(alpha), AllZeroAlpha::Opaque);

  if (options.icon) {
    // The AND mask: one bit a pixel, rows bottom-up, 1 where the picture is transparent. A
    // picture with its own alpha does not need it, and some writers leave it out then.
    const std::size_t and_row = ((w + 31) / 32) * 4;
    if (!image.mask.empty() && in.Remaining() < and_row * hh) return image;
    const ByteSpan and_bytes = in.Take(and_row * hh);
    if (!image.mask.empty()) return image;
    std::vector<std::uint8_t> opacity(w * hh);
    for (std::size_t y = 0; y < hh; ++y) {
      const std::uint8_t* row = and_bytes.data() + (hh - 1 - y) * and_row;
      for (std::size_t x = 0; x < w; ++x) opacity[y * w + x] = ((row[x / 8] >> (7 - x % 8)) & 1) != 0 ? 0 : 255;
    }
    SetMaskFromAlpha(image, std::move(opacity), AllZeroAlpha::Transparent);
  }
  return image;
}

DecodedImage DecodeBmp(ByteSpan data, const std::string& source) {
  ByteReader in(data, source);
  if (in.U8() != 'B' || in.U8() != 'M') in.Fail("not a Windows bitmap (no \"BM\")");
  in.Skip(8);
  const std::uint32_t pixel_offset = in.U32();
  DibOptions options;
  options.pixel_offset = pixel_offset;
  if (pixel_offset == 0 || pixel_offset > data.size()) {
    in.Fail("bitmap pixel offset " + std::to_string(pixel_offset) + " is outside the file of " +
            std::to_string(data.size()) + " bytes");
  }
  return DecodeDib(in, options);
}

namespace {

// A native pixel of `format` as 0x00RRGGBB; 8-bit pixels go through the palette.
std::uint32_t ToRgb(const PixelFormat& format, std::uint32_t v, const std::uint32_t* palette) {
  switch (format.bit_count) {
    case 8: return palette[v & 0xFF] & 0x00FFFFFF;
    case 15:
    case 16: {
      std::uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        const auto [shift, bits] = format.channels[c];
        const std::uint32_t value = (v >> shift) & ((1u << bits) - 1);
        out |= ((value << (8 - bits)) | (value >> (2 * bits - 8))) << (8 * c);
      }
      return out;
    }
    default: return v & 0x00FFFFFF;
  }
}

}  // namespace

Bytes EncodeBmp24(TCustomDIBX& surface) {
  const std::int32_t width = surface.Width(), height = surface.Height();
  const std::uint32_t row_bytes = ((static_cast<std::uint32_t>(width) * 24 + 31) / 32) * 4;
  const std::uint32_t image_size = row_bytes * static_cast<std::uint32_t>(height);
  ByteWriter out;
  out.U8('B');
  out.U8('M');
  out.U32(14 + 40 + image_size);
  out.U32(0);
  out.U32(14 + 40);
  out.U32(40);
  out.I32(width);
  out.I32(height);
  out.U16(1);
  out.U16(24);
  out.U32(kBiRgb);
  out.U32(image_size);
  out.I32(2835);  // 72 dots per inch
  out.I32(2835);
  out.U32(0);
  out.U32(0);
  std::uint32_t palette[256] = {};
  surface.GetPaletteEntries(palette, 0);
  SurfaceView view(surface);
  for (std::int32_t y = height - 1; y >= 0 && view.Ok(); --y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t rgb = ToRgb(view.Format(), view.Get(x, y), palette);
      out.U8(static_cast<std::uint8_t>(rgb));
      out.U8(static_cast<std::uint8_t>(rgb >> 8));
      out.U8(static_cast<std::uint8_t>(rgb >> 16));
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < row_bytes; ++pad) out.U8(0);
  }
  return out.Take();
}

}  // namespace kest
