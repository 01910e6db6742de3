#include "vfs/archive_directory.h"

#include <algorithm>
#include <cstring>

#include "core/errors.h"
#include "core/random.h"

namespace kest {

namespace {

bool IsScrambled(std::int32_t version) { return version >= 100; }
bool HasWideOffsets(std::int32_t version) { return version >= 101; }
bool HasEntryFlags(std::int32_t version) { return version >= 101; }
bool HasChecksumKind(std::int32_t version) { return version >= 102; }

// Reads through a read-ahead buffer while keeping count of the bytes left in the stream, so that
// no length or count is trusted beyond them.
class DirectoryStreamReader {
 public:
  explicit DirectoryStreamReader(TVxBigStream& stream)
      : stream_(stream), buffer_(stream), position_(stream.GetPosition()), size_(stream.GetSize()) {}

  std::int64_t Position() const { return position_; }
  std::int64_t Remaining() const { return size_ - position_; }

  [[noreturn]] void Fail(std::int64_t offset, const std::string& what) const {
    throw FormatError(stream_.Name(), static_cast<std::uint64_t>(offset), "archive directory: " + what);
  }

  void Read(void* target, std::int64_t count, const char* what) {
    if (count > Remaining())
      Fail(position_, std::string(what) + " needs " + std::to_string(count) + " bytes, " +
                          std::to_string(Remaining()) + " left");
    if (buffer_.Read(target, count) != count) Fail(position_, std::string(what) + ": read failed");
    position_ += count;
  }

  template <typename T>
  T Little(const char* what) {
    std::uint8_t bytes[sizeof(T)];
    Read(bytes, sizeof(T), what);
    std::make_unsigned_t<T> value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::make_unsigned_t<T>>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
  }

  // Checks a count of items of at least `item_size` bytes each against what is left.
  std::size_t Count(std::int64_t count, std::int64_t item_size, const char* what) {
    if (count < 0 || count > Remaining() / item_size)
      Fail(position_, std::string(what) + " count " + std::to_string(count) + " does not fit in the " +
                          std::to_string(Remaining()) + " bytes left");
    return static_cast<std::size_t>(count);
  }

 private:
  TVxBigStream& stream_;
  TVxBuffBigStream buffer_;
  std::int64_t position_;
  std::int64_t size_;
};

void ScrambleName(std::string& name, TVxRandom& random) {
  for (char& c : name) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ static_cast<std::uint8_t>(random.Next()));
}

std::int64_t ScrambleOffset(std::int64_t offset, std::int32_t version, TVxRandom& random) {
  const std::int32_t draw = random.Next();
  if (!HasWideOffsets(version))
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(offset) ^ static_cast<std::uint32_t>(draw));
  // The high half is XORed with the draw's sign extension.
  const auto mask = static_cast<std::uint64_t>(static_cast<std::int64_t>(draw));
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(offset) ^ mask);
}

}  // namespace

