// The standard decoders against pictures written in code: one table of good pictures with what
// each must decode to (pixels, mask, key, frames with delays, hot spot), and one table of bad
// ones that must be refused with a FormatError.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "core/errors.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "support/image_writers.h"
#include "support/temp_folder.h"

namespace kest {
namespace {

using testing::DibSpec;
using testing::GifFrameSpec;
using testing::IconEntrySpec;
using testing::PngSpec;
using testing::TgaSpec;

struct Frame {
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint8_t> mask;  // empty: none
  std::int64_t key = -1;
  std::int32_t delay_ms = 0;
};

struct Case {
  std::string name;  // also the file name the decoder is chosen by
  Bytes data;
  std::int32_t width;
  std::int32_t height;
  std::vector<Frame> frames;
  std::int32_t hot_x = 0;
  std::int32_t hot_y = 0;
  std::vector<std::uint8_t> indexes = {};  // checked when not empty
};

// A picture of w x h whose pixel (x, y) is f(x, y), rows top-down.
template <typename T, typename F>
std::vector<T> Grid(int w, int h, F f) {
  std::vector<T> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.push_back(static_cast<T>(f(x, y)));
  return out;
}

std::uint32_t Grey(std::uint32_t v) { return v * 0x010101u; }

// ---- PNG

// Every colour type and depth on a 9 x 9 picture (so that every interlace pass has pixels),
// plain and interlaced.
void AddPngColourTypes(std::vector<Case>& cases) {
  constexpr int kSide = 9;
  struct Type {
    int colour_type;
    int depth;
  };
  const Type types[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                        {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  for (const Type t : types) {
    for (const bool interlace : {false, true}) {
      PngSpec spec;
      spec.width = spec.height = kSide;
      spec.colour_type = t.colour_type;
      spec.bit_depth = t.depth;
      spec.interlace = interlace;
      const int levels = t.depth >= 8 ? 256 : 1 << t.depth;
      const auto level = [&](int x, int y, int c) { return static_cast<std::uint32_t>((x * 7 + y * 3 + c * 5) % levels); };
      // 16-bit samples are b * 257, which scales back to b exactly.
      const auto stored = [&](std::uint32_t v) {
        return static_cast<std::uint16_t>(t.depth == 16 ? v * 257 : v);
      };
      const auto eight = [&](std::uint32_t v) { return t.depth >= 8 ? v : v * 255 / (levels - 1); };
      Frame frame;
      std::vector<std::uint8_t> alpha;
      if (t.colour_type == 3)
        for (int i = 0; i < levels; ++i)
          spec.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(i * 3)});
      for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
          const std::uint32_t a = level(x, y, 0), b = level(x, y, 1), c = level(x, y, 2), d = level(x, y, 3);
          switch (t.colour_type) {
            case 0:
              spec.samples.push_back(stored(a));
              frame.pixels.push_back(Grey(eight(a)));
              break;
            case 2:
              for (const std::uint32_t v : {a, b, c}) spec.samples.push_back(stored(v));
              frame.pixels.push_back((a << 16) | (b << 8) | c);
              break;
            case 3:
              spec.samples.push_back(static_cast<std::uint16_t>(a));
              frame.pixels.push_back((a << 16) | ((255 - a) << 8) | ((a * 3) & 0xFF));
              break;
            case 4:
              spec.samples.push_back(stored(a));
              spec.samples.push_back(stored(d));
              frame.pixels.push_back(Grey(a));
              alpha.push_back(static_cast<std::uint8_t>(d));
              break;
            default:
              for (const std::uint32_t v : {a, b, c, d}) spec.samples.push_back(stored(v));
              frame.pixels.push_back((a << 16) | (b << 8) | c);
              alpha.push_back(static_cast<std::uint8_t>(d));
              break;
          }
        }
      frame.mask = alpha;
      cases.push_back({"type " + std::to_string(t.colour_type) + " depth " + std::to_string(t.depth) +
                           (interlace ? " interlaced" : "") + ".png",
                       testing::WritePng(spec), kSide, kSide, {frame}});
    }
  }
}

// Transparency: which forms become the key and which the mask.
void AddPngTransparency(std::vector<Case>& cases) {
  const auto palette_png = [](const std::vector<std::array<std::uint8_t, 3>>& palette, Bytes trns) {
    PngSpec spec;
    spec.width = 4;
    spec.height = 1;
    spec.colour_type = 3;
    spec.palette = palette;
    spec.trns = std::move(trns);
    spec.samples = {0, 1, 2, 1};
    return testing::WritePng(spec);
  };
  const std::vector<std::array<std::uint8_t, 3>> distinct = {{{1, 2, 3}}, {{10, 20, 30}}, {{200, 100, 50}}};
  const std::vector<std::uint32_t> distinct_pixels = {0x010203, 0x0A141E, 0xC86432, 0x0A141E};
  {
    Frame f{distinct_pixels};
    f.key = 0x0A141E;
    cases.push_back({"palette one clear entry.png", palette_png(distinct, {255, 0, 255}), 4, 1, {f}});
  }
  {
    // The clear entry's colour is also an opaque entry's colour: only a mask tells them apart.
    auto duplicated = distinct;
    duplicated[2] = duplicated[1];
    cases.push_back({"palette clear entry duplicated.png", palette_png(duplicated, {255, 0}), 4, 1,
                     {Frame{{0x010203, 0x0A141E, 0x0A141E, 0x0A141E}, {255, 0, 255, 0}}}});
  }
  cases.push_back({"palette two clear entries.png", palette_png(distinct, {0, 0}), 4, 1,
                   {Frame{distinct_pixels, {0, 0, 255, 0}}}});
  cases.push_back({"palette partial alpha.png", palette_png(distinct, {255, 128}), 4, 1,
                   {Frame{distinct_pixels, {255, 128, 255, 128}}}});
  cases.push_back({"palette tRNS all opaque.png", palette_png(distinct, {255, 255, 255}), 4, 1, {Frame{distinct_pixels}}});
  {
    PngSpec grey;
    grey.width = 3;
    grey.colour_type = 0;
    grey.samples = {0x40, 0x80, 0x40};
    grey.trns = {0x00, 0x40};
    Frame f{{0x404040, 0x808080, 0x404040}};
    f.key = 0x404040;
    cases.push_back({"grey tRNS.png", testing::WritePng(grey), 3, 1, {f}});
  }
  {
    PngSpec rgb;
    rgb.width = 2;
    rgb.samples = {1, 2, 3, 4, 5, 6};
    rgb.trns = {0, 4, 0, 5, 0, 6};
    Frame f{{0x010203, 0x040506}};
    f.key = 0x040506;
    cases.push_back({"rgb tRNS.png", testing::WritePng(rgb), 2, 1, {f}});
  }
  {
    // 16-bit: 0x1234 is the clear colour, 0x1200 is opaque; both scale to 0x12.
    PngSpec rgb;
    rgb.width = 2;
    rgb.bit_depth = 16;
    rgb.samples = {0x1234, 0x1234, 0x1234, 0x1200, 0x1200, 0x1200};
    rgb.trns = {0x12, 0x34, 0x12, 0x34, 0x12, 0x34};
    cases.push_back({"rgb16 tRNS colliding.png", testing::WritePng(rgb), 2, 1, {Frame{{0x121212, 0x121212}, {0, 255}}}});
  }
  {
    // Binary alpha in an RGBA picture is a mask, not a key.
    PngSpec rgba;
    rgba.width = 2;
    rgba.colour_type = 6;
    rgba.samples = {9, 9, 9, 0, 1, 1, 1, 255};
    cases.push_back({"rgba binary.png", testing::WritePng(rgba), 2, 1, {Frame{{0x090909, 0x010101}, {0, 255}}}});
  }
}

// ---- BMP

std::vector<std::uint32_t> TestPalette(int n) {
  std::vector<std::uint32_t> out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint32_t>(i * 0x111111) & 0xFFFFFF);
  return out;
}

