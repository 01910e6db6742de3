#include "vfs/big_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "vfs/atomic_file.h"
#include "vfs/messages.h"

namespace kest {

namespace {

std::int64_t NonNegative(std::int64_t value) { return std::max<std::int64_t>(value, 0); }

}  // namespace

// Copies up to `count` bytes through a buffer of at most kCopyBufferSize bytes, stopping when
// the source runs dry or the target takes less than it was given.
template <typename Read, typename Write>
std::int64_t CopyPieces(std::int64_t count, std::int64_t buffer_size, Read read, Write write) {
  Bytes buffer(static_cast<std::size_t>(std::min(NonNegative(count), buffer_size)));
  std::int64_t copied = 0;
  while (copied < count) {
    const std::int64_t got = read(buffer.data(), std::min(count - copied, buffer_size));
    if (got <= 0) break;
    const std::int64_t written = write(buffer.data(), got);
    copied += written;
    if (written < got) break;
  }
  return copied;
}

std::int64_t TVxBigStream::CopyFromBig(TVxBigStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  return CopyPieces(count, kCopyBufferSize, [&](void* b, std::int64_t n) { return source.Read(b, n); },
                    [&](const void* b, std::int64_t n) { return Write(b, n); });
}

std::int64_t TVxBigStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  return CopyPieces(count, kCopyBufferSize, [&](void* b, std::int64_t n) { return source.Read(b, n); },
                    [&](const void* b, std::int64_t n) { return Write(b, n); });
}

std::int64_t TVxBigStream::CopyTo(TStream& target, std::int64_t count) {
  return CopyPieces(count, kCopyBufferSize, [&](void* b, std::int64_t n) { return Read(b, n); },
                    [&](const void* b, std::int64_t n) { return target.Write(b, n); });
}

// --- segmented files ---------------------------------------------------------------------------

TVxBigFileStream::TVxBigFileStream(std::string file_name, std::int32_t mode, std::int64_t segment_size)
    : file_name_(std::move(file_name)), mode_(mode), segment_size_(std::max<std::int64_t>(segment_size, 1)) {
  const std::int32_t access = mode & 0x0F;
  if (access != kAccessRead && access != kAccessReadWrite) {
    // Write access starts a new file: every old segment goes, new ones appear as written.
    for (std::size_t i = 0; std::remove(SegmentFileName(i).c_str()) == 0; ++i) {
    }
    return;
  }
  const int flags = access == kAccessRead ? O_RDONLY : O_RDWR;
  for (std::size_t i = 0; OpenSegment(i, flags); ++i) {
    // A segment shorter than a full one ends the data; anything after it is unreachable.
    if (segments_.back().size < segment_size_) break;
  }
  if (segments_.empty())
    throw KestError(FillMessage(Message(VfsMessage::FileMissing), {cp932::FromUtf8Lenient(file_name_)}));
  RecomputeSize();
}

TVxBigFileStream::~TVxBigFileStream() {
  const std::int32_t access = mode_ & 0x0F;
  for (const Segment& segment : segments_) {
    if (access != kAccessRead) ::fsync(segment.fd);
    ::close(segment.fd);
  }
}

std::string TVxBigFileStream::SegmentFileName(std::size_t index) const {
  if (index == 0) return file_name_;
  const std::size_t slash = file_name_.rfind('/');
  const std::size_t dot = file_name_.rfind('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%.3zu", index);
  return (has_extension ? file_name_.substr(0, dot) : file_name_) + suffix;
}

bool TVxBigFileStream::OpenSegment(std::size_t index, int flags) {
  const int fd = ::open(SegmentFileName(index).c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  // Bytes past a full segment can never be addressed: the next position belongs to the next file.
  segments_.push_back({fd, std::min<std::int64_t>(info.st_size, segment_size_)});
  return true;
}

void TVxBigFileStream::RecomputeSize() {
  size_ = 0;
  for (const Segment& segment : segments_) size_ += segment.size;
}

void TVxBigFileStream::SetPosition(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, size_);
}

std::int64_t TVxBigFileStream::Write(const void* buffer, std::int64_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::int64_t written = 0;
  while (written < count) {
    const auto index = static_cast<std::size_t>(position_ / segment_size_);
    const std::int64_t offset = position_ % segment_size_;
    // Segments are created in order; a write can only reach the one after the last.
    if (index > segments_.size()) break;
    if (index == segments_.size()) {
      const int fd = ::open(SegmentFileName(index).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0) break;
      segments_.push_back({fd, 0});
    }
    Segment& segment = segments_[index];
    const std::int64_t piece = std::min(segment_size_ - offset, count - written);
    const ssize_t done = ::pwrite(segment.fd, bytes + written, static_cast<std::size_t>(piece), offset);
    if (done <= 0) break;
    written += done;
    position_ += done;
    segment.size = std::max(segment.size, offset + done);
    RecomputeSize();
  }
  return written;
}

std::int64_t TVxBigFileStream::Read(void* buffer, std::int64_t count) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::int64_t read = 0;
  while (read < count) {
    const auto index = static_cast<std::size_t>(position_ / segment_size_);
    if (index >= segments_.size()) break;
    const Segment& segment = segments_[index];
    const std::int64_t offset = position_ % segment_size_;
    const std::int64_t piece = std::min(segment.size - offset, count - read);
    if (piece <= 0) break;  // a short segment: the data ends here
    const ssize_t done = ::pread(segment.fd, bytes + read, static_cast<std::size_t>(piece), offset);
    if (done <= 0) break;
    read += done;
    position_ += done;
  }
  return read;
}

// --- memory and resources ----------------------------------------------------------------------

void TVxBigMemoryStream::LoadFromFile(const std::string& file_name) {
  TVxBigFileStream file(file_name, kAccessRead | kShareDenyWrite);
  Bytes bytes(static_cast<std::size_t>(file.GetSize()));
  const std::int64_t read = file.Read(bytes.data(), file.GetSize());
  bytes.resize(static_cast<std::size_t>(read));
  memory_ = TMemoryStream(std::move(bytes), file_name);
}

void TVxBigMemoryStream::SaveToFile(const std::string& file_name) const {
  WriteFileAtomically(file_name, memory_.Data());
}

void TVxBigResourceStream::SetPosition(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, GetSize());
}

std::int64_t TVxBigResourceStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, GetSize() - position_);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

// --- read buffer -------------------------------------------------------------------------------

TVxBuffBigStream::~TVxBuffBigStream() {
  const std::int64_t unconsumed = filled_ - consumed_;
  if (unconsumed > 0) source_.SetPosition(source_.GetPosition() - unconsumed);
}

std::int64_t TVxBuffBigStream::Read(void* buffer, std::int64_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::int64_t handed = 0;
  while (handed < count) {
    if (consumed_ == filled_) {
      filled_ = std::max<std::int64_t>(source_.Read(buffer_.data(), kBufferSize), 0);
      consumed_ = 0;
      if (filled_ == 0) break;
    }
    const std::int64_t piece = std::min(filled_ - consumed_, count - handed);
    std::memcpy(out + handed, buffer_.data() + consumed_, static_cast<std::size_t>(piece));
    consumed_ += piece;
    handed += piece;
  }
  return handed;
}

}  // namespace kest
