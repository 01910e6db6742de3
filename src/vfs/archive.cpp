#include "vfs/archive.h"

#include <limits>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "vfs/messages.h"
#include "vfs/real_files.h"

namespace kest {

namespace {

// The lower-cased extension of a real path, with its dot ("" when there is none).
std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return cp932::LowerCase(path.substr(dot));
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::string current = ExtensionOf(path);
  return path.substr(0, path.size() - current.size()) + extension;
}

constexpr char kTrailerMark[] = "kx";
constexpr std::int64_t kTrailerSize = 6;  // int32 archive offset + "kx"

}  // namespace

void TVrFileCollection::Reset() {
  Clear();
  base_folder_.clear();
  file_name_.clear();
  source_.reset();
  resource_ = {};
  owned_bytes_.clear();
  version_ = 0;
}

void TVrFileCollection::LoadFromFile(const std::string& file_name) {
  Reset();
  if (!real_files::IsFile(file_name)) {
    base_folder_ = file_name.empty() || file_name.back() == '/' ? file_name : file_name + "/";
    return;
  }
  file_name_ = file_name;
  base_folder_ = real_files::FolderOf(file_name);
  source_ = std::make_unique<TVxBigFileStream>(file_name, kAccessRead | kShareDenyWrite);

  const std::string extension = ExtensionOf(file_name);
  if (extension == ".exe" || extension == ".scr") {
    const std::int64_t size = source_->GetSize();
    std::uint8_t trailer[kTrailerSize] = {};
    if (size >= kTrailerSize) {
      source_->SetPosition(size - kTrailerSize);
      source_->Read(trailer, kTrailerSize);
    }
    if (size < kTrailerSize || trailer[4] != kTrailerMark[0] || trailer[5] != kTrailerMark[1])
      throw FormatError(file_name, static_cast<std::uint64_t>(std::max<std::int64_t>(size - 2, 0)),
                        "no archive is appended to this program (it does not end in \"kx\")");
    const std::int64_t start = static_cast<std::int32_t>(trailer[0] | trailer[1] << 8 | trailer[2] << 16 |
                                                         static_cast<std::uint32_t>(trailer[3]) << 24);
    if (start < 0 || start > size - kTrailerSize)
      throw FormatError(file_name, static_cast<std::uint64_t>(size - kTrailerSize),
                        "the appended archive's offset " + std::to_string(start) + " lies outside the file");
    source_->SetPosition(start);
    ReadDirectoryFrom(*source_, start);
    return;
  }

  const std::optional<std::string> companion =
      real_files::FindEntry(base_folder_, WithExtension(file_name.substr(base_folder_.size()), ".ext"));
  if (companion && real_files::IsFile(*companion)) {
    TVxBigFileStream directory(*companion, kAccessRead | kShareDenyWrite);
    ReadDirectoryFrom(directory, 0);
  } else {
    ReadDirectoryFrom(*source_, 0);
  }
}

void TVrFileCollection::LoadFromResource(ByteSpan resource, std::string name) {
  Reset();
  if (resource.empty()) throw KestError(Message(VfsMessage::ResourceMissing));
  resource_ = resource;
  source_ = std::make_unique<TVxBigResourceStream>(resource_, std::move(name));
  ReadDirectoryFrom(*source_, 0);
}

void TVrFileCollection::LoadFromMemory(Bytes bytes, std::string name) {
  Reset();
  owned_bytes_ = std::move(bytes);
  resource_ = owned_bytes_;
  source_ = std::make_unique<TVxBigResourceStream>(resource_, std::move(name));
  ReadDirectoryFrom(*source_, 0);
}

void TVrFileCollection::ReadDirectoryFrom(TVxBigStream& directory_stream, std::int64_t archive_start) {
  const Directory directory = ReadDirectory(directory_stream, source_->GetSize() - archive_start);
  version_ = directory.version;
  for (std::size_t i = 0; i < directory.entries.size(); ++i) {
    const DirectoryEntry& stored = directory.entries[i];
    TVrFile& entry = AddEntry(stored.name);
    entry.Offset = archive_start + stored.offset;
    const std::int64_t next = i + 1 < directory.entries.size() ? directory.entries[i + 1].offset : directory.end_offset;
    entry.Size = next - stored.offset;
    entry.Stored = stored.stored;
    entry.TimeStamp = stored.time_stamp;
    entry.Checksum = stored.checksum;
    entry.ChecksumOfUncompressed = stored.checksum_of_uncompressed;
  }
  // The end marker keeps the offset as stored, relative to the archive's start.
  AddEntry(kEndEntryName).Offset = directory.end_offset;
}

Bytes TVrFileCollection::ReadStoredBytes(const TVrFile& entry) {
  if (!source_) throw KestError(FillMessage(Message(VfsMessage::FileMissing), {entry.Name()}));
  Bytes stored(static_cast<std::size_t>(entry.Size));
  source_->SetPosition(entry.Offset);
  const std::int64_t read = source_->Read(stored.data(), entry.Size);
  if (read != entry.Size)
    throw FormatError(source_->Name(), static_cast<std::uint64_t>(entry.Offset),
                      "entry " + cp932::ToUtf8Lenient(entry.Name()) + " is cut short: " + std::to_string(read) +
                          " of " + std::to_string(entry.Size) + " bytes");
  return stored;
}

Bytes TVrFileCollection::Unpack(const TVrFile& entry, Bytes stored) const {
  if (entry.Stored) return stored;
  const std::string source = (file_name_.empty() && source_ ? source_->Name() : file_name_) + ":" +
                             cp932::ToUtf8Lenient(entry.Name());
  return InflateZlib(stored, source, inflate_limit_);
}

Bytes TVrFileCollection::ReadEntry(std::string_view name) {
  if (!base_folder_.empty()) {
    const std::optional<std::string> real = real_files::Resolve(base_folder_, name);
    if (real && *real != file_name_ && real_files::IsFile(*real)) return real_files::Load(*real);
  }
  if (const TVrFile* entry = Find(name)) {
    if (entry->Data) return entry->Data->Data();
    if (source_) return Unpack(*entry, ReadStoredBytes(*entry));
  }
  throw KestError(FillMessage(Message(VfsMessage::FileMissing), {name}));
}

TVrFile& TVrFileCollection::AddEntry(std::string name) { return Add(std::make_unique<TVrFile>(std::move(name))); }

TVrFile& TVrFileCollection::AddMemoryEntry(std::string name) {
  TVrFile& entry = AddEntry(std::move(name));
  entry.Data = std::make_unique<TMemoryStream>();
  return entry;
}

void TVrFileCollection::DeleteEntry(std::string_view name) {
  const std::ptrdiff_t index = IndexOf(name);
  if (index >= 0) Extract(static_cast<std::size_t>(index));
}

std::unique_ptr<TVxBigStream> TVrFileCollection::OpenSourceCopy() const {
  if (!file_name_.empty()) return std::make_unique<TVxBigFileStream>(file_name_, kAccessRead | kShareDenyWrite);
  return std::make_unique<TVxBigResourceStream>(resource_, source_->Name());
}

std::unique_ptr<TRangeStream> TVrFileCollection::OpenRange(std::string_view name) {
  const TVrFile* entry = Find(name);
  if (!entry || entry->Data || !source_) return nullptr;
  return std::make_unique<TRangeStream>(OpenSourceCopy(), entry->Offset, entry->Size);
}

}  // namespace kest