void AddBmp(std::vector<Case>& cases) {
  {
    // RLE8, 6 x 4, stored bottom row first: a run and a literal group (padded to even), a run
    // that stops at the row's end, a delta to (3, 3), a run, the end of the bitmap.
    DibSpec spec;
    spec.width = 6;
    spec.height = 4;
    spec.bit_count = 8;
    spec.compression = 1;
    spec.palette = TestPalette(4);
    spec.pixels = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 8, 2, 0, 0, 0, 2, 3, 1, 2, 3, 0, 1};
    const std::vector<std::uint8_t> indexes = {0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0, 0,
                                               2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 3, 1};
    std::vector<std::uint32_t> pixels;
    for (const std::uint8_t i : indexes) pixels.push_back(spec.palette[i]);
    cases.push_back({"rle8.bmp", testing::WriteBmp(spec), 6, 4, {Frame{pixels}}, 0, 0, indexes});
  }
  {
    // RLE4, 5 x 2: a run of alternating nibbles, end of line, a literal group of three, a run
    // of four that stops at the row's end.
    DibSpec spec;
    spec.width = 5;
    spec.height = 2;
    spec.bit_count = 4;
    spec.compression = 2;
    spec.palette = TestPalette(16);
    spec.pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 4, 0x67, 0, 1};
    const std::vector<std::uint8_t> indexes = {3, 4, 5, 6, 7, 1, 2, 1, 2, 1};
    std::vector<std::uint32_t> pixels;
    for (const std::uint8_t i : indexes) pixels.push_back(spec.palette[i]);
    cases.push_back({"rle4.bmp", testing::WriteBmp(spec), 5, 2, {Frame{pixels}}, 0, 0, indexes});
  }
  {
    // A delta past the last row ends the picture; what follows it is not read as pixels.
    DibSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.bit_count = 8;
    spec.compression = 1;
    spec.palette = TestPalette(4);
    spec.pixels = {2, 1, 0, 2, 0, 9, 2, 3, 2, 3};
    const std::vector<std::uint32_t> p = spec.palette;
    cases.push_back({"rle8 delta out.bmp", testing::WriteBmp(spec), 2, 2, {Frame{{p[0], p[0], p[1], p[1]}}}});
  }
  const auto words = [](std::initializer_list<std::uint16_t> values) {
    ByteWriter w;
    for (const std::uint16_t v : values) w.U16(v);
    return w.Take();
  };
  {
    DibSpec spec;
    spec.width = 4;
    spec.bit_count = 16;
    spec.pixels = words({0x7C00, 0x03E0, 0x001F, 0x4210});
    cases.push_back({"rgb555.bmp", testing::WriteBmp(spec), 4, 1, {Frame{{0xFF0000, 0x00FF00, 0x0000FF, 0x838383}}}});
  }
  for (const std::uint32_t header : {40u, 108u}) {
    DibSpec spec;
    spec.header_size = header;
    spec.width = 4;
    spec.bit_count = 16;
    spec.compression = 3;
    spec.masks = {0xF800, 0x07E0, 0x001F, 0};
    spec.pixels = words({0xF800, 0x07E0, 0x001F, 0x8410});
    cases.push_back({"rgb565 header " + std::to_string(header) + ".bmp", testing::WriteBmp(spec), 4, 1,
                     {Frame{{0xFF0000, 0x00FF00, 0x0000FF, 0x838183}}}});
  }
  const auto dwords = [](std::initializer_list<std::uint32_t> values) {
    ByteWriter w;
    for (const std::uint32_t v : values) w.U32(v);
    return w.Take();
  };
  {
    DibSpec spec;
    spec.width = 3;
    spec.bit_count = 32;
    spec.pixels = dwords({0x00112233, 0x80445566, 0xFF778899});
    cases.push_back({"alpha32.bmp", testing::WriteBmp(spec), 3, 1, {Frame{{0x112233, 0x445566, 0x778899}, {0, 128, 255}}}});
  }
  {
    // Fourth bytes all 0: an opaque picture, not an invisible one.
    DibSpec spec;
    spec.width = 2;
    spec.bit_count = 32;
    spec.pixels = dwords({0x00112233, 0x00445566});
    cases.push_back({"x32.bmp", testing::WriteBmp(spec), 2, 1, {Frame{{0x112233, 0x445566}}}});
  }
  {
    // V5 bit fields in A, B, G, R byte order, alpha included.
    DibSpec spec;
    spec.header_size = 124;
    spec.width = 2;
    spec.bit_count = 32;
    spec.compression = 3;
    spec.masks = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
    spec.pixels = dwords({0x11223340, 0x44556600});
    cases.push_back({"v5 alpha.bmp", testing::WriteBmp(spec), 2, 1, {Frame{{0x112233, 0x445566}, {0x40, 0}}}});
  }
  {
    // OS/2: 3-byte palette entries, unsigned 16-bit sides.
    DibSpec spec;
    spec.header_size = 12;
    spec.width = 3;
    spec.height = 2;
    spec.bit_count = 8;
    spec.palette = {0x000000, 0xABCDEF, 0x123456};
    spec.pixels = {1, 2, 0, 0, 2, 1, 1, 0};
    cases.push_back({"os2.bmp", testing::WriteBmp(spec), 3, 2,
                     {Frame{{0x123456, 0xABCDEF, 0xABCDEF, 0xABCDEF, 0x123456, 0x000000}}}, 0, 0, {2, 1, 1, 1, 2, 0}});
  }
  {
    DibSpec spec;
    spec.width = 1;
    spec.height = -2;  // top-down
    spec.bit_count = 24;
    spec.pixels = {0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0};
    cases.push_back({"top-down.dib", testing::WriteBmp(spec), 1, 2, {Frame{{0x112233, 0x445566}}}});
  }
}

