#pragma once
// The compression of archive entries: zlib streams (RFC 1950), written at level 1, and the
// standard CRC-32 that archives record per entry.

#include <cstdint>
#include <span>
#include <string>

#include "core/byte_reader.h"

namespace kest {

// Inflated sizes above this are refused, so a small hostile entry cannot claim gigabytes.
inline constexpr std::size_t kDefaultInflateLimit = std::size_t{1} << 30;

// Inflates one zlib stream. Raises FormatError naming `source` when the data is not a valid
// stream or inflates to more than `limit` bytes.
Bytes InflateZlib(ByteSpan compressed, const std::string& source, std::size_t limit = kDefaultInflateLimit);

// Inflates one zlib stream whose inflated size is known: straight into `out`, which it must fill
// exactly. Raises FormatError naming `source` for a damaged stream or another size.
void InflateZlibInto(ByteSpan compressed, std::span<std::uint8_t> out, const std::string& source);

// A zlib stream of `data` at compression level 1.
Bytes DeflateZlib(ByteSpan data);

std::uint32_t Crc32(ByteSpan data);

}  // namespace kest
