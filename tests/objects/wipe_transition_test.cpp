// The scene's transitions: the factory's defaults, the zoom-in's centre and a flip's options
// reaching the wipe before it is prepared, and a flip drawn frame by frame through the scene.

#include <gtest/gtest.h>

#include <algorithm>

#include "objects/components/box.h"
#include "objects/components/images.h"
#include "objects/wipe_transition.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

TEST(WipeTransition, FactoryGivesTheZoomCentreThenTheFlipsOptions) {
  TDIBX display(40, 30, 32), from(40, 30, 32), to(40, 30, 32);
  const TransitionFactory factory = MakeWipeTransitionFactory({20, 15});
  TransitionRequest request{WP_ZOOMIN, false, 500, &display, &from, &to, {}};

  auto zoom = factory(request);
  ASSERT_NE(zoom, nullptr);
  TCustomWipe& wipe = static_cast<TWipeTransition&>(*zoom).Wipe();
  EXPECT_EQ(wipe.GetParam(0), 20);
  EXPECT_EQ(wipe.GetParam(1), 15);
  EXPECT_EQ(zoom->Duration(), 500);

  request.options.param1 = 3;  // only the parameter the flip gave replaces the default
  auto partly = factory(request);
  EXPECT_EQ(static_cast<TWipeTransition&>(*partly).Wipe().GetParam(0), 20);
  EXPECT_EQ(static_cast<TWipeTransition&>(*partly).Wipe().GetParam(1), 3);

  request = {WP_MASKFADE, true, 100, &display, &from, &to, {.param0 = 1, .param1 = {}, .mask_name = "m.png"}};
  auto masked = factory(request);
  TCustomWipe& mask = static_cast<TWipeTransition&>(*masked).Wipe();
  EXPECT_EQ(mask.GetParam(0), 2);  // through the mask kinds' clamp
  EXPECT_EQ(mask.MaskName(), "m.png");
  EXPECT_TRUE(mask.Reverse());

  for (const std::int32_t kind : {0, 39, 300}) {
    request.kind = kind;
    EXPECT_EQ(factory(request), nullptr) << kind;
  }
}

TEST(WipeTransition, SceneDrawsEachStepAndPresentsOnlyWhenTheMaskChanged) {
  SceneHarness scene(64, 64);
  scene.list.SetTransitionFactory(MakeWipeTransitionFactory({32, 32}));
  scene.Box("front", {0, 0, 64, 64}, 0x0000FF);
  scene.Box("back", {0, 0, 64, 64}, 0x00FF00, &scene.list.Screen(1));
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(10, 10), 0xFF0000u);

  scene.list.FlipScreens(scene.list.ActiveIndex(), WP_DITHER, false, ForceFlip::Yes, 0, 512);
  EXPECT_TRUE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.list.TransitionDuration(), 512);
  scene.list.SetTransitionElapsed(256);
  scene.RunFrame();
  ASSERT_EQ(scene.list.PresentRects().size(), 1u);
  EXPECT_EQ(scene.list.PresentRects()[0], (Rect{0, 0, 64, 64}));
  int green = 0;
  for (std::int32_t y = 0; y < 64; ++y)
    for (std::int32_t x = 0; x < 64; ++x) green += scene.WindowPixel(x, y) == 0x00FF00u;
  EXPECT_EQ(green, 2048);

  scene.list.SetTransitionElapsed(256);  // same cells: nothing new to show
  scene.RunFrame();
  EXPECT_TRUE(scene.list.PresentRects().empty());

  scene.list.FlipScreens(scene.list.ActiveIndex() ^ 1, 0, false, ForceFlip::Yes, 0, 0);
  scene.RunFrame();
  EXPECT_FALSE(scene.list.TransitionRunning());
  EXPECT_EQ(scene.WindowPixel(10, 10), 0x00FF00u);
  std::string where;
  EXPECT_TRUE(scene.WindowEqualsFullRepaint(&where)) << where;
}

}  // namespace
}  // namespace kest

namespace kest {
namespace {

using testing::SceneHarness;

TEST(ScreenAccess, NamesCompareExactlyAndKeepModesMoveTheRightObjects) {
  const std::vector<std::string> names = {"A", "\x83\x5C", "b c"};
  struct Case {
    std::int32_t keep_mode;
    std::vector<std::string> moved;
  };
  const Case cases[] = {
      {1, {"A", "\x83\x5C", "b c"}},
      {0, {"a", "\x83", "b"}},
      {2, {}},  // no such keep mode: nothing moves
  };
  for (const Case& c : cases) {
    SceneHarness scene(32, 32);
    for (const std::string name : {"A", "a", "\x83\x5C", "\x83", "b c", "b"}) scene.Box(name, {0, 0, 4, 4}, 0);
    TScreenAccess& screens = *scene.list.Screens();
    screens.PutSnapshot();
    screens.MoveToBack(c.keep_mode, names);
    std::vector<std::string> moved;
    for (const TKestControl* child : scene.list.InactiveScreen().Children()) moved.push_back(child->Name());
    std::sort(moved.begin(), moved.end());
    std::vector<std::string> expected = c.moved;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(moved, expected) << c.keep_mode;
    EXPECT_TRUE(scene.list.Objects()->Exists(kSnapshotName));  // the snapshot never moves
    EXPECT_EQ(scene.list.ActiveScreen().Children().back()->Name(), kSnapshotName);
  }
}

TEST(ScreenAccess, TheSnapshotCopiesTheDisplayAndTheEndSparesCabinets) {
  SceneHarness scene(32, 32);
  scene.Box("red", {0, 0, 32, 32}, 0x0000FF);
  scene.RunFrame();
  TScreenAccess& screens = *scene.list.Screens();
  screens.PutSnapshot();
  auto* snapshot = dynamic_cast<TKestImages*>(scene.list.FindNamed(kSnapshotName, nullptr));
  ASSERT_NE(snapshot, nullptr);
  EXPECT_EQ(snapshot->OwnSurface().GetPixel(5, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(snapshot->OwnSurface().transparent_color, -1);

  TKestObject& cabinet = *scene.list.CreateByKind(LT_CABINET);
  cabinet.SetName("cab");
  cabinet.AsControl()->SetParent(&scene.list.ActiveScreen());
  scene.Box("kept", {0, 0, 4, 4}, 0, cabinet.AsControl());
  screens.EndFlip(true);
  EXPECT_FALSE(scene.list.Objects()->Exists(kSnapshotName));
  EXPECT_FALSE(scene.list.Objects()->Exists("red"));
  EXPECT_TRUE(scene.list.Objects()->Exists("cab"));
  EXPECT_TRUE(scene.list.Objects()->Exists("kept"));
}

}  // namespace
}  // namespace kest
