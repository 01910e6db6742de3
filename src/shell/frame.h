#pragma once
// One frame of play, in the player's order: count the frame time, turn input into object
// events, run the interpreter, update every object, perform pending game loads and saves,
// draw. The windowed loop and the headless runner both drive it; they differ only in where
// time and input come from.
//
// A title shows the authoring system's start-up logo only when the player carries the logo
// resource; this player carries none, so the script runs from the first frame.

#include <cstdint>
#include <functional>
#include <string>

namespace kest {
class TProject;
class TScene;
class TFrameClock;
}  // namespace kest

namespace kest::shell {

enum class FrameResult {
  Skipped,  // the gap since the last frame was too long to count: no frame ran
  Ran,      // the frame ran without drawing (the frame in which a game was loaded)
  Drawn,    // the frame ran and drew: the scene's changed rectangles wait to be presented
  Quit,     // the title asked to quit during the frame
};

class FrameDriver {
 public:
  // `report` receives errors of the end-of-frame requests (CP932).
  FrameDriver(TProject& project, TScene& scene, TFrameClock& clock, std::function<void(const std::string&)> report)
      : project_(project), scene_(scene), clock_(clock), report_(std::move(report)) {}

  // A frame at tick `now`. `queue_input` runs in the input step, after the scene has turned
  // input into events (the headless runner queues scripted events there).
  FrameResult Tick(std::uint32_t now, const std::function<void()>& queue_input = {});

  // Frames whose drawing is skipped (the frame in which a game was loaded).
  std::int32_t SkipDraw = 0;

 private:
  TProject& project_;
  TScene& scene_;
  TFrameClock& clock_;
  std::function<void(const std::string&)> report_;
};

}  // namespace kest::shell
