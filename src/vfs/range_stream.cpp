#include "vfs/range_stream.h"

#include <algorithm>

namespace kest {

TRangeStream::TRangeStream(std::unique_ptr<TVxBigStream> source, std::int64_t start, std::int64_t length)
    : TRangeStream(std::move(source), start, length, ZeroLength::IsEmpty) {}

TRangeStream::TRangeStream(std::unique_ptr<TVxBigStream> source, std::int64_t start, std::int64_t length,
                           ZeroLength zero)
    : source_(std::move(source)),
      range_start_(std::max<std::int64_t>(start, 0)),
      range_length_(length == 0 && zero == ZeroLength::MeansWhole ? source_->GetSize()
                                                                  : std::max<std::int64_t>(length, 0)) {
  source_->SetPosition(range_start_);
}

std::int64_t TRangeStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t target = 0;
  switch (origin) {
    case SeekOrigin::Begin: target = range_start_ + offset; break;
    case SeekOrigin::Current: target = source_->GetPosition() + offset; break;
    case SeekOrigin::End: target = range_start_ + range_length_ + offset; break;
  }
  target = std::clamp(target, range_start_, range_start_ + range_length_);
  source_->SetPosition(target);
  return source_->GetPosition() - range_start_;
}

std::int64_t TRangeStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t left = range_start_ + range_length_ - source_->GetPosition();
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(left, 0));
  if (n == 0) return 0;
  return source_->Read(buffer, n);
}

TFileRangeStream::TFileRangeStream(const std::string& file_name, std::int64_t length, std::int64_t start)
    : TRangeStream(std::make_unique<TVxBigFileStream>(file_name, kAccessRead | kShareDenyWrite), start, length,
                   ZeroLength::MeansWhole) {}

TResourceRangeStream::TResourceRangeStream(ByteSpan resource, std::string name, std::int64_t length,
                                           std::int64_t start)
    : TRangeStream(std::make_unique<TVxBigResourceStream>(resource, std::move(name)), start, length,
                   ZeroLength::MeansWhole) {}

}  // namespace kest
