#pragma once
// TDIBX: a memory surface. Its rows are stored bottom-up, like a Windows device-independent
// bitmap, so its Pitch is negative (minus the row bytes, rows padded to four bytes).

#include <array>
#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace kest {

class TDIBX : public TCustomDIBX {
 public:
  TDIBX() = default;
  TDIBX(std::int32_t width, std::int32_t height, int bit_count) { SetSize(width, height, bit_count); }

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  int BitCount() const override { return bit_count_; }
  int StoreBitCount() const override { return bit_count_ == 15 ? 16 : bit_count_; }
  // Re-formats the store (15: 5-5-5, 16: 5-6-5, 8, 24, 32); the contents become undefined.
  void SetBitCount(int bit_count) override;
  std::int32_t Pitch() const override { return -row_bytes_; }
  std::uint8_t* PixelAddress(std::int32_t x, std::int32_t y) override;
  // Sides above kMaxSurfaceSide or below 0 raise KestError before anything is allocated.
  void SetSize(std::int32_t width, std::int32_t height, int bit_count) override;
  void Clear() override;
  void GetPaletteEntries(std::span<std::uint32_t> out, int first) const override;
  void SetPaletteEntries(std::span<const std::uint32_t> entries, int first) override;

  std::int32_t RowBytes() const { return row_bytes_; }

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  int bit_count_ = 32;
  std::int32_t row_bytes_ = 0;
  std::vector<std::uint8_t> store_;
  std::array<std::uint32_t, 256> palette_{};
};

}  // namespace kest
