#pragma once
// The archive work behind `kest pack`, `ls`, `unpack` and `verify`, as functions the commands
// print and the tests check.

#include <cstdint>
#include <string>
#include <vector>

namespace kest::tool {

// Packs every regular file below `folder` into a new archive of `version` (0, 100, 101, 102),
// named by their paths relative to the folder with "\" between folders, in sorted order.
// Returns the number of entries. A file name with no CP932 form is an error naming it.
std::size_t PackFolder(const std::string& folder, const std::string& archive_path, std::int32_t version);

struct ListedEntry {
  std::string name;  // UTF-8 (bytes with no UTF-8 form as \xNN)
  std::int64_t stored_size = 0;
  bool stored = false;
  std::uint32_t checksum = 0;
  std::int32_t time_stamp = 0;
};
struct Listing {
  std::int32_t version = 0;
  std::vector<ListedEntry> entries;
};
Listing ListArchive(const std::string& archive_path);

struct Report {
  std::size_t done = 0;
  std::vector<std::string> problems;  // one line each: the entry's name (UTF-8) and what was wrong
};
// Writes every entry below `folder`; an entry whose name would land outside it, or that has no
// UTF-8 form, is refused and reported.
Report UnpackArchive(const std::string& archive_path, const std::string& folder);
// Inflates every entry and compares its CRC-32 (archives from version 101 record one).
Report VerifyArchive(const std::string& archive_path);

}  // namespace kest::tool
