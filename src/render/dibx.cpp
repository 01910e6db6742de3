#include "render/dibx.h"

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "core/text_format.h"
#include "render/messages.h"

namespace kest {

namespace {

int NormalisedBitCount(int bit_count) {
  switch (bit_count) {
    case 8:
    case 15:
    case 16:
    case 24:
    case 32: return bit_count;
    default: throw KestError("surface bit count " + std::to_string(bit_count) + " is not 8, 15, 16, 24 or 32");
  }
}

}  // namespace

void TDIBX::SetBitCount(int bit_count) {
  bit_count = NormalisedBitCount(bit_count);
  if (bit_count == bit_count_) return;
  SetSize(width_, height_, bit_count);
}

void TDIBX::SetSize(std::int32_t width, std::int32_t height, int bit_count) {
  bit_count = NormalisedBitCount(bit_count);
  if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    throw KestError("surface size " + std::to_string(width) + " x " + std::to_string(height) +
                    " is outside 0 to " + std::to_string(kMaxSurfaceSide));
  const int store_bits = bit_count == 15 ? 16 : bit_count;
  const std::int64_t row_bytes = ((static_cast<std::int64_t>(width) * store_bits + 31) / 32) * 4;
  store_.assign(static_cast<std::size_t>(row_bytes * height), 0);
  width_ = width;
  height_ = height;
  bit_count_ = bit_count;
  row_bytes_ = static_cast<std::int32_t>(row_bytes);
}

void TDIBX::Clear() {
  store_.clear();
  store_.shrink_to_fit();
  width_ = height_ = 0;
  row_bytes_ = 0;
}

std::uint8_t* TDIBX::PixelAddress(std::int32_t x, std::int32_t y) {
  if (y < 0 || y >= height_)
    throw KestError(FillMessage(Message(RenderMessage::ScanlineOutOfRange), {std::to_string(y)}));
  const std::size_t row = static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(row_bytes_);
  return store_.data() + row + static_cast<std::ptrdiff_t>(x) * FormatFor(bit_count_).bytes_per_pixel;
}

void TDIBX::GetPaletteEntries(std::span<std::uint32_t> out, int first) const {
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::size_t index = static_cast<std::size_t>(first) + i;
    out[i] = index < palette_.size() ? palette_[index] : 0;
  }
}

void TDIBX::SetPaletteEntries(std::span<const std::uint32_t> entries, int first) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t index = static_cast<std::size_t>(first) + i;
    if (index < palette_.size()) palette_[index] = entries[i];
  }
}

}  // namespace kest
