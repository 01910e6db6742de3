#pragma once
// The pointer over the scene. Objects name a cursor file (".cur", ".ani" or ".ico" in the
// title's archives) in PR_CURSOR; the screen remembers the name of the object under the pointer
// and the title's default ("@Cursor") stands in for objects that name none. This class turns the
// name into the window's pointer when the name changes, shows the standard pointer for no name,
// and steps an animated cursor's frames on the frame clock at their own rates. Each name is read
// and decoded once per run; a file that is missing or cannot
// be read leaves the standard pointer and is reported once.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kest {
class TVrFileManager;
struct DecodedImage;
}  // namespace kest

namespace kest::shell {

// The pointer frames of a decoded cursor: the mask becomes the alpha, a key colour transparent,
// and each frame keeps its delay in milliseconds (at least 1 for animated cursors).
struct PointerFrames {
  std::vector<platform::PointerImage> frames;
  std::vector<std::int32_t> delays_ms;
  std::int64_t cycle_ms = 0;  // the sum of the delays
};
PointerFrames PointerFramesOf(const DecodedImage& image);

class TPointerShow {
 public:
  using Notice = std::function<void(const std::string& cp932_text)>;
  TPointerShow(TVrFileManager& files, Notice notice) : files_(files), notice_(std::move(notice)) {}

  // Once per frame: the cursor file wanted now ("" for the standard pointer) and the frame's
  // duration in milliseconds.
  void Show(const std::string& name, std::int32_t frame_ms, platform::Display& display);

  // The name in effect ("" when the standard pointer shows).
  const std::string& Current() const { return current_; }

 private:
  void Load(const std::string& name, platform::Display& display);
  // The frames of a cursor file, read and decoded at its first use (none when it cannot be).
  const PointerFrames& Decoded(const std::string& name);

  TVrFileManager& files_;
  Notice notice_;
  std::string current_;
  bool have_name_ = false;  // false until the first Show, so the first frame always applies
  PointerFrames pointer_;
  std::size_t frame_ = 0;
  std::int64_t time_left_ = 0;
  std::map<std::string, PointerFrames> decoded_;
  std::set<std::string> refused_;
};

}  // namespace kest::shell
