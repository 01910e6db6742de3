// Reading motion files: the signature, then the header and the tracks through the one
// description in motion_sync.h.

#include <bit>
#include <cmath>
#include <string>

#include "core/errors.h"
#include "images/motion.h"
#include "images/motion_sync.h"
#include "vfs/file_manager.h"

namespace kest {

namespace {

class ReadIO {
 public:
  ReadIO(ByteReader& in, std::int32_t version) : in_(in), version_(version) {}

  bool Reading() const { return true; }
  std::int32_t Version() const { return version_; }

  void Int(std::int32_t& value) { value = in_.I32(); }
  void Byte(std::uint8_t& value) { value = in_.U8(); }
  void Pair(MotionPoint& point) {
    point.x = in_.I32();
    point.y = in_.I32();
  }
  // 8-byte IEEE reals; a value that is not finite would poison every size it scales, so it
  // reads as 1.0 (the natural size).
  void Real(double& value) {
    value = std::bit_cast<double>(in_.U64());
    if (!std::isfinite(value)) value = 1.0;
  }
  // An empty name (length 0 or less) ends nothing: the record's later fields follow as usual.
  void Name(std::string& name) { name = in_.LString(); }
  void Text(std::string& text) { text = in_.LString(); }
  // Up to 106 a tick was half as long as now.
  void Time(std::int64_t& value) {
    value = in_.I32();
    if (version_ <= 106) value *= 2;
  }
  // Before 108 the first sound value was stored ten times finer and 10,000 lower.
  void OldSound(std::int32_t& value) {
    const std::int32_t stored = in_.I32();
    value = version_ <= 107 ? stored / 10 + 1000 : stored;
  }
  void ExtraInt(std::vector<std::int32_t>& list) { list.push_back(in_.I32()); }
  void ExtraByte(std::vector<std::uint8_t>& list) { list.push_back(in_.U8()); }
  void ExtraPair(std::vector<MotionPoint>& list) {
    MotionPoint point;
    Pair(point);
    list.push_back(point);
  }
  void ExtraString(std::vector<std::string>& list) { list.push_back(in_.LString()); }

 private:
  ByteReader& in_;
  std::int32_t version_;
};

}  // namespace

MotionFile ReadMotionFile(ByteSpan data, const std::string& file_name) {
  ByteReader in(data, file_name);
  const std::optional<MotionSignature> signature = ProbeMotionSignature(data);
  if (!signature) in.Fail("not a motion file: the signature is neither KestCinema nor KestMotion with a version");
  in.Skip(kMotionSignatureSize);

  MotionFile file;
  file.header.type = signature->type;
  file.header.version = signature->version;
  ReadIO io(in, signature->version);
  motion_sync::Header(io, file.header);
  const std::size_t count = in.Count(in.I32(), motion_sync::kMinTrackBytes, "track count");
  file.tracks.reserve(count);

  const std::string folder = TVrFileManager::ParentFolder(file_name);
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t kind_offset = in.Position();
    MotionTrackRecord& track = file.tracks.emplace_back();
    track.kind_byte = in.U8();
    const std::uint8_t kind = track.kind_byte & 0x7F;
    if (kind >= kTrackKindCount) {
      // No track of that kind exists, so nothing tells where the next record begins.
      in.Seek(kind_offset);
      in.Fail("track " + std::to_string(index) + ": kind " + std::to_string(kind) + " is not a track kind (0..7)");
    }
    track.kind = static_cast<TrackKind>(kind);
    motion_sync::Track(io, track);
    track.resolved_name = ResolveMotionName(folder, track.name);
  }
  return file;
}

}  // namespace kest
