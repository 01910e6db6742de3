#pragma once
// Appends the binary forms that ByteReader reads: little-endian integers, Boolean bytes (0 or 1),
// 10-byte extended reals, LStrings and string lists.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"

namespace kest {

class ByteWriter {
 public:
  const Bytes& Data() const { return data_; }
  Bytes Take() { return std::move(data_); }
  std::size_t Size() const { return data_.size(); }

  void U8(std::uint8_t value) { data_.push_back(value); }
  void I8(std::int8_t value) { U8(static_cast<std::uint8_t>(value)); }
  void U16(std::uint16_t value) { Little(value); }
  void I16(std::int16_t value) { Little(static_cast<std::uint16_t>(value)); }
  void U32(std::uint32_t value) { Little(value); }
  void I32(std::int32_t value) { Little(static_cast<std::uint32_t>(value)); }
  void U64(std::uint64_t value) { Little(value); }
  void I64(std::int64_t value) { Little(static_cast<std::uint64_t>(value)); }
  void Bool(bool value) { U8(value ? 1 : 0); }
  void Extended(long double value);
  void LString(std::string_view text);
  void StringList(const std::vector<std::string>& list);
  void Raw(ByteSpan bytes);
  void Raw(std::string_view bytes);

  // Overwrites four bytes already written, for sizes and offsets known only later.
  void PatchI32(std::size_t position, std::int32_t value);

 private:
  template <typename T>
  void Little(T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) data_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  Bytes data_;
};

}  // namespace kest
