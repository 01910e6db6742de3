#include "vfs/stream.h"

#include <algorithm>
#include <cstring>

#include "core/errors.h"

namespace kest {

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = std::max<std::int64_t>(Size() - position_, 0);
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, available);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<std::size_t>(position_ + count);
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_ : Size();
  position_ = std::clamp<std::int64_t>(base + offset, 0, Size());
  return position_;
}

Bytes TMemoryStream::TakeData() {
  position_ = 0;
  return std::move(bytes_);
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

}  // namespace kest
