#pragma once
// The bounded reader through which every loader reads binary data. Each count and length is
// checked against the bytes left before anything is allocated; a violation throws FormatError
// naming the source, the offset and what was wrong.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kest {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

class ByteReader {
 public:
  // `source` names the data in error messages (usually a file name).
  explicit ByteReader(ByteSpan data, std::string source = {});

  std::size_t Position() const { return position_; }
  std::size_t Size() const { return data_.size(); }
  std::size_t Remaining() const { return data_.size() - position_; }
  bool AtEnd() const { return position_ == data_.size(); }
  const std::string& Source() const { return source_; }

  void Seek(std::size_t position);
  void Skip(std::size_t count) {
    Require(count, "skip");
    position_ += count;
  }

  std::uint8_t U8() { return Little<std::uint8_t>(); }
  std::int8_t I8() { return Little<std::int8_t>(); }
  std::uint16_t U16() { return Little<std::uint16_t>(); }
  std::int16_t I16() { return Little<std::int16_t>(); }
  std::uint32_t U32() { return Little<std::uint32_t>(); }
  std::int32_t I32() { return Little<std::int32_t>(); }
  std::uint64_t U64() { return Little<std::uint64_t>(); }
  std::int64_t I64() { return Little<std::int64_t>(); }
  bool Bool() { return U8() != 0; }  // one byte; any value other than 0 reads as true
  long double Extended();  // 10 bytes
  std::string LString();   // int32 length (<= 0: empty), then that many bytes
  std::vector<std::string> StringList();  // int32 count, then LStrings
  ByteSpan Take(std::size_t count);       // a view of the next `count` bytes
  std::string Chars(std::size_t count);   // the next `count` bytes as a string

  // A count read from the data, checked to be non-negative and to fit in what is left when each
  // item needs at least `min_item_size` bytes. Call it before sizing a container by the count.
  std::size_t Count(std::int64_t count, std::size_t min_item_size, std::string_view what);

  // Throws FormatError at the current offset.
  [[noreturn]] void Fail(std::string_view what) const;

 private:
  // Loaders read many small fields; the checks stay inline and the failure path does not.
  void Require(std::size_t count, std::string_view what) const {
    if (count > Remaining()) [[unlikely]] FailShort(count, what);
  }
  [[noreturn]] void FailShort(std::size_t count, std::string_view what) const;

  template <typename T>
  T Little() {
    Require(sizeof(T), "integer");
    std::make_unsigned_t<T> value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      value |= static_cast<std::make_unsigned_t<T>>(data_[position_ + i]) << (8 * i);
    position_ += sizeof(T);
    return static_cast<T>(value);
  }

  ByteSpan data_;
  std::string source_;
  std::size_t position_ = 0;
};

}  // namespace kest
