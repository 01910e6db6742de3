#include "archive_tool.h"
#include "output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/cp932.h"
#include "core/errors.h"
#include "vfs/archive.h"
#include "vfs/atomic_file.h"
#include "vfs/real_files.h"

namespace kest::tool {

namespace fs = std::filesystem;

namespace {

std::string DisplayName(const std::string& cp932_name) { return cp932::ToUtf8Lenient(cp932_name); }

bool IsEntry(const TVrFile& entry) { return entry.Name() != kEndEntryName; }

// An archive to read must be a file; a KestError says what the path is instead.
void RequireArchiveFile(const std::string& path) {
  if (real_files::IsFile(path)) return;
  throw KestError(cp932::FromUtf8Lenient(path + (fs::is_directory(path) ? ": a folder, not an archive file" : ": no such file")));
}

}  // namespace

std::size_t PackFolder(const std::string& folder, const std::string& archive_path, std::int32_t version) {
  if (!fs::is_directory(folder)) throw KestError(cp932::FromUtf8Lenient(folder + ": not a folder"));
  std::vector<std::string> relative;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    // The archive being written may lie inside the folder; it is not part of itself.
    if (fs::exists(archive_path) && fs::equivalent(item.path(), archive_path)) continue;
    relative.push_back(fs::relative(item.path(), folder).generic_string());
  }
  std::sort(relative.begin(), relative.end());

  TVrFileCollection collection;
  collection.SetBaseFolder(fs::path(folder).string() + "/");
  for (const std::string& path : relative) {
    std::string name;
    try {
      name = cp932::FromUtf8(path);
    } catch (const KestError&) {
      throw KestError(cp932::FromUtf8Lenient(path + ": the name has no CP932 form, which titles need"));
    }
    std::replace(name.begin(), name.end(), '/', '\\');  // ASCII "/" is never a trail byte
    collection.AddEntry(name).ChecksumOfUncompressed = true;
  }
  TVxBigMemoryStream archive;
  if (!collection.WriteArchive(archive, {.version = version})) throw KestError(cp932::FromUtf8Lenient(folder + ": a file vanished while packing"));
  WriteFileAtomically(archive_path, archive.Memory().Data());
  return relative.size();
}

Listing ListArchive(const std::string& archive_path) {
  RequireArchiveFile(archive_path);
  TVrFileCollection archive;
  archive.LoadFromFile(archive_path);
  Listing listing{.version = archive.Version()};
  for (const auto& entry : archive) {
    if (!IsEntry(*entry)) continue;
    listing.entries.push_back({DisplayName(entry->Name()), entry->Size, entry->Stored, entry->Checksum, entry->TimeStamp});
  }
  return listing;
}

Report UnpackArchive(const std::string& archive_path, const std::string& folder) {
  RequireArchiveFile(archive_path);
  TVrFileCollection archive;
  archive.LoadFromFile(archive_path);
  fs::create_directories(folder);
  Report report;
  for (const auto& entry : archive) {
    if (!IsEntry(*entry)) continue;
    std::string why;
    const std::optional<std::string> path = PlaceBelow(folder, entry->Name(), why);
    if (!path) {
      report.problems.push_back(archive_path + ":" + DisplayName(entry->Name()) + ": refused: " + why);
      continue;
    }
    try {
      WriteNewFile(*path, archive.Unpack(*entry, archive.ReadStoredBytes(*entry)));
      ++report.done;
    } catch (const KestError& error) {
      report.problems.push_back(archive_path + ":" + DisplayName(entry->Name()) + ": " + ErrorText(error));
    }
  }
  return report;
}

Report VerifyArchive(const std::string& archive_path) {
  RequireArchiveFile(archive_path);
  TVrFileCollection archive;
  archive.LoadFromFile(archive_path);
  const bool has_checksums = archive.Version() >= 101;
  Report report;
  for (const auto& entry : archive) {
    if (!IsEntry(*entry)) continue;
    try {
      const Bytes stored = archive.ReadStoredBytes(*entry);
      const Bytes content = archive.Unpack(*entry, stored);
      const std::uint32_t computed = Crc32(entry->ChecksumOfUncompressed ? content : stored);
      if (has_checksums && computed != entry->Checksum) {
        char text[64];
        std::snprintf(text, sizeof text, "CRC %08X recorded, %08X computed", entry->Checksum, computed);
        report.problems.push_back(archive_path + ":" + DisplayName(entry->Name()) + ": " + text);
        continue;
      }
      ++report.done;
    } catch (const KestError& error) {
      report.problems.push_back(archive_path + ":" + DisplayName(entry->Name()) + ": " + ErrorText(error));
    }
  }
  return report;
}

}  // namespace kest::tool
