#pragma once
// The compression of archive entries: zlib streams (RFC 1950), written at level 1, and the
// standard CRC-32 that archives record per entry.

#include <cstdint>
#include <string>

#include "core/byte_reader.h"

namespace kest {

// Inflated sizes above this are refused, so a small hostile entry cannot claim gigabytes.
inline constexpr std::size_t kDefaultInflateLimit = std::size_t{1} << 30;

// Inflates one zlib stream. Raises FormatError naming `source` when the data is not a valid
// stream or inflates to more than `limit` bytes.
Bytes InflateZlib(ByteSpan compressed, const std::string& source, std::size_t limit = kDefaultInflateLimit);

// A zlib stream of `data` at compression level 1.
Bytes DeflateZlib(ByteSpan data);

std::uint32_t Crc32(ByteSpan data);

}  // namespace kest
