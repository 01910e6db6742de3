#pragma once
// An archive: many named entries in one file, each stored raw or as a zlib stream. Archives come
// from a file of their own ("game.dat", "save.dat"), from the end of a Windows executable
// (trailer: int32 offset of the archive + "kx"), from bytes the program carries, or exist only in
// memory. A file "NAME.ext" beside "NAME.dat" holds the directory instead of the file itself.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/hash_collection.h"
#include "vfs/archive_directory.h"
#include "vfs/big_stream.h"
#include "vfs/deflate.h"
#include "vfs/range_stream.h"
#include "vfs/stream.h"

namespace kest {

class TVrFile : public THashCollectionItem {
 public:
  using THashCollectionItem::THashCollectionItem;

  std::int64_t Offset = 0;               // absolute position in the backing stream
  std::unique_ptr<TMemoryStream> Data;   // the content, for entries held in memory
  std::int64_t Size = 0;                 // stored bytes
  bool Stored = false;                   // raw rather than zlib-compressed
  std::int32_t TimeStamp = 0;            // MS-DOS packed date and time, or 0
  std::uint32_t Checksum = 0;            // CRC-32
  bool ChecksumOfUncompressed = false;   // the CRC covers the inflated bytes, not the stored ones
};

// Which of its entries an archive writes compressed, and how it takes their checksums.
struct ArchiveWriteOptions {
  std::int32_t version = kNewestArchiveVersion;  // 0, 100, 101 or 102
};

class TVrFileCollection : public THashCollection<TVrFile> {
 public:
  // Opens the archive in the real file `file_name`. A name that is not an existing file leaves
  // the collection empty with that name as its base folder. A damaged directory raises FormatError.
  void LoadFromFile(const std::string& file_name);
  // Opens an archive held in bytes the program carries (they must outlive the collection).
  // Raises "リソースが見つかりません" when the bytes are empty.
  void LoadFromResource(ByteSpan resource, std::string name);
  // Opens an archive from bytes it then owns (saves read back into memory, tests).
  void LoadFromMemory(Bytes bytes, std::string name);

  // The entry's content, inflated. A real file of that name in the base folder wins. Raises
  // "%s:ファイルがありません" when the name is not found, FormatError when the entry is damaged.
  Bytes ReadEntry(std::string_view name);
  // The entry's stored bytes, as they lie in the archive (before inflating).
  Bytes ReadStoredBytes(const TVrFile& entry);
  // Inflates `stored` as the content of `entry`.
  Bytes Unpack(const TVrFile& entry, Bytes stored) const;

  TVrFile& AddEntry(std::string name);
  TVrFile& AddMemoryEntry(std::string name);
  void DeleteEntry(std::string_view name);

  // Writes the whole archive: every entry but "\EOF\", content from memory, from the base folder
  // or from this archive's own source. Returns false when an entry's content cannot be had.
  bool WriteArchive(TVxBigMemoryStream& target, const ArchiveWriteOptions& options = {});

  // A read-only stream over the entry's stored bytes, or nullptr when the name is not here or
  // the archive has no backing stream.
  std::unique_ptr<TRangeStream> OpenRange(std::string_view name);

  const std::string& BaseFolder() const { return base_folder_; }
  void SetBaseFolder(std::string folder) { base_folder_ = std::move(folder); }
  const std::string& FileName() const { return file_name_; }
  bool HasSource() const { return source_ != nullptr; }
  std::int32_t Version() const { return version_; }
  void SetInflateLimit(std::size_t limit) { inflate_limit_ = limit; }

 private:
  void Reset();
  void ReadDirectoryFrom(TVxBigStream& directory_stream, std::int64_t archive_start);
  std::unique_ptr<TVxBigStream> OpenSourceCopy() const;

  std::string base_folder_;
  std::string file_name_;
  std::unique_ptr<TVxBigStream> source_;
  ByteSpan resource_;          // set for resource archives, for range streams over them
  Bytes owned_bytes_;          // set for archives loaded from memory
  std::int32_t version_ = 0;
  std::size_t inflate_limit_ = kDefaultInflateLimit;
};

}  // namespace kest
