#pragma once
// Archives for tests, written by the project's own archive writer from a list of files.

#include <string>
#include <utility>
#include <vector>

#include "vfs/archive.h"

namespace kest::testing {

struct FileSpec {
  std::string name;  // CP932, "\" between folders
  Bytes content;
};

inline Bytes BuildArchive(const std::vector<FileSpec>& files, std::int32_t version = 102) {
  TVrFileCollection collection;
  for (const FileSpec& file : files) {
    TVrFile& entry = collection.AddMemoryEntry(file.name);
    entry.Data->Write(file.content.data(), static_cast<std::int64_t>(file.content.size()));
    entry.ChecksumOfUncompressed = true;
  }
  TVxBigMemoryStream out;
  collection.WriteArchive(out, {.version = version});
  return out.Memory().Data();
}

inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace kest::testing
