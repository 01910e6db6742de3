#include "vfs/stream_io.h"

#include <limits>

#include "core/errors.h"

namespace kest {

namespace {

[[noreturn]] void Fail(TStream& stream, std::int64_t offset, const std::string& what) {
  throw FormatError(stream.Name(), static_cast<std::uint64_t>(offset), what);
}

}  // namespace

void ReadExactly(TStream& stream, void* buffer, std::int64_t count) {
  const std::int64_t offset = stream.Position();
  const std::int64_t read = stream.Read(buffer, count);
  if (read != count)
    Fail(stream, offset, "needs " + std::to_string(count) + " bytes, " + std::to_string(read) + " left");
}

std::int32_t ReadInt32(TStream& stream) {
  std::uint8_t bytes[4];
  ReadExactly(stream, bytes, 4);
  return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint8_t ReadByte(TStream& stream) {
  std::uint8_t byte = 0;
  ReadExactly(stream, &byte, 1);
  return byte;
}

bool ReadBool(TStream& stream) { return ReadByte(stream) != 0; }

std::string ReadLString(TStream& stream) {
  const std::int64_t offset = stream.Position();
  const std::int32_t length = ReadInt32(stream);
  if (length <= 0) return {};
  if (length > stream.Remaining())
    Fail(stream, offset, "string of " + std::to_string(length) + " bytes runs past the end (" +
                             std::to_string(stream.Remaining()) + " left)");
  std::string text(static_cast<std::size_t>(length), '\0');
  ReadExactly(stream, text.data(), length);
  return text;
}

void WriteExactly(TStream& stream, const void* buffer, std::int64_t count) {
  const std::int64_t offset = stream.Position();
  if (stream.Write(buffer, count) != count) Fail(stream, offset, "write failed");
}

void WriteInt32(TStream& stream, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  WriteExactly(stream, bytes, 4);
}

void WriteByte(TStream& stream, std::uint8_t value) { WriteExactly(stream, &value, 1); }

void WriteBool(TStream& stream, bool value) { WriteByte(stream, value ? 1 : 0); }

void WriteLString(TStream& stream, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("string too long for an LString");
  WriteInt32(stream, static_cast<std::int32_t>(text.size()));
  WriteExactly(stream, text.data(), static_cast<std::int64_t>(text.size()));
}

}  // namespace kest
