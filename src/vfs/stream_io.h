#pragma once
// The binary helpers every stored format uses, over ordinary streams: little-endian int32, bytes,
// Boolean bytes and LStrings (int32 length, then the bytes; a length of 0 or less is the empty
// string). A short read, or a length larger than what is left, raises FormatError naming the
// stream and the offset; nothing is allocated beyond the bytes left.

#include <cstdint>
#include <string>
#include <string_view>

#include "vfs/stream.h"

namespace kest {

std::int32_t ReadInt32(TStream& stream);
std::uint8_t ReadByte(TStream& stream);
bool ReadBool(TStream& stream);
std::string ReadLString(TStream& stream);
void ReadExactly(TStream& stream, void* buffer, std::int64_t count);

void WriteInt32(TStream& stream, std::int32_t value);
void WriteByte(TStream& stream, std::uint8_t value);
void WriteBool(TStream& stream, bool value);
void WriteLString(TStream& stream, std::string_view text);
void WriteExactly(TStream& stream, const void* buffer, std::int64_t count);

}  // namespace kest
