#pragma once
// A read-only ordinary stream over the region [RangeStart, RangeStart + RangeLength) of a large
// stream it owns: an archive entry stored uncompressed is read, or played, in place.

#include <cstdint>
#include <memory>
#include <string>

#include "vfs/big_stream.h"
#include "vfs/stream.h"

namespace kest {

class TRangeStream : public TStream {
 public:
  TRangeStream(std::unique_ptr<TVxBigStream> source, std::int64_t start, std::int64_t length);

  // Positions are relative to RangeStart and clamp to [0, RangeLength].
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  // Reads at most up to the end of the range.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  // The range is read-only: nothing is written.
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Size() override { return range_length_; }
  std::string Name() const override { return source_->Name(); }

  std::int64_t RangeStart() const { return range_start_; }
  std::int64_t RangeLength() const { return range_length_; }

 protected:
  enum class ZeroLength { IsEmpty, MeansWhole };
  TRangeStream(std::unique_ptr<TVxBigStream> source, std::int64_t start, std::int64_t length, ZeroLength zero);

 private:
  std::unique_ptr<TVxBigStream> source_;
  std::int64_t range_start_;
  std::int64_t range_length_;
};

// A range of a (possibly segmented) file, opened for reading; a length of 0 means the whole file.
class TFileRangeStream : public TRangeStream {
 public:
  TFileRangeStream(const std::string& file_name, std::int64_t length, std::int64_t start);
};

// A range of bytes the program carries.
class TResourceRangeStream : public TRangeStream {
 public:
  TResourceRangeStream(ByteSpan resource, std::string name, std::int64_t length, std::int64_t start);
};

}  // namespace kest
