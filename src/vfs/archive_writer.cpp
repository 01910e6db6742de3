// Writing a whole archive (the player rewrites "save.dat" this way; `kest pack` builds titles).
//
// Which entries are compressed follows the player's rules: memory files under 5 MiB; files from
// the base folder under 5 MiB unless their type is already compressed (sound, movies, data) or
// their compressed form saves less than a tenth; entries copied from the archive's own source
// under 5 MiB. Archives before version 101 have no stored flags, so everything is compressed.

#include <limits>

#include "core/cp932.h"
#include "core/errors.h"
#include "vfs/archive.h"
#include "vfs/real_files.h"

namespace kest {

namespace {

constexpr std::size_t kCompressBelow = 5'242'880;
constexpr std::string_view kPrecompressedExtensions = ".WAV.WMA.OGG.MPG.MPEG.M1V.WMV.ASF.DAT.";

// A layered image gains from compression only when it is stored uncompressed inside:
// signature "Zelk" with version 103 or later and compression kind 1 in its header.
bool IsUncompressedLayeredImage(const Bytes& file) {
  constexpr std::size_t kCompressionKindAt = 7 + 4 + 22;  // signature, header size, field offset
  if (file.size() <= kCompressionKindAt || std::string_view(reinterpret_cast<const char*>(file.data()), 4) != "Zelk")
    return false;
  int version = 0;
  for (std::size_t i = 4; i < 7; ++i) {
    if (file[i] < '0' || file[i] > '9') return false;
    version = version * 10 + (file[i] - '0');
  }
  return version >= 103 && file[kCompressionKindAt] == 1;
}

bool ShouldCompressRealFile(const std::string& name, const Bytes& content) {
  const std::size_t dot = name.rfind('.');
  const std::string extension = cp932::UpperCase(dot == std::string::npos ? std::string() : name.substr(dot));
  if (extension == ".ZEL") return content.size() < kCompressBelow && IsUncompressedLayeredImage(content);
  return kPrecompressedExtensions.find(extension) == std::string_view::npos && content.size() < kCompressBelow;
}

enum class ContentKind { Memory, RealFile, OwnSource };

}  // namespace

bool TVrFileCollection::WriteArchive(TVxBigMemoryStream& target, const ArchiveWriteOptions& options) {
  const std::int32_t version = options.version;
  if (version != 0 && version != 100 && version != 101 && version != 102)
    throw KestError("cannot write archive version " + std::to_string(version));
  const bool has_stored_flags = version >= 101;

  std::vector<TVrFile*> entries;
  for (const auto& item : *this)
    if (item->Name() != kEndEntryName) entries.push_back(item.get());

  Directory directory;
  directory.version = version;
  for (const TVrFile* entry : entries) directory.entries.push_back({.name = entry->Name()});
  ByteWriter out;
  WriteDirectory(out, directory);  // placeholders; rewritten once the offsets are known

  for (std::size_t i = 0; i < entries.size(); ++i) {
    TVrFile& entry = *entries[i];
    DirectoryEntry& stored = directory.entries[i];

    Bytes content;
    ContentKind kind;
    std::optional<std::string> real;
    if (entry.Data) {
      kind = ContentKind::Memory;
      content = entry.Data->Data();
    } else if (!base_folder_.empty() && (real = real_files::Resolve(base_folder_, entry.Name())) &&
               *real != file_name_ && real_files::IsFile(*real)) {
      kind = ContentKind::RealFile;
      content = real_files::Load(*real);
    } else if (source_) {
      kind = ContentKind::OwnSource;
      content = Unpack(entry, ReadStoredBytes(entry));
    } else {
      return false;
    }

    bool compress = content.size() < kCompressBelow;
    if (kind == ContentKind::RealFile) compress = ShouldCompressRealFile(entry.Name(), content);
    if (!has_stored_flags) compress = true;
    Bytes written = compress ? DeflateZlib(content) : content;
    if (kind == ContentKind::RealFile && compress && has_stored_flags && written.size() > content.size() * 9 / 10) {
      written = content;
      compress = false;
    }

    // Entries copied from the archive itself are checksummed over what is written, and say so;
    // before version 102 there is no flag to say otherwise, so every CRC covers the written bytes.
    const bool checksum_of_uncompressed =
        version >= 102 && kind != ContentKind::OwnSource && entry.ChecksumOfUncompressed;
    stored.offset = static_cast<std::int64_t>(out.Size());
    stored.stored = !compress;
    stored.checksum = Crc32(checksum_of_uncompressed ? content : written);
    stored.checksum_of_uncompressed = checksum_of_uncompressed;
    stored.time_stamp = kind == ContentKind::RealFile ? real_files::DosTimeStampOf(*real) : entry.TimeStamp;
    out.Raw(written);
  }
  directory.end_offset = static_cast<std::int64_t>(out.Size());
  if (version < 101 && directory.end_offset > std::numeric_limits<std::int32_t>::max())
    throw KestError("an archive of version " + std::to_string(version) + " cannot hold more than 2 GiB");

  Bytes archive = out.Take();
  WriteDirectoryTables(archive, 0, directory);
  target = TVxBigMemoryStream(std::move(archive), target.Name());
  return true;
}

}  // namespace kest