// ---- GIF

void AddGif(std::vector<Case>& cases) {
  constexpr std::uint32_t kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
  const std::vector<std::uint32_t> palette = {kBlack, kRed, kGreen, kBlue};
  {
    // Disposal 1 keeps, 2 clears the frame's rectangle, 3 restores what was before the frame.
    std::vector<GifFrameSpec> frames(4);
    frames[0] = {0, 0, 4, 4, false, 1, -1, 10, std::vector<std::uint8_t>(16, 1)};
    frames[1] = {1, 1, 2, 2, false, 2, 3, 20, {2, 2, 2, 3}};
    frames[2] = {0, 0, 1, 1, false, 3, -1, 30, {3}};
    frames[3] = {3, 3, 1, 1, false, 1, -1, 0, {2}};
    const auto screen = [](std::function<std::uint32_t(int, int)> f) { return Grid<std::uint32_t>(4, 4, f); };
    const auto in_box = [](int x, int y) { return x >= 1 && x <= 2 && y >= 1 && y <= 2; };
    Frame f1{screen([](int, int) { return kRed; }), {}, -1, 100};
    Frame f2{screen([&](int x, int y) { return in_box(x, y) && !(x == 2 && y == 2) ? kGreen : kRed; }), {}, -1, 200};
    const auto cleared_mask = Grid<std::uint8_t>(4, 4, [&](int x, int y) { return in_box(x, y) ? 0 : 255; });
    Frame f3{screen([&](int x, int y) { return x == 0 && y == 0 ? kBlue : in_box(x, y) ? 0 : kRed; }), cleared_mask, -1, 300};
    Frame f4{screen([&](int x, int y) { return x == 3 && y == 3 ? kGreen : in_box(x, y) ? 0 : kRed; }), cleared_mask, -1, 0};
    cases.push_back({"disposal.gif", testing::WriteGif(4, 4, palette, frames), 4, 4, {f1, f2, f3, f4}});
  }
  {
    // Interlaced rows come in four passes; the decoder puts them back in order.
    GifFrameSpec frame{0, 0, 2, 10, true, 0, -1, 0, Grid<std::uint8_t>(2, 10, [](int, int y) { return y % 4; })};
    cases.push_back({"interlaced.gif", testing::WriteGif(2, 10, palette, {frame}), 2, 10,
                     {Frame{Grid<std::uint32_t>(2, 10, [&](int, int y) { return palette[static_cast<std::size_t>(y % 4)]; })}}});
  }
  {
    // A frame smaller than the screen with its own colour table; the rest is uncovered.
    GifFrameSpec frame{1, 0, 1, 1, false, 0, -1, 0, {1}, {0x000000, 0x123456}, false};
    cases.push_back({"local palette.gif", testing::WriteGif(2, 1, palette, {frame}), 2, 1,
                     {Frame{{0, 0x123456}, {0, 255}}}});
  }
}

