#pragma once
// Ordinary streams: the byte sources the loaders and decoders read from, with 64-bit positions.
// TMemoryStream holds its bytes; range streams (range_stream.h) show one region of a large
// stream, such as an archive entry, without copying it.

#include <cstdint>
#include <string>

#include "core/byte_reader.h"

namespace kest {

enum class SeekOrigin { Begin, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;

  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
  virtual std::int64_t Size() = 0;
  // Names the data in error messages; empty when there is nothing better to say.
  virtual std::string Name() const { return {}; }

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
  std::int64_t Remaining() { return Size() - Position(); }
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(Bytes bytes, std::string name = {})
      : bytes_(std::move(bytes)), name_(std::move(name)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // Positions clamp to [0, size]; a memory stream grows only by writing.
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  std::string Name() const override { return name_; }

  const Bytes& Data() const { return bytes_; }
  Bytes TakeData();
  void Clear();

 private:
  Bytes bytes_;
  std::string name_;
  std::int64_t position_ = 0;
};

}  // namespace kest
