#include "render/pixel_format.h"

namespace kest {

namespace {

constexpr PixelFormat Make(int bit_count, int bytes, int count, PixelFormat::Channel a, PixelFormat::Channel b,
                           PixelFormat::Channel c, PixelFormat::Channel d) {
  PixelFormat f;
  f.bit_count = bit_count;
  f.bytes_per_pixel = bytes;
  f.channel_count = count;
  f.channels[0] = a;
  f.channels[1] = b;
  f.channels[2] = c;
  f.channels[3] = d;
  return f;
}

constexpr PixelFormat kFormat8 = Make(8, 1, 1, {0, 8}, {0, 0}, {0, 0}, {0, 0});
constexpr PixelFormat kFormat15 = Make(15, 2, 3, {0, 5}, {5, 5}, {10, 5}, {0, 0});
constexpr PixelFormat kFormat16 = Make(16, 2, 3, {0, 5}, {5, 6}, {11, 5}, {0, 0});
constexpr PixelFormat kFormat24 = Make(24, 3, 3, {0, 8}, {8, 8}, {16, 8}, {0, 0});
// The 32-bit formulas treat the fourth byte like the others, as the vector kernels do.
constexpr PixelFormat kFormat32 = Make(32, 4, 4, {0, 8}, {8, 8}, {16, 8}, {24, 8});

template <typename Combine>
std::uint32_t PerChannel(const PixelFormat& format, std::uint32_t a, std::uint32_t b, Combine combine) {
  std::uint32_t out = 0;
  for (int i = 0; i < format.channel_count; ++i) {
    const auto [shift, bits] = format.channels[i];
    const std::uint32_t max = (1u << bits) - 1;
    const std::uint32_t value = combine((a >> shift) & max, (b >> shift) & max, max);
    out |= (value & max) << shift;
  }
  return out;
}

}  // namespace

const PixelFormat& FormatFor(int bit_count) {
  switch (bit_count) {
    case 8: return kFormat8;
    case 15: return kFormat15;
    case 16: return kFormat16;
    case 24: return kFormat24;
    default: return kFormat32;
  }
}

std::uint32_t BlendNative(const PixelFormat& format, std::uint32_t s, std::uint32_t d, std::uint32_t alpha) {
  return PerChannel(format, s, d, [alpha](std::uint32_t sc, std::uint32_t dc, std::uint32_t) {
    return (sc * alpha + dc * (255 - alpha)) >> 8;
  });
}

std::uint32_t AddScaledNative(const PixelFormat& format, std::uint32_t d, std::uint32_t s, std::uint32_t level) {
  return PerChannel(format, d, s, [level](std::uint32_t dc, std::uint32_t sc, std::uint32_t max) {
    const std::uint32_t sum = dc + ((sc * level) >> 8);
    return sum > max ? max : sum;
  });
}

std::uint32_t AddNative(const PixelFormat& format, std::uint32_t d, std::uint32_t c) {
  return PerChannel(format, d, c, [](std::uint32_t dc, std::uint32_t cc, std::uint32_t max) {
    return dc + cc > max ? max : dc + cc;
  });
}

std::uint32_t SubNative(const PixelFormat& format, std::uint32_t d, std::uint32_t c) {
  return PerChannel(format, d, c, [](std::uint32_t dc, std::uint32_t cc, std::uint32_t) {
    return dc > cc ? dc - cc : 0;
  });
}

std::int32_t ColorToNative(int bit_count, std::int32_t colour) {
  if (colour < 0) return -1;
  const std::uint32_t c = static_cast<std::uint32_t>(colour);
  const std::uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  switch (bit_count) {
    case 15: return static_cast<std::int32_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    case 16: return static_cast<std::int32_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    case 24:
    case 32: return static_cast<std::int32_t>((r << 16) | (g << 8) | b);
    default: return colour;
  }
}

}  // namespace kest
