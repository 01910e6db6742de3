#pragma once
// The scene list's transitions: the render library's wipes behind the scene's seam. Each frame
// the scene sets the elapsed time, and the wipe draws the step at that position into the display
// surface; the whole screen is presented when it drew, nothing when its mask had not changed.

#include <cstdint>
#include <memory>

#include "objects/scene_list.h"
#include "render/wipes/wipe.h"

namespace kest {

class TWipeTransition final : public TScreenTransition {
 public:
  // The wipe must be set up (parameters, reverse, mask name) and have its duration.
  explicit TWipeTransition(std::unique_ptr<TCustomWipe> wipe);
  std::int32_t Duration() const override { return wipe_->Duration(); }
  void SetElapsed(std::int32_t elapsed) override { elapsed_ = elapsed; }
  Rect Draw() override;
  TCustomWipe& Wipe() { return *wipe_; }

 private:
  std::unique_ptr<TCustomWipe> wipe_;
  std::int32_t elapsed_ = 0;
};

// The zoom-in's point when a flip does not give one: the scene's centre, set when the project
// loads.
struct ZoominCentre {
  std::int32_t x = 0, y = 0;
};

// Makes the wipe of the request's kind (none outside 1..38) with its defaults, the zoom-in's
// centre, then the request's parameters and mask name, and prepares it.
TransitionFactory MakeWipeTransitionFactory(ZoominCentre centre);

}  // namespace kest
