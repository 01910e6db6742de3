#include "shell/pointer_show.h"

#include <algorithm>

#include "core/errors.h"
#include "render/image_codec.h"
#include "vfs/file_manager.h"

namespace kest::shell {

namespace {

platform::PointerImage PointerImageOf(const DecodedImage& image) {
  platform::PointerImage pointer;
  pointer.size = {image.width, image.height};
  pointer.hot_spot = {std::clamp(image.hot_spot_x, 0, std::max(image.width - 1, 0)),
                      std::clamp(image.hot_spot_y, 0, std::max(image.height - 1, 0))};
  const std::size_t count = image.pixels.size();
  pointer.bgra.resize(count * 4);
  const bool masked = image.mask.size() == count;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t rgb = image.pixels[i];
    std::uint8_t alpha = 255;
    if (masked) {
      alpha = image.mask[i];
    } else if (image.key >= 0 && rgb == static_cast<std::uint32_t>(image.key)) {
      alpha = 0;
    }
    std::uint8_t* out = &pointer.bgra[i * 4];
    out[0] = static_cast<std::uint8_t>(rgb);
    out[1] = static_cast<std::uint8_t>(rgb >> 8);
    out[2] = static_cast<std::uint8_t>(rgb >> 16);
    out[3] = alpha;
  }
  return pointer;
}

}  // namespace

PointerFrames PointerFramesOf(const DecodedImage& image) {
  PointerFrames result;
  const auto add = [&](const DecodedImage& frame) {
    result.frames.push_back(PointerImageOf(frame));
    result.delays_ms.push_back(std::max(frame.delay_ms, 1));
    result.cycle_ms += result.delays_ms.back();
  };
  add(image);
  for (const DecodedImage& frame : image.next_frames) add(frame);
  return result;
}

void TPointerShow::Show(const std::string& name, std::int32_t frame_ms, platform::Display& display) {
  if (!have_name_ || name != current_) {
    have_name_ = true;
    current_ = name;
    Load(name, display);
    return;
  }
  if (pointer_.frames.size() < 2) return;
  // An animated cursor steps on the frame clock; a long frame may pass several of its frames,
  // or whole cycles, which are skipped at once.
  time_left_ -= std::max(frame_ms, 0);
  if (time_left_ > 0) return;
  if (-time_left_ >= pointer_.cycle_ms) time_left_ = -(-time_left_ % pointer_.cycle_ms);
  while (time_left_ <= 0) {
    frame_ = (frame_ + 1) % pointer_.frames.size();
    time_left_ += pointer_.delays_ms[frame_];
  }
  display.SetPointerImage(&pointer_.frames[frame_]);
}

const PointerFrames& TPointerShow::Decoded(const std::string& name) {
  const auto known = decoded_.find(name);
  if (known != decoded_.end()) return known->second;
  PointerFrames frames;
  try {
    const Bytes data = files_.ReadFile(name);
    frames = PointerFramesOf(DecodeImageByName(data, name));
  } catch (const KestError& error) {
    if (notice_) notice_(name + ": the standard pointer shows instead: " + error.what());
  }
  return decoded_.emplace(name, std::move(frames)).first->second;
}

void TPointerShow::Load(const std::string& name, platform::Display& display) {
  pointer_ = {};
  frame_ = 0;
  time_left_ = 0;
  if (!name.empty()) pointer_ = Decoded(name);
  if (pointer_.frames.empty()) {
    display.SetPointerImage(nullptr);
    return;
  }
  time_left_ = pointer_.delays_ms[0];
  if (!display.SetPointerImage(&pointer_.frames[0])) {
    if (refused_.insert(name).second && notice_) notice_(name + ": the system refused the pointer picture");
    pointer_ = {};
  }
}

}  // namespace kest::shell
