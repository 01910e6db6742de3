#include "core/byte_writer.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/extended.h"

namespace kest {

void ByteWriter::Extended(long double value) {
  const ExtendedBytes bytes = ExtendedToBytes(value);
  Raw(ByteSpan(bytes.data(), bytes.size()));
}

// The buffer grows first and the bytes are copied in: GCC 12 at -O3, seeing a range insert
// into a buffer it believes empty, reports a -Wstringop-overflow that cannot happen. The copy
// lives here, out of line, so no caller's inlining brings the false alarm back.
void ByteWriter::Raw(ByteSpan bytes) {
  if (bytes.empty()) return;
  const std::size_t at = data_.size();
  data_.resize(at + bytes.size());
  std::memcpy(data_.data() + at, bytes.data(), bytes.size());
}

void ByteWriter::Raw(std::string_view bytes) {
  Raw(ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void ByteWriter::LString(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("string too long for an LString");
  I32(static_cast<std::int32_t>(text.size()));
  Raw(text);
}

void ByteWriter::StringList(const std::vector<std::string>& list) {
  I32(static_cast<std::int32_t>(list.size()));
  for (const std::string& text : list) LString(text);
}

void ByteWriter::PatchI32(std::size_t position, std::int32_t value) {
  if (position + 4 > data_.size()) throw std::out_of_range("PatchI32 past the end");
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) data_[position + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace kest
