#include "images/zelk_picture.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "render/pixel_format.h"

namespace kest {

std::int64_t ZelkPicture::RowBytesFor(std::int64_t width, int bit_count) {
  const int store_bits = bit_count == 15 ? 16 : bit_count;
  return ((width * store_bits + 31) / 32) * 4;
}

void ZelkPicture::Resize(std::int32_t width, std::int32_t height, int bit_count, bool with_palette, Fill fill) {
  width_ = width;
  height_ = height;
  bit_count_ = bit_count;
  row_bytes_ = static_cast<std::int32_t>(RowBytesFor(width, bit_count));
  const std::size_t size = static_cast<std::size_t>(row_bytes_) * static_cast<std::size_t>(height);
  if (fill == Fill::Zero) {
    rows_.assign(size, 0);
  } else {
    // A store of another size is given up first, so growing it copies nothing.
    if (rows_.size() != size) PixelStore().swap(rows_);
    rows_.resize(size);
  }
  const std::size_t entries = bit_count <= 8 && with_palette ? std::size_t{1} << bit_count : 0;
  if (palette_.size() != entries) palette_.assign(entries, 0);
}

void ZelkPicture::Reset() { *this = ZelkPicture(); }

std::uint32_t ZelkPicture::Get(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  switch (bit_count_) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8: return row[x];
    case 15:
    case 16: return row[x * 2] | (static_cast<std::uint32_t>(row[x * 2 + 1]) << 8);
    case 24: {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
      return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    }
    default: {
      std::uint32_t v;
      std::memcpy(&v, row + static_cast<std::size_t>(x) * 4, 4);
      return v;
    }
  }
}

void ZelkPicture::Set(std::int32_t x, std::int32_t y, std::uint32_t value) {
  std::uint8_t* row = Row(y);
  switch (bit_count_) {
    case 1: {
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<std::uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      std::uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 0xF))
                  : static_cast<std::uint8_t>((b & 0x0F) | ((value & 0xF) << 4));
      break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(value); break;
    case 15:
    case 16:
      row[x * 2] = static_cast<std::uint8_t>(value);
      row[x * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
      break;
    case 24: {
      std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
      p[0] = static_cast<std::uint8_t>(value);
      p[1] = static_cast<std::uint8_t>(value >> 8);
      p[2] = static_cast<std::uint8_t>(value >> 16);
      break;
    }
    default: std::memcpy(row + static_cast<std::size_t>(x) * 4, &value, 4); break;
  }
}

std::uint32_t ZelkPicture::ToRgb(std::uint32_t value) const {
  if (bit_count_ == 15 || bit_count_ == 16) return Widen16(value, bit_count_);
  if (bit_count_ > 8) return value & 0x00FFFFFF;
  return value < palette_.size() ? palette_[value] & 0x00FFFFFF : 0;
}

std::uint32_t ZelkPicture::FromRgb(std::uint32_t rgb) const {
  if (bit_count_ == 15 || bit_count_ == 16)
    return static_cast<std::uint32_t>(ColorToNative(bit_count_, static_cast<std::int32_t>(SwapRedBlue(rgb & 0x00FFFFFF))));
  if (bit_count_ > 8) return rgb & 0x00FFFFFF;
  std::uint32_t best = 0;
  std::int64_t best_distance = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const std::int64_t dr = static_cast<std::int64_t>((palette_[i] >> 16) & 0xFF) - ((rgb >> 16) & 0xFF);
    const std::int64_t dg = static_cast<std::int64_t>((palette_[i] >> 8) & 0xFF) - ((rgb >> 8) & 0xFF);
    const std::int64_t db = static_cast<std::int64_t>(palette_[i] & 0xFF) - (rgb & 0xFF);
    const std::int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<std::uint32_t>(i);
    }
  }
  return best;
}

ZelkPicture ZelkPicture::Crop(const Rect& area) const {
  ZelkPicture out;
  out.palette_ = palette_;
  // A mask (8 bits without palette) stays without one.
  out.Resize(area.Width(), area.Height(), bit_count_, !palette_.empty());
  for (std::int32_t y = 0; y < area.Height(); ++y) {
    if (bit_count_ >= 8) {
      const std::size_t bpp = static_cast<std::size_t>(BytesPerPixel());
      std::memcpy(out.Row(y), Row(area.top + y) + static_cast<std::size_t>(area.left) * bpp,
                  static_cast<std::size_t>(area.Width()) * bpp);
    } else {
      for (std::int32_t x = 0; x < area.Width(); ++x) out.Set(x, y, Get(area.left + x, area.top + y));
    }
  }
  return out;
}

void ZelkPicture::CopyArea(const ZelkPicture& source, const Rect& area) {
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    if (bit_count_ >= 8) {
      const std::size_t bpp = static_cast<std::size_t>(BytesPerPixel());
      std::memcpy(Row(y) + static_cast<std::size_t>(area.left) * bpp,
                  source.Row(y) + static_cast<std::size_t>(area.left) * bpp,
                  static_cast<std::size_t>(area.Width()) * bpp);
    } else {
      for (std::int32_t x = area.left; x < area.right; ++x) Set(x, y, source.Get(x, y));
    }
  }
}

}  // namespace kest

namespace kest {

std::uint32_t Widen16(std::uint32_t value, int bit_count) {
  const std::uint32_t b5 = value & 0x1F;
  std::uint32_t r, g;
  if (bit_count == 15) {
    r = (value >> 10) & 0x1F;
    const std::uint32_t g5 = (value >> 5) & 0x1F;
    g = (g5 << 3) | (g5 >> 2);
  } else {
    r = (value >> 11) & 0x1F;
    const std::uint32_t g6 = (value >> 5) & 0x3F;
    g = (g6 << 2) | (g6 >> 4);
  }
  const std::uint32_t b = (b5 << 3) | (b5 >> 2);
  r = (r << 3) | (r >> 2);
  return b | (g << 8) | (r << 16);
}

}  // namespace kest
