// What every part of the motion code shares: the kinds' names and field groups, the signature,
// and how names in a motion file find the title's files.

#include <array>

#include "images/motion.h"
#include "vfs/real_files.h"

namespace kest {

namespace {

struct KindRow {
  std::string_view name;
  TrackKindTraits traits;
};

// position, image part, crop, extent, sound, picture
constexpr std::array<KindRow, kTrackKindCount> kKinds{{
    {"image", {true, true, true, false, false, true}},
    {"label", {true, true, true, false, false, false}},
    {"box", {true, false, true, true, false, false}},
    {"transition", {false, false, false, false, false, false}},
    {"sound", {false, false, false, false, true, false}},
    {"tile", {true, true, true, false, false, true}},
    {"particle", {true, false, true, true, false, false}},
    {"fire", {true, false, true, true, false, false}},
}};

constexpr std::string_view kCinemaTag = "KestCinema";
constexpr std::string_view kMotionTag = "KestMotion";

}  // namespace

std::string_view TrackKindName(TrackKind kind) { return kKinds.at(static_cast<std::size_t>(kind)).name; }

const TrackKindTraits& TraitsOf(TrackKind kind) { return kKinds.at(static_cast<std::size_t>(kind)).traits; }

std::optional<MotionSignature> ProbeMotionSignature(ByteSpan data) {
  if (data.size() < kMotionSignatureSize) return std::nullopt;
  const std::string_view tag(reinterpret_cast<const char*>(data.data()), kCinemaTag.size());
  MotionSignature signature{MotionFileType::Motion, 0};
  if (tag == kCinemaTag) {
    signature.type = MotionFileType::Cinema;
  } else if (tag != kMotionTag) {
    return std::nullopt;
  }
  for (std::size_t i = kCinemaTag.size(); i < kMotionSignatureSize; ++i) {
    const std::uint8_t digit = data[i];
    if (digit < '0' || digit > '9') return std::nullopt;
    signature.version = signature.version * 10 + (digit - '0');
  }
  return signature;
}

std::string ResolveMotionName(std::string_view folder, std::string_view name) {
  if (name.empty()) return {};
  // A leading "\" or a drive letter names a file from the root; the root here is the title's
  // own files, so the drive is dropped and the name starts there. ':' is never a trail byte of
  // a double-byte character, so the test is safe on CP932.
  const bool from_root = name[0] == '\\' || name[0] == '/' || (name.size() >= 2 && name[1] == ':');
  if (name.size() >= 2 && name[1] == ':') name.remove_prefix(2);
  std::vector<std::string> parts;
  const auto append = [&parts](std::string_view path) {
    for (std::string& part : real_files::SplitName(path)) {
      if (part == "..") {
        // Climbing stops at the root.
        if (!parts.empty()) parts.pop_back();
      } else {
        parts.push_back(std::move(part));
      }
    }
  };
  if (!from_root) append(folder);
  append(name);
  std::string result;
  for (const std::string& part : parts) {
    if (!result.empty()) result += '\\';
    result += part;
  }
  return result;
}

}  // namespace kest
