// Writing motion files, for tests, fuzz seeds and the demo: the same description as the reader
// (motion_sync.h), with the loaded values turned back into the stored ones of the version.

#include <algorithm>
#include <bit>
#include <limits>
#include <map>

#include "core/byte_writer.h"
#include "images/motion.h"
#include "images/motion_sync.h"

namespace kest {

namespace {

std::int32_t Saturate(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

class WriteIO {
 public:
  WriteIO(ByteWriter& out, std::int32_t version, MotionWriteValues values)
      : out_(out), version_(version), loaded_(values == MotionWriteValues::Loaded) {}

  bool Reading() const { return false; }
  std::int32_t Version() const { return version_; }
  // The unnamed arrays are written from their start for every record.
  void BeginRecord() { cursors_.clear(); }

  void Int(std::int32_t& value) { out_.I32(value); }
  void Byte(std::uint8_t& value) { out_.U8(value); }
  void Pair(MotionPoint& point) {
    out_.I32(point.x);
    out_.I32(point.y);
  }
  void Real(double& value) { out_.U64(std::bit_cast<std::uint64_t>(value)); }
  void Name(std::string& name) { out_.LString(name); }
  void Text(std::string& text) { out_.LString(text); }
  void Time(std::int64_t& value) { out_.I32(Saturate(loaded_ && version_ <= 106 ? value / 2 : value)); }
  void OldSound(std::int32_t& value) {
    const std::int64_t stored = loaded_ && version_ <= 107 ? (static_cast<std::int64_t>(value) - 1000) * 10 : value;
    out_.I32(Saturate(stored));
  }
  void ExtraInt(std::vector<std::int32_t>& list) { out_.I32(Next(list, 0)); }
  void ExtraByte(std::vector<std::uint8_t>& list) { out_.U8(Next(list, 1)); }
  void ExtraPair(std::vector<MotionPoint>& list) {
    const MotionPoint point = Next(list, 2);
    out_.I32(point.x);
    out_.I32(point.y);
  }
  void ExtraString(std::vector<std::string>& list) { out_.LString(Next(list, 3)); }

 private:
  // The next entry of an unnamed array, or its type's zero when the array is shorter.
  template <typename T>
  T Next(const std::vector<T>& list, int array) {
    std::size_t& cursor = cursors_[array];
    return cursor < list.size() ? list[cursor++] : (++cursor, T{});
  }

  ByteWriter& out_;
  std::int32_t version_;
  bool loaded_;
  std::map<int, std::size_t> cursors_;
};

}  // namespace

Bytes WriteMotionFile(const MotionFile& file, MotionWriteValues values) {
  ByteWriter out;
  const MotionHeader& header = file.header;
  out.Raw(header.type == MotionFileType::Cinema ? std::string_view("KestCinema") : std::string_view("KestMotion"));
  const std::int32_t version = std::clamp(header.version, 0, 999);
  const char digits[3] = {static_cast<char>('0' + version / 100), static_cast<char>('0' + version / 10 % 10),
                          static_cast<char>('0' + version % 10)};
  out.Raw(std::string_view(digits, 3));

  WriteIO io(out, version, values);
  MotionHeader h = header;
  motion_sync::Header(io, h);
  out.I32(Saturate(static_cast<std::int64_t>(file.tracks.size())));
  for (const MotionTrackRecord& track : file.tracks) {
    MotionTrackRecord copy = track;
    out.U8((copy.kind_byte & 0x7F) == static_cast<std::uint8_t>(copy.kind) ? copy.kind_byte
                                                                              : static_cast<std::uint8_t>(copy.kind));
    io.BeginRecord();
    motion_sync::Track(io, copy);
  }
  return out.Take();
}

}  // namespace kest