// ---- TGA

// A 3 x 2 picture stored by `spec` with the values of `value(x, y)`, in the order the
// descriptor's origin asks for.
void AddTga(std::vector<Case>& cases) {
  constexpr int kW = 3, kH = 2;
  const auto colour = [](int x, int y) { return static_cast<std::uint32_t>(0x102030 * (x + 1) + 0x010101 * y * 7); };
  struct Form {
    std::uint8_t type;
    std::uint8_t depth;
  };
  const Form forms[] = {{1, 8}, {2, 15}, {2, 16}, {2, 24}, {2, 32}, {3, 8}, {3, 16},
                        {9, 8}, {10, 15}, {10, 16}, {10, 24}, {10, 32}, {11, 8}, {11, 16}};
  for (const Form form : forms) {
    for (const std::uint8_t origin : {std::uint8_t{0}, std::uint8_t{0x20}, std::uint8_t{0x30}}) {
      const int base = form.type > 8 ? form.type - 8 : form.type;
      TgaSpec spec;
      spec.type = form.type;
      spec.width = kW;
      spec.height = kH;
      spec.depth = form.depth;
      spec.id = "id";
      const bool with_alpha = form.depth == 32 || (base == 2 && form.depth == 16) || (base == 3 && form.depth == 16);
      spec.descriptor = static_cast<std::uint8_t>(origin | (form.depth == 32 || (base == 3 && form.depth == 16) ? 8
                                                            : form.depth == 16                                 ? 1
                                                                                                               : 0));
      Frame frame;
      std::vector<std::uint8_t> alpha;
      std::vector<std::uint8_t> indexes;
      if (base == 1) {
        spec.map_bits = 24;
        spec.map_first = 0;
        for (int i = 0; i < kW * kH; ++i) {
          const std::uint32_t c = colour(i % kW, i / kW);
          spec.map.insert(spec.map.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                           static_cast<std::uint8_t>(c >> 16)});
        }
      }
      // Expected values, rows top-down.
      const auto expected = [&](int x, int y) -> std::pair<std::uint32_t, std::uint8_t> {
        const std::uint32_t c = colour(x, y);
        const std::uint8_t a = static_cast<std::uint8_t>(x == 1 ? 0 : 255);
        switch (base) {
          case 1: return {c, 255};
          case 3: return {Grey(c & 0xFF), form.depth == 16 ? a : std::uint8_t{255}};
          default:
            if (form.depth <= 16) {
              const auto five = [](std::uint32_t v) { return ((v >> 3) << 3) | (v >> 5); };
              return {(five(c >> 16) << 16) | (five((c >> 8) & 0xFF) << 8) | five(c & 0xFF),
                      form.depth == 16 ? a : std::uint8_t{255}};
            }
            return {c, form.depth == 32 ? static_cast<std::uint8_t>(x * 100) : std::uint8_t{255}};
        }
      };
      for (int sy = 0; sy < kH; ++sy)
        for (int sx = 0; sx < kW; ++sx) {
          const int y = (origin & 0x20) != 0 ? sy : kH - 1 - sy;
          const int x = (origin & 0x10) != 0 ? kW - 1 - sx : sx;
          const std::uint32_t c = colour(x, y);
          const auto [rgb, a] = expected(x, y);
          (void)rgb;
          if (base == 1) {
            spec.pixels.push_back(static_cast<std::uint8_t>(y * kW + x));
          } else if (base == 3) {
            spec.pixels.push_back(static_cast<std::uint8_t>(c));
            if (form.depth == 16) spec.pixels.push_back(a);
          } else if (form.depth <= 16) {
            const std::uint32_t v = (((c >> 19) & 31) << 10) | (((c >> 11) & 31) << 5) | ((c >> 3) & 31) |
                                    (a == 255 ? 0x8000u : 0u);
            spec.pixels.push_back(static_cast<std::uint8_t>(v));
            spec.pixels.push_back(static_cast<std::uint8_t>(v >> 8));
          } else {
            spec.pixels.insert(spec.pixels.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                                   static_cast<std::uint8_t>(c >> 16)});
            if (form.depth == 32) spec.pixels.push_back(a);
          }
        }
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const auto [rgb, a] = expected(x, y);
          frame.pixels.push_back(rgb);
          alpha.push_back(a);
          indexes.push_back(static_cast<std::uint8_t>(y * kW + x));
        }
      if (with_alpha) frame.mask = alpha;
      cases.push_back({"type " + std::to_string(form.type) + " depth " + std::to_string(form.depth) + " origin " +
                           std::to_string(origin) + ".tga",
                       testing::WriteTga(spec), kW, kH, {frame}, 0, 0, base == 1 ? indexes : std::vector<std::uint8_t>{}});
    }
  }
  {
    // A 32-bit picture without attribute bits keeps its fourth bytes out of the mask; one with
    // attribute bits whose alpha is 0 everywhere is opaque.
    for (const std::uint8_t descriptor : {std::uint8_t{0x20}, std::uint8_t{0x28}}) {
      TgaSpec spec;
      spec.width = 2;
      spec.depth = 32;
      spec.descriptor = descriptor;
      spec.pixels = {0x33, 0x22, 0x11, descriptor == 0x20 ? std::uint8_t{0x80} : std::uint8_t{0}, 0x66, 0x55, 0x44, 0};
      cases.push_back({"unused alpha " + std::to_string(descriptor) + ".tga", testing::WriteTga(spec), 2, 1,
                       {Frame{{0x112233, 0x445566}}}});
    }
  }
}