Directory ReadDirectory(TVxBigStream& stream, std::int64_t data_size) {
  Directory directory;
  DirectoryStreamReader in(stream);
  const std::int64_t start = in.Position();

  // The signature is optional: without it the first four bytes are already the entry count.
  std::int32_t count_field = 0;
  {
    std::uint8_t head[4];
    in.Read(head, 4, "entry count");
    if (head[0] == 'v' && head[1] == 'f') {
      // Version and count follow the two signature bytes.
      std::uint8_t rest[6];
      in.Read(rest, 6, "version and entry count");
      std::uint8_t version_bytes[4] = {head[2], head[3], rest[0], rest[1]};
      directory.version = static_cast<std::int32_t>(version_bytes[0] | version_bytes[1] << 8 | version_bytes[2] << 16 |
                                                    static_cast<std::uint32_t>(version_bytes[3]) << 24);
      count_field = static_cast<std::int32_t>(rest[2] | rest[3] << 8 | rest[4] << 16 |
                                              static_cast<std::uint32_t>(rest[5]) << 24);
      if (directory.version < 0 || directory.version > kNewestArchiveVersion)
        in.Fail(start + 2, "unknown archive version " + std::to_string(directory.version));
    } else {
      count_field = static_cast<std::int32_t>(head[0] | head[1] << 8 | head[2] << 16 |
                                              static_cast<std::uint32_t>(head[3]) << 24);
    }
  }
  const std::int32_t version = directory.version;
  const std::int64_t offset_size = HasWideOffsets(version) ? 8 : 4;
  const std::int64_t per_entry = 4 + offset_size + (HasEntryFlags(version) ? 9 : 0) + (HasChecksumKind(version) ? 1 : 0);
  const std::size_t count = in.Count(count_field, per_entry, "entry");

  directory.entries.resize(count);
  TVxRandom name_random(kArchiveSeed);
  for (DirectoryEntry& entry : directory.entries) {
    const std::int64_t at = in.Position();
    const std::int32_t length = in.Little<std::int32_t>("name length");
    if (length > 0) {
      if (length > in.Remaining()) in.Fail(at, "name of " + std::to_string(length) + " bytes runs past the end");
      entry.name.resize(static_cast<std::size_t>(length));
      in.Read(entry.name.data(), length, "name");
    }
    if (IsScrambled(version)) ScrambleName(entry.name, name_random);
  }

  std::vector<std::int64_t> offsets(count + 1);
  TVxRandom offset_random(kArchiveSeed);
  const std::int64_t offsets_at = in.Position();
  for (std::int64_t& offset : offsets) {
    offset = HasWideOffsets(version) ? in.Little<std::int64_t>("offset") : in.Little<std::int32_t>("offset");
    if (IsScrambled(version)) offset = ScrambleOffset(offset, version, offset_random);
  }
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    const std::int64_t previous = i == 0 ? 0 : offsets[i - 1];
    const std::int64_t at = offsets_at + static_cast<std::int64_t>(i) * offset_size;
    if (offsets[i] < previous)
      in.Fail(at, "offset " + std::to_string(i) + " (" + std::to_string(offsets[i]) + ") goes back before " +
                      std::to_string(previous));
    if (offsets[i] > data_size)
      in.Fail(at, "offset " + std::to_string(i) + " (" + std::to_string(offsets[i]) + ") lies past the end of the data (" +
                      std::to_string(data_size) + " bytes)");
  }
  for (std::size_t i = 0; i < count; ++i) directory.entries[i].offset = offsets[i];
  directory.end_offset = offsets[count];

  if (HasEntryFlags(version)) {
    for (DirectoryEntry& entry : directory.entries) entry.stored = in.Little<std::uint8_t>("stored flag") != 0;
    for (DirectoryEntry& entry : directory.entries) entry.time_stamp = in.Little<std::int32_t>("time stamp");
    for (DirectoryEntry& entry : directory.entries) entry.checksum = in.Little<std::uint32_t>("checksum");
  }
  if (HasChecksumKind(version))
    for (DirectoryEntry& entry : directory.entries) entry.checksum_of_uncompressed = in.Little<std::uint8_t>("checksum kind") != 0;
  return directory;
}

void WriteDirectory(ByteWriter& out, const Directory& directory) {
  const std::int32_t version = directory.version;
  if (version > 0) {
    out.Raw(std::string_view("vf"));
    out.I32(version);
  }
  out.I32(static_cast<std::int32_t>(directory.entries.size()));
  TVxRandom name_random(kArchiveSeed);
  for (const DirectoryEntry& entry : directory.entries) {
    std::string name = entry.name;
    if (IsScrambled(version)) ScrambleName(name, name_random);
    out.LString(name);
  }
  TVxRandom offset_random(kArchiveSeed);
  auto write_offset = [&](std::int64_t offset) {
    if (IsScrambled(version)) offset = ScrambleOffset(offset, version, offset_random);
    if (HasWideOffsets(version)) {
      out.I64(offset);
    } else {
      out.I32(static_cast<std::int32_t>(offset));
    }
  };
  for (const DirectoryEntry& entry : directory.entries) write_offset(entry.offset);
  write_offset(directory.end_offset);
  if (HasEntryFlags(version)) {
    for (const DirectoryEntry& entry : directory.entries) out.Bool(entry.stored);
    for (const DirectoryEntry& entry : directory.entries) out.I32(entry.time_stamp);
    for (const DirectoryEntry& entry : directory.entries) out.U32(entry.checksum);
  }
  if (HasChecksumKind(version))
    for (const DirectoryEntry& entry : directory.entries) out.Bool(entry.checksum_of_uncompressed);
}

void WriteDirectoryTables(Bytes& archive, std::size_t directory_start, const Directory& directory) {
  ByteWriter rewritten;
  WriteDirectory(rewritten, directory);
  if (directory_start + rewritten.Size() > archive.size()) throw std::out_of_range("directory past the archive");
  std::memcpy(archive.data() + directory_start, rewritten.Data().data(), rewritten.Size());
}

}  // namespace kest
