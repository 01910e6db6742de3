#include "core/byte_reader.h"

#include <algorithm>
#include <cstring>

#include "core/errors.h"
#include "core/extended.h"

namespace kest {

ByteReader::ByteReader(ByteSpan data, std::string source)
    : data_(data), source_(std::move(source)) {}

void ByteReader::Fail(std::string_view what) const {
  throw FormatError(source_, position_, std::string(what));
}

void ByteReader::Require(std::size_t count, std::string_view what) const {
  if (count > Remaining())
    Fail(std::string(what) + " needs " + std::to_string(count) + " bytes, " +
         std::to_string(Remaining()) + " left");
}

void ByteReader::Seek(std::size_t position) {
  if (position > data_.size())
    Fail("seek to " + std::to_string(position) + " past the end (" + std::to_string(data_.size()) +
         " bytes)");
  position_ = position;
}

void ByteReader::Skip(std::size_t count) {
  Require(count, "skip");
  position_ += count;
}

template <typename T>
T ByteReader::Little() {
  Require(sizeof(T), "integer");
  std::make_unsigned_t<T> value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    value |= static_cast<std::make_unsigned_t<T>>(data_[position_ + i]) << (8 * i);
  position_ += sizeof(T);
  return static_cast<T>(value);
}

std::uint8_t ByteReader::U8() { return Little<std::uint8_t>(); }
std::int8_t ByteReader::I8() { return Little<std::int8_t>(); }
std::uint16_t ByteReader::U16() { return Little<std::uint16_t>(); }
std::int16_t ByteReader::I16() { return Little<std::int16_t>(); }
std::uint32_t ByteReader::U32() { return Little<std::uint32_t>(); }
std::int32_t ByteReader::I32() { return Little<std::int32_t>(); }
std::uint64_t ByteReader::U64() { return Little<std::uint64_t>(); }
std::int64_t ByteReader::I64() { return Little<std::int64_t>(); }

bool ByteReader::Bool() { return U8() != 0; }

long double ByteReader::Extended() {
  Require(10, "extended real");
  ExtendedBytes bytes{};
  std::memcpy(bytes.data(), data_.data() + position_, bytes.size());
  position_ += bytes.size();
  return ExtendedFromBytes(bytes);
}

ByteSpan ByteReader::Take(std::size_t count) {
  Require(count, "block");
  ByteSpan view = data_.subspan(position_, count);
  position_ += count;
  return view;
}

std::string ByteReader::Chars(std::size_t count) {
  ByteSpan view = Take(count);
  return std::string(reinterpret_cast<const char*>(view.data()), view.size());
}

std::string ByteReader::LString() {
  const std::size_t start = position_;
  const std::int32_t length = I32();
  if (length <= 0) return {};
  if (static_cast<std::size_t>(length) > Remaining()) {
    position_ = start;
    Fail("string of " + std::to_string(length) + " bytes runs past the end (" +
         std::to_string(Remaining() - 4) + " left)");
  }
  return Chars(static_cast<std::size_t>(length));
}

std::size_t ByteReader::Count(std::int64_t count, std::size_t min_item_size, std::string_view what) {
  if (count < 0) Fail(std::string(what) + ": negative count " + std::to_string(count));
  const std::size_t item = std::max<std::size_t>(min_item_size, 1);
  if (static_cast<std::uint64_t>(count) > Remaining() / item)
    Fail(std::string(what) + ": count " + std::to_string(count) + " cannot fit in the " +
         std::to_string(Remaining()) + " bytes left");
  return static_cast<std::size_t>(count);
}

std::vector<std::string> ByteReader::StringList() {
  const std::size_t count = Count(I32(), 4, "string list");
  std::vector<std::string> list;
  list.reserve(count);
  for (std::size_t i = 0; i < count; ++i) list.push_back(LString());
  return list;
}

}  // namespace kest
