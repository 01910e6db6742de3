// Truevision TGA pictures. An 18-byte header (identification length, colour-map type, image
// type, colour-map first entry, length and entry size, origin, width, height, pixel depth and
// the descriptor: attribute bits in bits 0-3, right-to-left in bit 4, top-down in bit 5), then
// the identification text, the colour map and the pixels. Types 9, 10 and 11 code the pixels
// in packets: a byte whose high bit says run or literal and whose low bits are the count - 1,
// then one pixel repeated or that many pixels. Packets may go on across rows.

#include <algorithm>

#include "core/errors.h"
#include "render/codec_support.h"

namespace kest {

namespace {

enum TgaType : std::uint8_t {
  kColourMapped = 1,
  kTrueColour = 2,
  kGrey = 3,
  kRleColourMapped = 9,
  kRleTrueColour = 10,
  kRleGrey = 11,
};

// A stored value of 15 to 32 bits as colour and alpha (alpha 255 when it has none).
struct Rgba {
  std::uint32_t rgb;
  std::uint8_t alpha;
};

Rgba ColourOf(const std::uint8_t* p, int bits) {
  switch (bits) {
    case 15:
    case 16: {
      const std::uint32_t v = static_cast<std::uint32_t>(p[0] | (p[1] << 8));
      const auto widen = [](std::uint32_t c) { return (c << 3) | (c >> 2); };
      return {(widen((v >> 10) & 31) << 16) | (widen((v >> 5) & 31) << 8) | widen(v & 31),
              static_cast<std::uint8_t>(bits == 16 && (v & 0x8000) == 0 ? 0 : 255)};
    }
    case 24: return {static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)), 255};
    default: return {static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)), p[3]};
  }
}

}  // namespace

DecodedImage DecodeTga(ByteSpan data, const std::string& source) {
  ByteReader in(data, source);
  const std::uint8_t id_length = in.U8();
  const std::uint8_t map_type = in.U8();
  const std::uint8_t type = in.U8();
  const std::uint16_t map_first = in.U16();
  const std::uint16_t map_length = in.U16();
  const std::uint8_t map_entry_bits = in.U8();
  in.Skip(4);  // origin
  const std::uint16_t width = in.U16();
  const std::uint16_t height = in.U16();
  const std::uint8_t depth = in.U8();
  const std::uint8_t descriptor = in.U8();
  const int attribute_bits = descriptor & 0x0F;

  const bool rle = type >= kRleColourMapped;
  const int base = rle ? type - 8 : type;
  if (map_type > 1 || (base != kColourMapped && base != kTrueColour && base != kGrey) ||
      (type != base && type != base + 8))
    throw FormatError(source, 1, "TGA colour-map type " + std::to_string(map_type) + " with image type " +
                                     std::to_string(type) + " is not supported");
  const bool depth_ok = base == kColourMapped ? (depth == 8 || depth == 16) && map_type == 1
                        : base == kGrey       ? depth == 8 || depth == 16
                                              : depth == 15 || depth == 16 || depth == 24 || depth == 32;
  if (!depth_ok)
    throw FormatError(source, 16, "TGA pixel depth " + std::to_string(depth) + " is not supported for type " +
                                      std::to_string(type));
  CheckImageSize(source, 12, width, height, "TGA size");
  in.Skip(id_length);

  std::vector<Rgba> map;
  if (map_type == 1) {
    if (map_entry_bits != 15 && map_entry_bits != 16 && map_entry_bits != 24 && map_entry_bits != 32)
      throw FormatError(source, 7, "TGA colour-map entry size " + std::to_string(map_entry_bits) + " is not supported");
    const std::size_t entry = (map_entry_bits + 7u) / 8u;
    const ByteSpan bytes = in.Take(in.Count(map_length, entry, "TGA colour-map entries") * entry);
    for (std::size_t i = 0; i < map_length; ++i) map.push_back(ColourOf(bytes.data() + i * entry, map_entry_bits));
  }

  const std::size_t pixel_bytes = (depth + 7u) / 8u;
  const std::size_t w = width, h = height, count = w * h;
  if (rle && count > in.Remaining() * 64)  // a packet of two bytes and up gives at most 128 pixels
    in.Fail("TGA run-length data of " + std::to_string(in.Remaining()) + " bytes cannot hold " +
            std::to_string(count) + " pixels");
  // The stored values in file order, unpacked.
  Bytes stored;
  if (!rle) {
    const ByteSpan raw = in.Take(count * pixel_bytes);
    stored.assign(raw.begin(), raw.end());
  } else {
    stored.resize(count * pixel_bytes);
    std::size_t done = 0;
    while (done < count) {
      const std::uint8_t packet = in.U8();
      const std::size_t n = std::min<std::size_t>((packet & 0x7Fu) + 1u, count - done);
      if ((packet & 0x80) != 0) {
        const ByteSpan value = in.Take(pixel_bytes);
        for (std::size_t i = 0; i < n; ++i)
          std::copy(value.begin(), value.end(), stored.begin() + static_cast<std::ptrdiff_t>((done + i) * pixel_bytes));
      } else {
        // A literal packet that runs past the picture is read whole and cut.
        const ByteSpan values = in.Take(((packet & 0x7Fu) + 1u) * pixel_bytes);
        std::copy(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n * pixel_bytes),
                  stored.begin() + static_cast<std::ptrdiff_t>(done * pixel_bytes));
      }
      done += n;
    }
  }

  DecodedImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(count);
  std::vector<std::uint8_t> alpha(count, 255);
  const bool indexed = base == kColourMapped && depth == 8 && map_first == 0 && map.size() <= 256;
  if (indexed) {
    image.indexes.resize(count);
    image.palette.assign(256, 0);
    for (std::size_t i = 0; i < map.size(); ++i) image.palette[i] = map[i].rgb;
  }
  const bool right_to_left = (descriptor & 0x10) != 0, top_down = (descriptor & 0x20) != 0;
  for (std::size_t sy = 0; sy < h; ++sy) {
    const std::size_t y = top_down ? sy : h - 1 - sy;
    for (std::size_t sx = 0; sx < w; ++sx) {
      const std::size_t x = right_to_left ? w - 1 - sx : sx;
      const std::uint8_t* p = stored.data() + (sy * w + sx) * pixel_bytes;
      const std::size_t at = y * w + x;
      Rgba c{0, 255};
      if (base == kColourMapped) {
        const std::uint32_t index = depth == 8 ? p[0] : static_cast<std::uint32_t>(p[0] | (p[1] << 8));
        if (index >= map_first && index - map_first < map.size()) c = map[index - map_first];
        if (indexed) image.indexes[at] = static_cast<std::uint8_t>(index);
      } else if (base == kGrey) {
        c = {p[0] * 0x010101u, depth == 16 ? p[1] : std::uint8_t{255}};
      } else {
        c = ColourOf(p, depth);
      }
      image.pixels[at] = c.rgb;
      alpha[at] = c.alpha;
    }
  }
  // Only attribute bits make the alpha count; a channel left at 0 everywhere is unused.
  if (attribute_bits > 0) SetMaskFromAlpha(image, std::move(alpha), AllZeroAlpha::Opaque);
  return image;
}

}  // namespace kest
