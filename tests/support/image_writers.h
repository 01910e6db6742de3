#pragma once
// Writers of small pictures in the standard formats, for decoder tests and fuzz seeds: PNG
// (written by hand, so every colour type, depth, tRNS form and interlace is reachable), GIF
// (through giflib's encoder), Windows bitmaps and DIBs, TGA, icons, cursors and animated
// cursors. Each writes exactly what its spec says, including the stored bytes the test chose.

#include <gif_lib.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/byte_writer.h"
#include "vfs/deflate.h"

namespace kest::testing {

// ---- PNG

struct PngSpec {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  int colour_type = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int bit_depth = 8;
  bool interlace = false;
  std::vector<std::uint16_t> samples;  // row-major, the colour type's channels a pixel
  std::vector<std::array<std::uint8_t, 3>> palette;
  Bytes trns;  // the tRNS chunk's body; empty: none
};

inline int PngChannels(int colour_type) {
  switch (colour_type) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

inline void PngChunk(ByteWriter& out, const char* type, const Bytes& body) {
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  const std::uint32_t length = static_cast<std::uint32_t>(body.size());
  for (int s = 24; s >= 0; s -= 8) out.U8(static_cast<std::uint8_t>(length >> s));
  out.Raw(typed);
  const std::uint32_t crc = Crc32(typed);
  for (int s = 24; s >= 0; s -= 8) out.U8(static_cast<std::uint8_t>(crc >> s));
}

inline Bytes WritePng(const PngSpec& spec) {
  const int channels = PngChannels(spec.colour_type);
  if (spec.samples.size() != static_cast<std::size_t>(spec.width) * spec.height * static_cast<std::size_t>(channels))
    throw std::logic_error("PngSpec: wrong number of samples");
  // One sub-picture per pass (Adam7 has seven, a plain picture one), each row a filter byte 0
  // and its packed samples.
  struct Pass {
    std::uint32_t x0, y0, dx, dy;
  };
  const std::vector<Pass> passes =
      spec.interlace ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                     : std::vector<Pass>{{0, 0, 1, 1}};
  Bytes raw;
  for (const Pass& pass : passes) {
    if (pass.x0 >= spec.width || pass.y0 >= spec.height) continue;
    for (std::uint32_t y = pass.y0; y < spec.height; y += pass.dy) {
      raw.push_back(0);
      std::uint32_t bits = 0, filled = 0;
      for (std::uint32_t x = pass.x0; x < spec.width; x += pass.dx) {
        for (int c = 0; c < channels; ++c) {
          const std::uint16_t v =
              spec.samples[(static_cast<std::size_t>(y) * spec.width + x) * static_cast<std::size_t>(channels) +
                           static_cast<std::size_t>(c)];
          if (spec.bit_depth == 16) {
            raw.push_back(static_cast<std::uint8_t>(v >> 8));
            raw.push_back(static_cast<std::uint8_t>(v));
          } else if (spec.bit_depth == 8) {
            raw.push_back(static_cast<std::uint8_t>(v));
          } else {
            bits = (bits << spec.bit_depth) | v;
            filled += static_cast<std::uint32_t>(spec.bit_depth);
            if (filled == 8) raw.push_back(static_cast<std::uint8_t>(bits)), bits = 0, filled = 0;
          }
        }
      }
      if (filled > 0) raw.push_back(static_cast<std::uint8_t>(bits << (8 - filled)));
    }
  }
  ByteWriter out;
  out.Raw(Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  ByteWriter ihdr;
  for (const std::uint32_t v : {spec.width, spec.height})
    for (int s = 24; s >= 0; s -= 8) ihdr.U8(static_cast<std::uint8_t>(v >> s));
  ihdr.U8(static_cast<std::uint8_t>(spec.bit_depth));
  ihdr.U8(static_cast<std::uint8_t>(spec.colour_type));
  ihdr.U8(0);
  ihdr.U8(0);
  ihdr.U8(spec.interlace ? 1 : 0);
  PngChunk(out, "IHDR", ihdr.Take());
  if (!spec.palette.empty()) {
    Bytes plte;
    for (const auto& c : spec.palette) plte.insert(plte.end(), c.begin(), c.end());
    PngChunk(out, "PLTE", plte);
  }
  if (!spec.trns.empty()) PngChunk(out, "tRNS", spec.trns);
  PngChunk(out, "IDAT", DeflateZlib(raw));
  PngChunk(out, "IEND", {});
  return out.Take();
}

// ---- GIF

struct GifFrameSpec {
  int left = 0;
  int top = 0;
  int width = 1;
  int height = 1;
  bool interlace = false;
  int disposal = 0;
  int transparent = -1;
  int delay_cs = 0;                      // hundredths of a second
  std::vector<std::uint8_t> indexes;     // rows top-down
  std::vector<std::uint32_t> palette;    // local colour table (0x00RRGGBB); empty: the global one
  bool control = true;                   // write a graphic control extension
};

inline ColorMapObject* GifMap(const std::vector<std::uint32_t>& colours) {
  int size = 2;
  while (size < static_cast<int>(colours.size())) size *= 2;
  std::vector<GifColorType> entries(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < colours.size(); ++i)
    entries[i] = {static_cast<GifByteType>(colours[i] >> 16), static_cast<GifByteType>(colours[i] >> 8),
                  static_cast<GifByteType>(colours[i])};
  return GifMakeMapObject(size, entries.data());
}

inline Bytes WriteGif(int screen_width, int screen_height, const std::vector<std::uint32_t>& global_palette,
                      const std::vector<GifFrameSpec>& frames) {
  Bytes out;
  const OutputFunc write = [](GifFileType* gif, const GifByteType* bytes, int length) {
    Bytes* target = static_cast<Bytes*>(gif->UserData);
    target->insert(target->end(), bytes, bytes + length);
    return length;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  if (gif == nullptr) throw std::runtime_error("EGifOpen failed");
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = global_palette.empty() ? nullptr : GifMap(global_palette);
  EGifPutScreenDesc(gif, screen_width, screen_height, 8, 0, global);
  GifFreeMapObject(global);
  for (const GifFrameSpec& frame : frames) {
    if (frame.control) {
      GraphicsControlBlock control{frame.disposal, false, frame.delay_cs, frame.transparent};
      GifByteType extension[4];
      EGifGCBToExtension(&control, extension);
      EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    ColorMapObject* local = frame.palette.empty() ? nullptr : GifMap(frame.palette);
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, local);
    GifFreeMapObject(local);
    std::vector<int> order;
    if (frame.interlace) {
      for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int y = start; y < frame.height; y += step) order.push_back(y);
    } else {
      for (int y = 0; y < frame.height; ++y) order.push_back(y);
    }
    for (const int y : order) {
      std::vector<GifPixelType> row(frame.indexes.begin() + y * frame.width,
                                    frame.indexes.begin() + (y + 1) * frame.width);
      EGifPutLine(gif, row.data(), frame.width);
    }
    // giflib 5.2 drops (and leaks) a frame's local table when the next frame has none; the
    // table is not needed once the rows are written.
    GifFreeMapObject(gif->Image.ColorMap);
    gif->Image.ColorMap = nullptr;
  }
  EGifCloseFile(gif, &error);
  return out;
}

// ---- Windows bitmaps

struct DibSpec {
  std::uint32_t header_size = 40;  // 12 (OS/2), 40, 108 (V4), 124 (V5)
  std::int32_t width = 1;
  std::int32_t height = 1;  // negative: rows top-down
  int bit_count = 24;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::vector<std::uint32_t> palette;      // 0x00RRGGBB
  std::array<std::uint32_t, 4> masks{};    // written for bit fields (in V4/V5 headers, else after)
  Bytes pixels;                            // the stored pixel bytes, already coded and padded
};

// The info header, the masks after a 40-byte header, the palette and the pixels.
inline Bytes WriteDib(const DibSpec& spec) {
  ByteWriter out;
  out.U32(spec.header_size);
  if (spec.header_size == 12) {
    out.U16(static_cast<std::uint16_t>(spec.width));
    out.U16(static_cast<std::uint16_t>(spec.height));
    out.U16(1);
    out.U16(static_cast<std::uint16_t>(spec.bit_count));
    for (const std::uint32_t c : spec.palette) {
      out.U8(static_cast<std::uint8_t>(c));
      out.U8(static_cast<std::uint8_t>(c >> 8));
      out.U8(static_cast<std::uint8_t>(c >> 16));
    }
  } else {
    out.I32(spec.width);
    out.I32(spec.height);
    out.U16(1);
    out.U16(static_cast<std::uint16_t>(spec.bit_count));
    out.U32(spec.compression);
    out.U32(static_cast<std::uint32_t>(spec.pixels.size()));
    out.I32(2835);
    out.I32(2835);
    out.U32(spec.colours_used);
    out.U32(0);
    const bool fields = spec.compression == 3 || spec.compression == 6;
    if (spec.header_size > 40) {
      for (const std::uint32_t m : spec.masks) out.U32(m);
      for (std::uint32_t i = 56; i < spec.header_size; ++i) out.U8(0);
    } else if (fields) {
      for (int c = 0; c < (spec.compression == 6 ? 4 : 3); ++c) out.U32(spec.masks[static_cast<std::size_t>(c)]);
    }
    for (const std::uint32_t c : spec.palette) out.U32(c);
  }
  out.Raw(spec.pixels);
  return out.Take();
}

inline Bytes WriteBmp(const DibSpec& spec) {
  const Bytes dib = WriteDib(spec);
  const std::size_t masks = spec.header_size == 40 && (spec.compression == 3 || spec.compression == 6)
                                ? (spec.compression == 6 ? 16 : 12)
                                : 0;
  const std::size_t palette = spec.palette.size() * (spec.header_size == 12 ? 3 : 4);
  ByteWriter out;
  out.U8('B');
  out.U8('M');
  out.U32(static_cast<std::uint32_t>(14 + dib.size()));
  out.U32(0);
  out.U32(static_cast<std::uint32_t>(14 + spec.header_size + masks + palette));
  out.Raw(dib);
  return out.Take();
}

// ---- TGA

struct TgaSpec {
  std::uint8_t type = 2;
  std::uint16_t width = 1;
  std::uint16_t height = 1;
  std::uint8_t depth = 24;
  std::uint8_t descriptor = 0;  // attribute bits, right-to-left (0x10), top-down (0x20)
  std::uint8_t map_bits = 24;
  std::uint16_t map_first = 0;
  Bytes map;     // the stored colour-map entries
  Bytes pixels;  // the stored pixel values in file order, uncoded; types 9-11 code them here
  std::string id;
};

inline Bytes WriteTga(const TgaSpec& spec) {
  const std::size_t bytes = (spec.depth + 7u) / 8u;
  const std::size_t map_entry = (spec.map_bits + 7u) / 8u;
  ByteWriter out;
  out.U8(static_cast<std::uint8_t>(spec.id.size()));
  out.U8(spec.map.empty() ? 0 : 1);
  out.U8(spec.type);
  out.U16(spec.map_first);
  out.U16(static_cast<std::uint16_t>(spec.map.empty() ? 0 : spec.map.size() / map_entry));
  out.U8(spec.map.empty() ? 0 : spec.map_bits);
  out.U32(0);
  out.U16(spec.width);
  out.U16(spec.height);
  out.U8(spec.depth);
  out.U8(spec.descriptor);
  out.Raw(std::string_view(spec.id));
  out.Raw(spec.map);
  if (spec.type < 9) {
    out.Raw(spec.pixels);
    return out.Take();
  }
  // Runs of two or more equal values become run packets, the rest literal packets, and both
  // go on across rows.
  const std::size_t count = spec.pixels.size() / bytes;
  const auto same = [&](std::size_t a, std::size_t b) {
    return std::equal(spec.pixels.begin() + static_cast<std::ptrdiff_t>(a * bytes),
                      spec.pixels.begin() + static_cast<std::ptrdiff_t>((a + 1) * bytes),
                      spec.pixels.begin() + static_cast<std::ptrdiff_t>(b * bytes));
  };
  std::size_t i = 0;
  while (i < count) {
    std::size_t run = 1;
    while (i + run < count && run < 128 && same(i, i + run)) ++run;
    if (run >= 2) {
      out.U8(static_cast<std::uint8_t>(0x80 | (run - 1)));
      out.Raw(ByteSpan(spec.pixels.data() + i * bytes, bytes));
      i += run;
      continue;
    }
    std::size_t literal = 1;
    while (i + literal < count && literal < 128 && !(i + literal + 1 < count && same(i + literal, i + literal + 1)))
      ++literal;
    out.U8(static_cast<std::uint8_t>(literal - 1));
    out.Raw(ByteSpan(spec.pixels.data() + i * bytes, literal * bytes));
    i += literal;
  }
  return out.Take();
}

// ---- icons, cursors, animated cursors

struct IconEntrySpec {
  std::uint8_t width = 0;   // 0: 256
  std::uint8_t height = 0;
  std::uint16_t planes_or_x = 1;
  std::uint16_t bits_or_y = 32;
  Bytes body;  // a PNG picture or a DIB with its AND mask
};

inline Bytes WriteIcon(std::uint16_t type, const std::vector<IconEntrySpec>& entries) {
  ByteWriter out;
  out.U16(0);
  out.U16(type);
  out.U16(static_cast<std::uint16_t>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const IconEntrySpec& e : entries) {
    out.U8(e.width);
    out.U8(e.height);
    out.U8(0);
    out.U8(0);
    out.U16(e.planes_or_x);
    out.U16(e.bits_or_y);
    out.U32(static_cast<std::uint32_t>(e.body.size()));
    out.U32(offset);
    offset += static_cast<std::uint32_t>(e.body.size());
  }
  for (const IconEntrySpec& e : entries) out.Raw(e.body);
  return out.Take();
}

// A 32-bit icon DIB of width x height from 0x00RRGGBB pixels (rows top-down), with the fourth
// bytes given by `alpha` (empty: 0) and the AND mask from `transparent` (1: transparent).
inline Bytes IconDib32(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels,
                       const std::vector<std::uint8_t>& alpha, const std::vector<std::uint8_t>& transparent) {
  DibSpec spec;
  spec.width = width;
  spec.height = height * 2;
  spec.bit_count = 32;
  ByteWriter rows;
  for (std::int32_t y = height - 1; y >= 0; --y)
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * width + x);
      rows.U32(pixels[i] | (alpha.empty() ? 0u : std::uint32_t{alpha[i]} << 24));
    }
  const std::size_t and_row = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  for (std::int32_t y = height - 1; y >= 0; --y) {
    Bytes row(and_row, 0);
    for (std::int32_t x = 0; x < width; ++x)
      if (transparent[static_cast<std::size_t>(y * width + x)] != 0)
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    rows.Raw(row);
  }
  spec.pixels = rows.Take();
  return WriteDib(spec);
}

inline void RiffChunk(ByteWriter& out, const char* id, const Bytes& body) {
  out.Raw(std::string_view(id, 4));
  out.U32(static_cast<std::uint32_t>(body.size()));
  out.Raw(body);
  if (body.size() % 2 != 0) out.U8(0);
}

// An animated cursor of icon-file frames, with optional per-step rates and sequence.
inline Bytes WriteAni(const std::vector<Bytes>& icons, std::uint32_t default_rate, const std::vector<std::uint32_t>& rates,
                      const std::vector<std::uint32_t>& sequence) {
  ByteWriter body;
  body.Raw(std::string_view("ACON"));
  ByteWriter header;
  header.U32(36);
  header.U32(static_cast<std::uint32_t>(icons.size()));
  header.U32(static_cast<std::uint32_t>(sequence.empty() ? icons.size() : sequence.size()));
  for (int i = 0; i < 4; ++i) header.U32(0);
  header.U32(default_rate);
  header.U32(1u | (sequence.empty() ? 0u : 2u));
  RiffChunk(body, "anih", header.Take());
  const auto values = [](const std::vector<std::uint32_t>& v) {
    ByteWriter w;
    for (const std::uint32_t x : v) w.U32(x);
    return w.Take();
  };
  if (!rates.empty()) RiffChunk(body, "rate", values(rates));
  if (!sequence.empty()) RiffChunk(body, "seq ", values(sequence));
  ByteWriter list;
  list.Raw(std::string_view("fram"));
  for (const Bytes& icon : icons) RiffChunk(list, "icon", icon);
  RiffChunk(body, "LIST", list.Take());
  ByteWriter out;
  RiffChunk(out, "RIFF", body.Take());
  return out.Take();
}

}  // namespace kest::testing
