#include "objects/wipe_transition.h"

#include <utility>

namespace kest {

TWipeTransition::TWipeTransition(std::unique_ptr<TCustomWipe> wipe) : wipe_(std::move(wipe)) {}

Rect TWipeTransition::Draw() {
  wipe_->SetPosition(elapsed_);
  wipe_->Step();
  return wipe_->Drew() ? wipe_->DestinationRect() : Rect{};
}

TransitionFactory MakeWipeTransitionFactory(ZoominCentre centre) {
  return [centre](const TransitionRequest& request) -> std::unique_ptr<TScreenTransition> {
    if (request.display == nullptr || request.from == nullptr || request.to == nullptr) return nullptr;
    std::unique_ptr<TCustomWipe> wipe = CreateWipe(request.kind, *request.display, *request.from, *request.to);
    if (!wipe) return nullptr;
    if (request.kind == WP_ZOOMIN) {
      wipe->SetParam(0, centre.x);
      wipe->SetParam(1, centre.y);
    }
    wipe->SetReverse(request.reverse);
    if (request.options.param0) wipe->SetParam(0, *request.options.param0);
    if (request.options.param1) wipe->SetParam(1, *request.options.param1);
    if (request.options.mask_name) wipe->SetMaskName(*request.options.mask_name);
    wipe->SetDuration(request.duration);
    wipe->Prepare();
    return std::make_unique<TWipeTransition>(std::move(wipe));
  };
}

}  // namespace kest
