#include "shell/frame.h"

#include "core/errors.h"
#include "scenario/frame_clock.h"
#include "scenario/project.h"
#include "scenario/scene.h"

namespace kest::shell {

FrameResult FrameDriver::Tick(std::uint32_t now, const std::function<void()>& queue_input) {
  if (!clock_.BeginFrame(now)) return FrameResult::Skipped;
  scene_.ProcessInput();
  if (queue_input) queue_input();
  project_.RunScript();
  if (project_.QuitRequested()) return FrameResult::Quit;
  scene_.Update(clock_.LastFrameTime);
  clock_.CountUpdate();
  try {
    if (project_.ProcessPending()) SkipDraw = 1;
  } catch (const KestError& error) {
    report_(error.what());
  }
  if (SkipDraw >= 1) {
    --SkipDraw;
    return FrameResult::Ran;
  }
  scene_.Draw();
  return FrameResult::Drawn;
}

}  // namespace kest::shell
