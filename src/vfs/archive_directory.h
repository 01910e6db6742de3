#pragma once
// The directory of an archive, as stored:
//   ["vf" int32 version]     absent in version 0 (the first two bytes then belong to the count)
//   int32 N
//   N names (int32 length + CP932 bytes)               scrambled from version 100
//   N + 1 offsets, int64 from version 101, else int32  scrambled from version 100
//   N stored flags, N int32 time stamps, N int32 CRCs  from version 101
//   N checksum-of-uncompressed flags                   from version 102
// Offsets count from the archive's first byte; offset N is the end of the last entry.
// Scrambling XORs each name byte, and each offset, with successive draws of TVxRandom seeded
// with ArchiveSeed; names and offsets each start a fresh generator. It is its own inverse.

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_writer.h"
#include "vfs/big_stream.h"

namespace kest {

inline constexpr std::int32_t kArchiveSeed = 1684217903;
inline constexpr std::int32_t kNewestArchiveVersion = 102;
inline constexpr char kEndEntryName[] = "\\EOF\\";

struct DirectoryEntry {
  std::string name;
  std::int64_t offset = 0;  // relative to the archive's first byte
  bool stored = false;      // versions below 101 hold only compressed entries
  std::int32_t time_stamp = 0;
  std::uint32_t checksum = 0;
  bool checksum_of_uncompressed = false;
};

struct Directory {
  std::int32_t version = 0;
  std::vector<DirectoryEntry> entries;
  std::int64_t end_offset = 0;  // offset N
};

// Reads a directory at the stream's position. Every count, length and offset is checked: a
// count larger than the data, a name past the end, offsets that decrease or point past
// `data_size` (the size of the stream holding the entries, measured from the archive's first
// byte) raise FormatError naming the stream and the offset.
Directory ReadDirectory(TVxBigStream& stream, std::int64_t data_size);

// Appends the directory for `entries` in the layout of `version` (0, 100, 101 or 102). Offsets
// are written as given; callers that do not know them yet write zeros and patch them later
// with WriteDirectoryTables.
void WriteDirectory(ByteWriter& out, const Directory& directory);

// Rewrites the offset and flag tables of a directory written at `directory_start`.
void WriteDirectoryTables(Bytes& archive, std::size_t directory_start, const Directory& directory);

}  // namespace kest
