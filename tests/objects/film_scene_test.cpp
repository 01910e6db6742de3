// A motion file's transition tracks on a real scene list with the scene's own transitions.

#include <gtest/gtest.h>

#include "images/film_manager.h"
#include "objects/components/box.h"
#include "objects/film_scene.h"
#include "objects/wipe_transition.h"
#include "render/wipes/wipe.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

MotionTrackRecord TransitionTrack(std::int32_t kind, std::int64_t start, std::int64_t length, std::int32_t parent) {
  MotionTrackRecord r;
  r.kind = TrackKind::Transition;
  r.kind_byte = static_cast<std::uint8_t>(TrackKind::Transition);
  r.transition_kind = static_cast<std::uint8_t>(kind);
  r.start = start;
  r.length = length;
  r.parent = parent;
  return r;
}

int CountPixels(SceneHarness& scene, std::uint32_t colour) {
  int count = 0;
  for (std::int32_t y = 0; y < 64; ++y)
    for (std::int32_t x = 0; x < 64; ++x) count += scene.WindowPixel(x, y) == colour;
  return count;
}

TEST(FilmScene, TransitionTracksSwitchTheScreensBackAndForth) {
  SceneHarness scene(64, 64);
  scene.list.SetTransitionFactory(MakeWipeTransitionFactory({32, 32}));
  scene.Box("front", {0, 0, 64, 64}, 0x0000FF);
  scene.Box("back", {0, 0, 64, 64}, 0x00FF00, &scene.list.Screen(1));
  scene.RunFrame();

  // Two dissolves of 32 ticks, the second chained to the first.
  MotionFile file;
  file.tracks = {TransitionTrack(WP_DITHER, 10, 32, -1), TransitionTrack(WP_DITHER, 0, 32, 0)};
  TFilmManager film;
  ASSERT_TRUE(film.Load(WriteMotionFile(file), "fx.kmt"));
  TFilmSceneList adapter(scene.list);
  film.SetScene(&adapter);

  film.Step(0);
  scene.RunFrame();
  EXPECT_FALSE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.list.ActiveIndex(), 0);

  film.Step(26);  // half way through the first
  EXPECT_TRUE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.list.TransitionDuration(), 32 * 16);
  scene.RunFrame();
  EXPECT_EQ(CountPixels(scene, 0x00FF00), 2048);
  film.Step(41);
  scene.RunFrame();
  EXPECT_GT(CountPixels(scene, 0x00FF00), 2048);

  // The second runs back from screen 1 to screen 0.
  film.Step(42);
  EXPECT_TRUE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.list.ActiveIndex(), 1);
  film.Step(58);
  scene.RunFrame();
  // It starts from the picture on display, where the first had not quite finished.
  EXPECT_GE(CountPixels(scene, 0xFF0000), 2048);

  film.Step(80);  // both ended: screen 0 again, no transition
  scene.RunFrame();
  EXPECT_FALSE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.list.ActiveIndex(), 0);
  EXPECT_EQ(CountPixels(scene, 0xFF0000), 64 * 64);
  std::string where;
  EXPECT_TRUE(scene.WindowEqualsFullRepaint(&where)) << where;

  // Later steps leave the shown screen alone: nothing is repainted.
  film.Step(81);
  scene.RunFrame();
  EXPECT_TRUE(scene.list.PresentRects().empty());
}

// What a track hands the scene's transition factory: its kind, direction, times in milliseconds,
// parameters and the mask resolved against the motion file's folder.
TEST(FilmScene, TheTrackSetsUpTheTransition) {
  SceneHarness scene(32, 32);
  std::vector<TransitionRequest> requests;
  const TransitionFactory wipes = MakeWipeTransitionFactory({16, 16});
  scene.list.SetTransitionFactory([&](const TransitionRequest& request) {
    requests.push_back(request);
    return wipes(request);
  });
  MotionTrackRecord track = TransitionTrack(WP_MASKFADE, 5, 20, -1);
  track.reverse = 1;
  track.param0 = 3;
  track.param1 = -4;
  track.name = "..\\masks\\m.png";
  MotionFile file;
  file.tracks = {track};
  TFilmManager film;
  ASSERT_TRUE(film.Load(WriteMotionFile(file), "fx\\film\\a.kmt"));
  TFilmSceneList adapter(scene.list);
  film.SetScene(&adapter);
  film.Step(9);
  ASSERT_EQ(requests.size(), 1u);
  const TransitionRequest& r = requests[0];
  EXPECT_EQ(r.kind, WP_MASKFADE);
  EXPECT_TRUE(r.reverse);
  EXPECT_EQ(r.duration, 20 * 16);
  EXPECT_EQ(r.options.param0, 3);
  EXPECT_EQ(r.options.param1, -4);
  EXPECT_EQ(r.options.mask_name, "fx\\masks\\m.png");
  EXPECT_EQ(r.from, &scene.list.Screen(0).OwnSurface());
  // The step goes on in the same transition.
  film.Step(10);
  EXPECT_EQ(requests.size(), 1u);
  EXPECT_TRUE(scene.list.TransitionRunning());
}

}  // namespace
}  // namespace kest
