#pragma once
// Large streams: 64-bit sizes and positions, for archives bigger than a 32-bit position reaches.
// TVxBigFileStream spreads one logical file over numbered segment files ("game.dat",
// "game.001", "game.002", ...) of one gibibyte each; TVxBuffBigStream reads ahead in front of any
// large stream. Negative positions and counts clamp to 0.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "vfs/stream.h"

namespace kest {

class TVxBigStream {
 public:
  virtual ~TVxBigStream() = default;

  // The base answers 0 to everything, like an empty stream.
  virtual std::int64_t GetSize() { return 0; }
  virtual std::int64_t GetPosition() { return 0; }
  virtual void SetPosition(std::int64_t) {}
  virtual std::int64_t Write(const void*, std::int64_t) { return 0; }
  virtual std::int64_t Read(void*, std::int64_t) { return 0; }
  virtual std::string Name() const { return {}; }

  // Copies `count` bytes from `source` at its position (0: all of it, from its start), through a
  // bounded buffer; writes to a segmented file split at segment boundaries by themselves.
  std::int64_t CopyFromBig(TVxBigStream& source, std::int64_t count);
  // Copies `count` bytes from an ordinary stream (0: all of it, from its start).
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
  // Copies `count` bytes from this stream's position into an ordinary stream.
  std::int64_t CopyTo(TStream& target, std::int64_t count);

 protected:
  static constexpr std::int64_t kCopyBufferSize = 1'048'576;
};

// The access bits of a file stream's mode (its low four bits); the next four bits hold the
// sharing, which Linux does not enforce between processes and which is therefore only kept.
inline constexpr std::int32_t kAccessRead = 0;
inline constexpr std::int32_t kAccessWrite = 1;
inline constexpr std::int32_t kAccessReadWrite = 2;
inline constexpr std::int32_t kShareCompatible = 0x00;
inline constexpr std::int32_t kShareExclusive = 0x10;
inline constexpr std::int32_t kShareDenyWrite = 0x20;
inline constexpr std::int32_t kShareDenyRead = 0x30;
inline constexpr std::int32_t kShareDenyNone = 0x40;

class TVxBigFileStream : public TVxBigStream {
 public:
  static constexpr std::int64_t kSegmentSize = std::int64_t{1} << 30;

  // Write access deletes every existing segment first; read access opens the segments that
  // exist, from segment 0 upwards. A missing segment 0 in read access raises
  // "%s:ファイルがありません"-style KestError naming the file. `segment_size` is for tests.
  TVxBigFileStream(std::string file_name, std::int32_t mode, std::int64_t segment_size = kSegmentSize);
  ~TVxBigFileStream() override;

  std::int64_t GetSize() override { return size_; }
  std::int64_t GetPosition() override { return position_; }
  void SetPosition(std::int64_t position) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::string Name() const override { return file_name_; }

  const std::string& FileName() const { return file_name_; }
  std::int32_t Mode() const { return mode_; }
  // "x.dat" → "x.dat" for segment 0, "x.001" for 1, ...
  std::string SegmentFileName(std::size_t index) const;

 private:
  struct Segment {
    int fd = -1;
    std::int64_t size = 0;
  };
  bool OpenSegment(std::size_t index, int flags);
  void RecomputeSize();

  std::string file_name_;
  std::int32_t mode_;
  std::int64_t segment_size_;
  std::int64_t position_ = 0;
  std::int64_t size_ = 0;
  std::vector<Segment> segments_;
};

// A large stream over bytes in memory (sizes within 32 bits).
class TVxBigMemoryStream : public TVxBigStream {
 public:
  TVxBigMemoryStream() = default;
  explicit TVxBigMemoryStream(Bytes bytes, std::string name = {})
      : memory_(std::move(bytes), std::move(name)) {}

  std::int64_t GetSize() override { return memory_.Size(); }
  std::int64_t GetPosition() override { return memory_.Position(); }
  void SetPosition(std::int64_t position) override { memory_.SetPosition(position); }
  std::int64_t Write(const void* buffer, std::int64_t count) override { return memory_.Write(buffer, count); }
  std::int64_t Read(void* buffer, std::int64_t count) override { return memory_.Read(buffer, count); }
  std::string Name() const override { return memory_.Name(); }

  void LoadFromFile(const std::string& file_name);
  // Written whole to a temporary file beside the target, then renamed over it.
  void SaveToFile(const std::string& file_name) const;
  TMemoryStream& Memory() { return memory_; }

 private:
  TMemoryStream memory_;
};

// A read-only large stream over bytes the program carries (a registered resource).
class TVxBigResourceStream : public TVxBigStream {
 public:
  explicit TVxBigResourceStream(ByteSpan bytes, std::string name = {})
      : bytes_(bytes), name_(std::move(name)) {}

  std::int64_t GetSize() override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t GetPosition() override { return position_; }
  void SetPosition(std::int64_t position) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::string Name() const override { return name_; }

 private:
  ByteSpan bytes_;
  std::string name_;
  std::int64_t position_ = 0;
};

// Reads ahead up to 102,400 bytes of a large stream. When destroyed it moves the large stream's
// position back by the bytes it holds but has not handed out, so the large stream ends exactly
// after the last byte read through the buffer.
class TVxBuffBigStream {
 public:
  static constexpr std::int64_t kBufferSize = 102'400;

  explicit TVxBuffBigStream(TVxBigStream& source) : source_(source), buffer_(kBufferSize) {}
  ~TVxBuffBigStream();
  TVxBuffBigStream(const TVxBuffBigStream&) = delete;
  TVxBuffBigStream& operator=(const TVxBuffBigStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count);

 private:
  TVxBigStream& source_;
  Bytes buffer_;
  std::int64_t filled_ = 0;
  std::int64_t consumed_ = 0;
};

}  // namespace kest
