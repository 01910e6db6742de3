#pragma once
// The device-independent pixel store of the layered image format: rows top row first, each padded
// to four bytes, at 1, 4, 8, 15, 16, 24 or 32 bits per pixel (15 and 16 bits stored in two bytes) (an 8-bit store without palette also serves
// as a mask, 0 transparent to 255 opaque).
//
// Pixel values travel as native values: a palette index at 8 bits or less; B | G << 8 | R << 16 at
// 24 and 32 bits (the fourth byte of a 32-bit pixel is kept as 0). Below a byte the leftmost
// pixel sits in the highest bits.

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "core/byte_reader.h"
#include "render/geometry.h"

namespace kest {

// The most pixels one picture of the format may have (a 4096 x 4096 picture), checked before its
// store is allocated, so a small file cannot claim gigabytes.
inline constexpr std::int64_t kMaxZelkPixels = std::int64_t{4096} * 4096;
inline constexpr std::int32_t kMaxZelkSide = 32767;

// Bytes that a resize leaves as they come from the allocator: a decoder that writes every byte
// of a store need not have it cleared first.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using PixelStore = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

class ZelkPicture {
 public:
  // What a resize puts in the store: zeros, or nothing for a caller that writes every byte.
  enum class Fill : bool { Zero, None };

  // ((width * bit count + 31) div 32) * 4.
  static std::int64_t RowBytesFor(std::int64_t width, int bit_count);

  // Sizes the store and zero-fills it (unless told not to); a palette of 1 << bit count entries at
  // 8 bits or less (when `with_palette`) is kept if it has that size, else made black.
  void Resize(std::int32_t width, std::int32_t height, int bit_count, bool with_palette = true,
              Fill fill = Fill::Zero);
  void Reset();

  bool Empty() const { return rows_.empty(); }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  int BitCount() const { return bit_count_; }
  std::int32_t RowBytes() const { return row_bytes_; }
  // Whole bytes per pixel from 8 bits up (15 and 16 bits take 2), else 0.
  int BytesPerPixel() const { return bit_count_ == 15 ? 2 : bit_count_ / 8; }
  std::size_t ByteSize() const { return rows_.size(); }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  std::uint8_t* Row(std::int32_t y) { return rows_.data() + static_cast<std::size_t>(y) * row_bytes_; }
  const std::uint8_t* Row(std::int32_t y) const { return rows_.data() + static_cast<std::size_t>(y) * row_bytes_; }
  PixelStore& Data() { return rows_; }
  const PixelStore& Data() const { return rows_; }

  std::uint32_t Get(std::int32_t x, std::int32_t y) const;
  void Set(std::int32_t x, std::int32_t y, std::uint32_t value);

  // 0x00RRGGBB entries; 1 << bit count of them at 8 bits or less, else empty.
  std::vector<std::uint32_t>& Palette() { return palette_; }
  const std::vector<std::uint32_t>& Palette() const { return palette_; }

  // A native value as 0x00RRGGBB (through the palette at 8 bits or less; 0 for an index past it).
  std::uint32_t ToRgb(std::uint32_t value) const;
  // The native value nearest to 0x00RRGGBB: itself at 24 and 32 bits, else the palette entry at
  // the least squared RGB distance, the first one on a tie.
  std::uint32_t FromRgb(std::uint32_t rgb) const;

  // The part `area` of the picture (which must lie inside it) as a picture of its own.
  ZelkPicture Crop(const Rect& area) const;
  // Copies the area of `source` (same bit count) to the same place of this picture.
  void CopyArea(const ZelkPicture& source, const Rect& area);

  friend bool operator==(const ZelkPicture&, const ZelkPicture&) = default;

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  int bit_count_ = 0;
  std::int32_t row_bytes_ = 0;
  PixelStore rows_;
  std::vector<std::uint32_t> palette_;
};

// A 5-5-5 (15) or 5-6-5 (16) value widened to B | G << 8 | R << 16, each channel's top bits
// repeated into its low bits.
std::uint32_t Widen16(std::uint32_t value, int bit_count);

// 0x00BBGGRR (the colour form of scripts and files) to 0x00RRGGBB and back (the same swap).
constexpr std::uint32_t SwapRedBlue(std::uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace kest
