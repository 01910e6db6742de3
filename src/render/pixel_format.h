#pragma once
// Pixel formats of surfaces and the per-channel formulas for the depths that have no vector
// kernels (8, 15, 16 and 24 bits). Pixels travel between these functions as native values in a
// 32-bit integer: the bytes B, G, R, X of a 32-bit pixel, a 16-bit 5-6-5 or 5-5-5 value, three
// bytes B, G, R, or one byte (a coverage value or a palette index).

#include <cstdint>
#include <cstring>

namespace kest {

struct PixelFormat {
  struct Channel {
    int shift;
    int bits;
  };
  int bit_count = 32;       // 8, 15, 16, 24 or 32
  int bytes_per_pixel = 4;  // (store bit count + 7) / 8
  int channel_count = 4;
  Channel channels[4] = {{0, 8}, {8, 8}, {16, 8}, {24, 8}};

  std::uint32_t Load(const std::uint8_t* p) const {
    switch (bytes_per_pixel) {
      case 1: return p[0];
      case 2: return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
      case 3: return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
      default: {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
      }
    }
  }
  void Store(std::uint8_t* p, std::uint32_t v) const {
    switch (bytes_per_pixel) {
      case 1: p[0] = static_cast<std::uint8_t>(v); break;
      case 2: p[0] = static_cast<std::uint8_t>(v); p[1] = static_cast<std::uint8_t>(v >> 8); break;
      case 3:
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
        break;
      default: std::memcpy(p, &v, 4); break;
    }
  }
};

// The format of a bit count; any count other than 8, 15, 16 and 24 is treated as 32.
const PixelFormat& FormatFor(int bit_count);

// Per-channel formulas on native values of `format`; each channel saturates at its own maximum.
std::uint32_t BlendNative(const PixelFormat& format, std::uint32_t s, std::uint32_t d, std::uint32_t alpha);
std::uint32_t AddScaledNative(const PixelFormat& format, std::uint32_t d, std::uint32_t s, std::uint32_t level);
std::uint32_t AddNative(const PixelFormat& format, std::uint32_t d, std::uint32_t c);
std::uint32_t SubNative(const PixelFormat& format, std::uint32_t d, std::uint32_t c);

// A colour 0x00BBGGRR (red in the low byte) as a native value: each 8-bit channel shifted right
// by (8 - channel bits) and placed at the channel's position, for 15, 16 and 32 bits (and 24,
// which has the 32-bit layout); other bit counts keep the value; a negative colour gives -1.
std::int32_t ColorToNative(int bit_count, std::int32_t colour);

}  // namespace kest