// ---- icons and cursors

void AddIcons(std::vector<Case>& cases) {
  const auto pixels = [](int w, int h) { return Grid<std::uint32_t>(w, h, [](int x, int y) { return 0x010203u * (1 + x + 4 * y); }); };
  const std::vector<std::uint8_t> and_4 = Grid<std::uint8_t>(4, 4, [](int x, int y) { return x == y ? 1 : 0; });
  const std::vector<std::uint8_t> and_mask = Grid<std::uint8_t>(4, 4, [](int x, int y) { return x == y ? 0 : 255; });
  const Bytes small = testing::IconDib32(2, 2, pixels(2, 2), {}, {0, 0, 0, 0});
  const Bytes large = testing::IconDib32(4, 4, pixels(4, 4), {}, and_4);
  {
    // The larger entry wins wherever it is; its AND mask becomes the mask.
    const Bytes icon = testing::WriteIcon(1, {{2, 2, 1, 32, small}, {4, 4, 1, 32, large}});
    cases.push_back({"and mask.ico", icon, 4, 4, {Frame{pixels(4, 4), and_mask}}});
  }
  {
    // 32-bit alpha rules over the AND mask.
    const std::vector<std::uint8_t> alpha = Grid<std::uint8_t>(4, 4, [](int x, int) { return x * 80; });
    const Bytes body = testing::IconDib32(4, 4, pixels(4, 4), alpha, and_4);
    cases.push_back({"alpha.ico", testing::WriteIcon(1, {{4, 4, 1, 32, body}}), 4, 4, {Frame{pixels(4, 4), alpha}}});
  }
  {
    // A 4-bit entry: indexes through its palette, and the AND mask.
    DibSpec spec;
    spec.width = 2;
    spec.height = 4;
    spec.bit_count = 4;
    spec.palette = TestPalette(16);
    spec.pixels = {0x12, 0, 0, 0, 0x34, 0, 0, 0, 0x40, 0, 0, 0, 0x00, 0, 0, 0};  // colours, bottom row first, then AND
    const Bytes icon = testing::WriteIcon(1, {{2, 2, 1, 4, testing::WriteDib(spec)}});
    const auto& p = spec.palette;
    cases.push_back({"indexed.ico", icon, 2, 2, {Frame{{p[3], p[4], p[1], p[2]}, {255, 255, 255, 0}}}, 0, 0, {3, 4, 1, 2}});
  }
  {
    PngSpec png;
    png.width = 2;
    png.colour_type = 6;
    png.samples = {1, 2, 3, 255, 4, 5, 6, 7};
    const Bytes icon = testing::WriteIcon(1, {{2, 2, 1, 32, small}, {0, 0, 1, 32, testing::WritePng(png)}});
    cases.push_back({"png entry.ico", icon, 2, 1, {Frame{{0x010203, 0x040506}, {255, 7}}}});
  }
  const Bytes cursor = testing::WriteIcon(2, {{4, 4, 2, 1, large}});
  cases.push_back({"hot spot.cur", cursor, 4, 4, {Frame{pixels(4, 4), and_mask}}, 2, 1});
  {
    // Frames in sequence order (1, 0, 1), each step its rate in 1/60 s.
    const Bytes other = testing::WriteIcon(2, {{4, 4, 2, 1, testing::IconDib32(4, 4, std::vector<std::uint32_t>(16, 0x0000FF), {},
                                                                               std::vector<std::uint8_t>(16, 0))}});
    const Bytes ani = testing::WriteAni({cursor, other}, 10, {6, 12, 3}, {1, 0, 1});
    const Frame blue{std::vector<std::uint32_t>(16, 0x0000FF)};
    cases.push_back({"steps.ani", ani, 4, 4,
                     {Frame{blue.pixels, {}, -1, 100}, Frame{pixels(4, 4), and_mask, -1, 200}, Frame{blue.pixels, {}, -1, 50}},
                     2, 1});
  }
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  AddPngColourTypes(cases);
  AddPngTransparency(cases);
  AddBmp(cases);
  AddGif(cases);
  AddTga(cases);
  AddIcons(cases);
  return cases;
}

