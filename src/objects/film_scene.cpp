#include "objects/film_scene.h"

#include "core/arith.h"
#include "images/motion_interp.h"
#include "objects/scene_list.h"

namespace kest {

namespace {

std::int32_t TicksToMs(std::int64_t ticks) {
  return SaturateToInt32(static_cast<long double>(ticks) * kMotionTickMs);
}

}  // namespace

void TFilmSceneList::StartTransition(const FilmTransitionStart& start) {
  TransitionOptions options;
  options.param0 = start.param0;
  options.param1 = start.param1;
  if (!start.mask_name.empty()) options.mask_name = start.mask_name;
  list_.FlipScreens(start.plane, start.kind, start.reverse, ForceFlip::Yes, TicksToMs(start.step),
                    TicksToMs(start.duration), options);
}

void TFilmSceneList::SetTransitionStep(std::int64_t step) { list_.SetTransitionElapsed(TicksToMs(step)); }

void TFilmSceneList::ShowPlane(int plane) {
  if (list_.ActiveIndex() == (plane & 1) && !list_.TransitionRunning()) return;
  list_.FlipScreens(plane, 0, false, ForceFlip::Yes, 0, 0);
}

}  // namespace kest
