#include "objects/components/motion.h"

#include <algorithm>
#include <cmath>

#include "objects/object.h"
#include "objects/prop_value.h"
#include "objects/property_table.h"

namespace kest {

namespace {

// The nearest integer, halves to even.
std::int64_t Nearest(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<std::int64_t>(std::nearbyint(std::clamp(value, -9.0e15, 9.0e15)));
}

}  // namespace

TKestMotion::TKestMotion(TKestControl& control, std::unique_ptr<TMotionFrames> frames)
    : control_(control), frames_(std::move(frames)) {
  // A motion without frames has ended before it starts.
  ended_ = FrameCount() <= 0;
}

TKestMotion::~TKestMotion() = default;

std::int32_t TKestMotion::FrameCount() const { return std::max(0, frames_->FrameCount()); }

void TKestMotion::Restart() {
  elapsed_ = 0;
  ended_ = FrameCount() <= 0;
  countdown_ = 2;
}

void TKestMotion::SeekFrame(std::int32_t index) { elapsed_ = Nearest(index * kMotionFrameMs); }

void TKestMotion::Reapply() {
  if (countdown_ < 2) frames_->Apply(control_, frame_);
}

bool TKestMotion::Step(std::int32_t frame_time, bool repeat) {
  const bool relative = frames_->Relative();
  bool moved = false;
  // A script moved the control: a relative motion follows it, and plays on if it had ended.
  if (countdown_ <= 0 && (control_.Left() != last_left_ || control_.Top() != last_top_) && relative) {
    frames_->SetAnchor(control_.Left(), control_.Top());
    ended_ = FrameCount() <= 0;
    moved = true;
  }
  if (ended_) return false;
  const bool fresh = countdown_ == 2;
  if (fresh) {
    if (relative)
      frames_->SetAnchor(control_.Left(), control_.Top());
    else
      frames_->SetAnchor(0, 0);
    frames_->SetBasePriority(control_.Priority());
    last_left_ = control_.Left();
    last_top_ = control_.Top();
  }
  // The clock runs from the third update on, so the first frame shows for two updates whatever
  // the first frame times are.
  const bool ani_paused = AsBool(control_.ReadProperty(PR_ANIPAUSED).value_or(false));
  if (countdown_ <= 0 && !ani_paused) elapsed_ += std::max<std::int32_t>(frame_time, 0);

  const std::int32_t previous = frame_;
  const std::int64_t count = FrameCount();
  std::int64_t frame = Nearest(static_cast<double>(elapsed_) / kMotionFrameMs);
  bool ended_now = false;
  if (frame >= count) {
    if (repeat) {
      const std::int64_t loop_start = std::clamp<std::int64_t>(frames_->LoopStart(), 0, count - 1);
      frame = std::min(frame % count + loop_start, count - 1);
      elapsed_ = Nearest(static_cast<double>(frame) * kMotionFrameMs);
    } else {
      frame = count - 1;
      ended_ = true;
      ended_now = true;
    }
  }
  frame_ = static_cast<std::int32_t>(frame);
  if (fresh || frame_ != previous || moved) frames_->Apply(control_, frame_);
  if (countdown_ > 0) --countdown_;
  last_left_ = control_.Left();
  last_top_ = control_.Top();
  return ended_now;
}

}  // namespace kest