void ExpectFrame(const DecodedImage& image, const Frame& frame, std::int32_t width, std::int32_t height) {
  EXPECT_EQ(image.width, width);
  EXPECT_EQ(image.height, height);
  EXPECT_EQ(image.pixels, frame.pixels);
  EXPECT_EQ(image.mask, frame.mask);
  EXPECT_EQ(image.key, frame.key);
  EXPECT_EQ(image.delay_ms, frame.delay_ms);
}

TEST(Codecs, DecodeEveryFormTheirFormatsAllow) {
  for (const Case& c : AllCases()) {
    SCOPED_TRACE(c.name);
    DecodedImage image;
    ASSERT_NO_THROW(image = DecodeImageByName(c.data, c.name));
    ASSERT_EQ(image.next_frames.size() + 1, c.frames.size());
    ExpectFrame(image, c.frames[0], c.width, c.height);
    for (std::size_t i = 1; i < c.frames.size(); ++i) {
      SCOPED_TRACE("frame " + std::to_string(i));
      ExpectFrame(image.next_frames[i - 1], c.frames[i], c.width, c.height);
    }
    EXPECT_EQ(image.hot_spot_x, c.hot_x);
    EXPECT_EQ(image.hot_spot_y, c.hot_y);
    if (!c.indexes.empty()) {
      EXPECT_EQ(image.indexes, c.indexes);
    }
  }
}

