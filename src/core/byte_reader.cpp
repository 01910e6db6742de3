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

void ByteReader::FailShort(std::size_t count, std::string_view what) const {
  Fail(std::string(what) + " needs " + std::to_string(count) + " bytes, " + std::to_string(Remaining()) + " left");
}

void ByteReader::Seek(std::size_t position) {
  if (position > data_.size())
    Fail("seek to " + std::to_string(position) + " past the end (" + std::to_string(data_.size()) +
         " bytes)");
  position_ = position;
}

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
