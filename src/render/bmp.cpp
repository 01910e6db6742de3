// Windows bitmaps: a 14-byte file header ("BM", size, reserved, offset of the pixels) and an info
// header (at least 40 bytes: size, width, height, planes, bit count, compression, ...).

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "render/image_codec.h"
#include "render/row_engine.h"

namespace kest {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;

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

}  // namespace

DecodedImage DecodeBmp(ByteSpan data, const std::string& source) {
  ByteReader in(data, source);
  if (in.U8() != 'B' || in.U8() != 'M') in.Fail("not a Windows bitmap (no \"BM\")");
  in.Skip(8);
  const std::uint32_t pixel_offset = in.U32();
  const std::size_t info_at = in.Position();
  const std::uint32_t info_size = in.U32();
  if (info_size < 40) in.Fail("bitmap info header of " + std::to_string(info_size) + " bytes is too small");
  const std::int32_t width = in.I32();
  const std::int32_t raw_height = in.I32();
  in.U16();  // planes
  const int bit_count = in.U16();
  const std::uint32_t compression = in.U32();
  in.Skip(12);  // image size, resolution
  const std::uint32_t colours_used = in.U32();
  in.U32();  // important colours
  if (width <= 0 || width > kMaxImageSide || raw_height == 0 || raw_height < -kMaxImageSide ||
      raw_height > kMaxImageSide)
    in.Fail("bitmap size " + std::to_string(width) + " x " + std::to_string(raw_height) + " is out of range");
  const bool top_down = raw_height < 0;
  const std::int32_t height = std::abs(raw_height);
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32)
    in.Fail("bitmap bit count " + std::to_string(bit_count) + " is not supported");
  if (compression != kBiRgb && !(compression == kBiBitFields && (bit_count == 16 || bit_count == 32)))
    in.Fail("bitmap compression " + std::to_string(compression) + " is not supported");

  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  if (bit_count == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  in.Seek(info_at + info_size);
  if (compression == kBiBitFields) {
    // The masks follow a 40-byte header, or are part of a larger one.
    in.Seek(info_at + 40);
    for (auto& m : masks) m = in.U32();
    in.Seek(std::max<std::size_t>(info_at + info_size, info_at + 52));
  }
  std::vector<std::uint32_t> palette;
  if (bit_count <= 8) {
    const std::uint32_t max_colours = 1u << bit_count;
    const std::uint32_t count = colours_used == 0 ? max_colours : std::min(colours_used, max_colours);
    palette.resize(in.Count(count, 4, "palette entries"));
    for (auto& entry : palette) entry = in.U32() & 0x00FFFFFF;
  }

  const std::size_t row_bytes = ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bit_count) + 31) / 32) * 4;
  in.Seek(pixel_offset);
  // The pixels must be in the file before anything is sized by them.
  const ByteSpan pixel_bytes = in.Take(row_bytes * static_cast<std::size_t>(height));

  DecodedImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (bit_count <= 8) image.indexes.resize(image.pixels.size());
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t stored = top_down ? y : height - 1 - y;
    const std::uint8_t* row = pixel_bytes.data() + static_cast<std::size_t>(stored) * row_bytes;
    std::uint32_t* out = image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (std::int32_t x = 0; x < width; ++x) {
      switch (bit_count) {
        case 1:
        case 4:
        case 8: {
          const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bit_count);
          const std::uint32_t index =
              (row[bit / 8] >> (8 - bit_count - static_cast<int>(bit % 8))) & ((1u << bit_count) - 1);
          image.indexes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
              static_cast<std::uint8_t>(index);
          out[x] = index < palette.size() ? palette[index] : 0;
          break;
        }
        case 16:
        case 32: {
          const std::uint32_t v = bit_count == 16
                                      ? static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8))
                                      : static_cast<std::uint32_t>(row[4 * x] | (row[4 * x + 1] << 8) |
                                                                   (row[4 * x + 2] << 16)) |
                                            (static_cast<std::uint32_t>(row[4 * x + 3]) << 24);
          out[x] = (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]);
          break;
        }
        default:
          out[x] = static_cast<std::uint32_t>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
          break;
      }
    }
  }
  return image;
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