// ---- bad input

Bytes Patched(Bytes data, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
  std::size_t i = at;
  for (const std::uint8_t b : bytes) data.at(i++) = b;
  return data;
}

Bytes Cut(Bytes data, std::size_t size) {
  data.resize(size);
  return data;
}

// A 2 x 1 frame on a 2 x 1 screen, moved one pixel right (the encoder would not write it so).
Bytes OutsideTheScreen() {
  const GifFrameSpec frame{0, 0, 2, 1, false, 0, -1, 0, {1, 1}, {}, false};
  // Header 6, screen descriptor 7, a global table of 2 entries 6: the frame's 0x2C is at 19.
  Bytes gif = testing::WriteGif(2, 1, {0, 0xFFFFFF}, {frame});
  EXPECT_EQ(gif.at(19), 0x2C);
  return Patched(gif, 20, {1});
}

TEST(Codecs, RefuseBrokenPicturesWithAFormatError) {
  PngSpec png_spec;
  png_spec.width = png_spec.height = 4;
  png_spec.samples.assign(48, 7);
  const Bytes png = testing::WritePng(png_spec);
  PngSpec wide_spec;  // one pixel wider than a surface may be: libpng's user limit refuses it
  wide_spec.width = kMaxImageSide + 1;
  wide_spec.samples.assign(static_cast<std::size_t>(wide_spec.width) * 3, 0);
  const Bytes wide_png = testing::WritePng(wide_spec);

  DibSpec rle;
  rle.width = 4;
  rle.height = 2;
  rle.bit_count = 8;
  rle.compression = 1;
  rle.palette = TestPalette(2);
  rle.pixels = {0, 5, 1, 1};  // a literal group of 5 with 2 bytes left
  DibSpec odd_icon;
  odd_icon.width = 1;
  odd_icon.height = 3;
  odd_icon.bit_count = 24;
  odd_icon.pixels.assign(12, 0);

  const Bytes outside = OutsideTheScreen();
  std::vector<GifFrameSpec> too_many(4097, GifFrameSpec{0, 0, 1, 1, false, 0, -1, 0, {1}, {}, false});
  Bytes huge_gif = testing::WriteGif(1, 1, {0, 0xFFFFFF}, {too_many[0]});
  huge_gif = Patched(huge_gif, 6, {0x10, 0x27, 0x10, 0x27});  // a 10000 x 10000 screen

  TgaSpec tga;
  tga.type = 10;
  tga.width = 2;
  tga.pixels = {1, 2, 3, 1, 2, 3};
  const Bytes tga_rle = testing::WriteTga(tga);

  const Bytes cursor = testing::WriteIcon(2, {{1, 1, 0, 0, testing::IconDib32(1, 1, {0}, {}, {0})}});
  const Bytes no_and = testing::WriteIcon(1, {{1, 1, 1, 32, Cut(testing::IconDib32(1, 1, {0}, {}, {0}), 44)}});

  struct Bad {
    const char* name;
    Bytes data;
  };
  const Bad cases[] = {
      {"png cut inside IDAT.png", Cut(png, 45)},
      {"png bad IHDR CRC.png", Patched(png, 29, {0})},
      {"png wider than the side limit.png", wide_png},
      {"bmp rle literal past the end.bmp", testing::WriteBmp(rle)},
      {"bmp huge info header.bmp", Patched(testing::WriteBmp(rle), 14, {0, 0, 2, 0})},
      {"bmp bit fields at 24 bits.bmp", Patched(testing::WriteBmp(odd_icon), 30, {3})},
      {"gif frame outside the screen.gif", outside},
      {"gif too many frames.gif", testing::WriteGif(1, 1, {0, 0xFFFFFF}, too_many)},
      {"gif screen over the pixel cap.gif", huge_gif},
      {"gif cut inside a frame.gif", Cut(testing::WriteGif(2, 10, {0, 0xFFFFFF}, {GifFrameSpec{0, 0, 2, 10, false, 0, -1, 0,
                                                                                             std::vector<std::uint8_t>(20, 1)}}),
                                         40)},
      {"tga type 4.tga", Patched(tga_rle, 2, {4})},
      {"tga depth 7.tga", Patched(tga_rle, 16, {7})},
      {"tga rle cut.tga", Cut(tga_rle, tga_rle.size() - 2)},
      {"tga rle too short for its size.tga", Patched(tga_rle, 12, {0xFF, 0x0F, 0xFF, 0x0F})},
      {"ico entry past the end.ico", Patched(cursor, 18, {0xFF, 0xFF})},
      {"ico no entries.ico", Patched(cursor, 4, {0, 0})},
      {"ico type 3.ico", Patched(cursor, 2, {3})},
      {"ico odd DIB height.ico", testing::WriteIcon(1, {{1, 1, 1, 24, testing::WriteDib(odd_icon)}})},
      {"ico without its AND mask.ico", no_and},
      {"ani step past the frames.ani", testing::WriteAni({cursor}, 1, {}, {0, 1})},
      {"ani without a header.ani", Patched(testing::WriteAni({cursor}, 1, {}, {}), 12, {'x'})},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(DecodeImageByName(c.data, c.name), FormatError);
  }
}

TEST(Codecs, TheErrorNamesTheFileAndTheOffset) {
  try {
    DecodeImageByName(OutsideTheScreen(), "walk.gif");
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_EQ(e.Source(), "walk.gif");
    EXPECT_GT(e.Offset(), 0u);
    EXPECT_NE(std::string(e.what()).find("inside the screen"), std::string::npos) << e.what();
  }
}

TEST(Codecs, StreamsFindGifBySignatureAndFilesFindEveryFormatByExtension) {
  const std::vector<std::uint32_t> palette = {0, 0xFF0000};
  const Bytes gif = testing::WriteGif(1, 1, palette, {GifFrameSpec{0, 0, 1, 1, false, 0, -1, 0, {1}}});
  TDIBX surface(3, 3, 32);
  ASSERT_TRUE(surface.LoadFromStream(gif, 0, "a"));
  EXPECT_EQ(surface.Width(), 1);
  EXPECT_EQ(surface.GetPixel(0, 0), 0xFF0000u);

  // TGA has no signature: a stream of it is not a picture, a file named ".tga" is.
  TgaSpec tga;
  tga.pixels = {0x33, 0x22, 0x11};
  const Bytes tga_bytes = testing::WriteTga(tga);
  EXPECT_FALSE(surface.LoadFromStream(tga_bytes, 0, "a.tga"));
  const testing::TempFolder folder;
  {
    std::ofstream out(folder.File("pic.TGA"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(tga_bytes.data()), static_cast<std::streamsize>(tga_bytes.size()));
  }
  surface.LoadFromFile(folder.File("pic.TGA"));
  EXPECT_EQ(surface.Width(), 1);
  EXPECT_EQ(surface.GetPixel(0, 0), 0x112233u);
  // A name without a known extension falls back to the signature.
  EXPECT_EQ(DecodeImageByName(gif, "noext").pixels, (std::vector<std::uint32_t>{0xFF0000}));
  EXPECT_THROW(DecodeImageByName(tga_bytes, "noext"), FormatError);
}

}  // namespace
}  // namespace kest
