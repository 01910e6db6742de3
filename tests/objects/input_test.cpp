// Keys with their repeat, focus, and mouse dispatch.

#include <gtest/gtest.h>

#include "objects/components/box.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

constexpr std::uint8_t kVkSpace = 0x20;

// Runs a frame and answers the event ids the frame queued, then empties the queue as the
// interpreter would after running them.
std::vector<int> FrameEvents(SceneHarness& scene) {
  scene.RunFrame();
  std::vector<int> ids;
  for (std::size_t i = 0; i < scene.list.Events().Count(); ++i) ids.push_back(scene.list.Events()[i].EventId);
  scene.list.Events().Clear();
  return ids;
}

TEST(Keys, RepeatFiresAfter300MsThenEvery50MsOnTheFrameClock) {
  SceneHarness scene(40, 40, 16);
  TKestBox& box = scene.Box("b", {0, 0, 10, 10}, 0);
  box.SetHandleKey(true);
  for (std::uint8_t id : {PR_ONKEYDOWN, PR_ONKEYUP, PR_ONKEYREPEAT})
    SetProp(box, id, std::string("keys"));
  scene.RunFrame();  // the focus goes to the box
  ASSERT_EQ(scene.list.FocusObject(), &box);
  scene.list.Events().Clear();

  scene.list.SetKey(kVkSpace, true);
  scene.list.PostKeyPress(kVkSpace);
  std::vector<int> repeat_frames, down_frames, pressed_frames, pressed_or_repeated_frames;
  for (int frame = 1; frame <= 34; ++frame) {
    for (int id : FrameEvents(scene)) {
      if (id == PR_ONKEYREPEAT) repeat_frames.push_back(frame);
      if (id == PR_ONKEYDOWN) down_frames.push_back(frame);
    }
    if (scene.list.KeyPressed(kVkSpace)) pressed_frames.push_back(frame);
    if (scene.list.KeyPressedOrRepeated(kVkSpace)) pressed_or_repeated_frames.push_back(frame);
  }
  // 16 ms frames: the timer passes 300 ms after frame 19, then 50 ms after frames 22, 25
  // (exactly 0 counts), 29 and 32; each fires in the next frame.
  EXPECT_EQ(repeat_frames, (std::vector<int>{1, 20, 23, 26, 30, 33}));
  EXPECT_EQ(pressed_or_repeated_frames, repeat_frames);
  EXPECT_EQ(down_frames, (std::vector<int>{1}));
  EXPECT_EQ(pressed_frames, (std::vector<int>{1}));

  scene.list.SetKey(kVkSpace, false);
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONKEYUP}));
  EXPECT_FALSE(scene.list.KeyState(kVkSpace));
}

TEST(Keys, ClearKeysForgetsHeldKeys) {
  SceneHarness scene;
  scene.list.SetKey(kVkSpace, true);
  scene.list.ClearKeys();
  scene.RunFrame();
  EXPECT_FALSE(scene.list.KeyState(kVkSpace));
  EXPECT_FALSE(scene.list.KeyPressedOrRepeated(kVkSpace));
}

TEST(Focus, DeletingTheFocusedObjectMovesTheFocusToTheTopmostKeyTaker) {
  SceneHarness scene;
  TKestBox& low = scene.Box("low", {0, 0, 10, 10}, 0);
  TKestBox& high = scene.Box("high", {0, 0, 10, 10}, 0);
  high.SetPriority(1);
  low.SetHandleKey(true);
  high.SetHandleKey(true);
  SetProp(high, PR_ONFOCUSOUT, std::string("out"));
  SetProp(low, PR_ONFOCUSIN, std::string("in"));
  scene.RunFrame();
  ASSERT_EQ(scene.list.FocusObject(), &high);
  scene.list.MarkPendingDelete(high);
  scene.RunFrame();
  EXPECT_TRUE(scene.list.RefocusNeeded());
  scene.list.Events().Clear();
  scene.RunFrame();
  EXPECT_EQ(scene.list.FocusObject(), &low);
  ASSERT_EQ(scene.list.Events().Count(), 1u);
  EXPECT_EQ(scene.list.Events()[0].EventId, PR_ONFOCUSIN);
}

TEST(Focus, HidingTheFocusedObjectsParentAsksForANewFocus) {
  SceneHarness scene;
  TKestBox& panel = scene.Box("panel", {0, 0, 50, 50}, 0);
  TKestBox& field = scene.Box("field", {0, 0, 10, 10}, 0, &panel);
  field.SetHandleKey(true);
  scene.RunFrame();
  ASSERT_EQ(scene.list.FocusObject(), &field);
  panel.SetVisible(false);
  EXPECT_EQ(scene.list.FocusObject(), nullptr);
  scene.RunFrame();
  EXPECT_EQ(scene.list.FocusObject(), nullptr);  // the only key taker is hidden
}

TEST(Mouse, ClickOnEmptyAreaStaysVisibleAndAClickOnAnObjectIsConsumed) {
  SceneHarness scene(100, 100);
  TKestBox& box = scene.Box("b", {10, 10, 30, 30}, 0);
  SetProp(box, PR_ONLBTNDOWN, std::string("page:click"));
  scene.list.MouseMoved(50, 50);
  scene.list.MouseButtons(true, false);
  scene.RunFrame();
  EXPECT_TRUE(scene.list.ActiveScreen().left_click);
  EXPECT_EQ(scene.list.Events().Count(), 0u);
  scene.list.MouseReleased();
  scene.RunFrame();

  scene.list.MouseMoved(15, 17);
  scene.list.MouseButtons(true, false);
  scene.RunFrame();
  EXPECT_FALSE(scene.list.ActiveScreen().left_click);
  ASSERT_EQ(scene.list.Events().Count(), 1u);
  const TTimerData& entry = scene.list.Events()[0];
  EXPECT_EQ(entry.Handler, "page:click");
  EXPECT_EQ(entry.Sender, box.Id());
  EXPECT_EQ(entry.EventId, PR_ONLBTNDOWN);
  EXPECT_EQ(entry.Args, (std::vector<std::string>{"5", "7"}));
}

TEST(Mouse, IgnoreLeftClickPassesLeftClicksToTheObjectBelow) {
  SceneHarness scene(100, 100);
  TKestBox& below = scene.Box("below", {0, 0, 50, 50}, 0);
  TKestBox& above = scene.Box("above", {0, 0, 50, 50}, 0);
  above.SetPriority(1);
  SetProp(above, PR_IGNOREMOUSE, std::int32_t{IM_LCLICK});
  TKestBase& screen = scene.list.ActiveScreen();
  EXPECT_EQ(screen.HitTest(10, 10, kLeftClickModes), &below);
  EXPECT_EQ(screen.HitTest(10, 10, kRightClickModes), &above);
  EXPECT_EQ(screen.HitTest(10, 10, kHoverModes), &above);
  SetProp(above, PR_IGNOREMOUSE, std::int32_t{IM_ALL});
  EXPECT_EQ(screen.HitTest(10, 10, kHoverModes), &below);
  EXPECT_EQ(screen.HitTest(50, 10, kHoverModes), &screen);  // right edge is outside
}

TEST(Mouse, ACapturedObjectKeepsTheMouseUntilTheButtonIsReleased) {
  SceneHarness scene(100, 100);
  TKestBox& box = scene.Box("b", {0, 0, 20, 20}, 0);
  for (std::uint8_t id : {PR_ONLBTNDOWN, PR_ONLBTNUP, PR_ONMOUSEMOVE, PR_ONMOUSEIN, PR_ONMOUSEOUT})
    SetProp(box, id, std::string("h"));
  scene.list.MouseMoved(5, 5);
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONMOUSEIN, PR_ONMOUSEMOVE}));
  scene.list.MouseButtons(true, false);
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONLBTNDOWN}));
  scene.list.MouseMoved(80, 80);  // dragged off the box
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONMOUSEMOVE}));
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{}));
  scene.list.MouseReleased();
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONLBTNUP}));
  // Released: the pointer is elsewhere, so the box now loses the hover.
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONMOUSEOUT}));
}

TEST(Events, AYieldingIdleHandlerDoesNotPileUp) {
  SceneHarness scene;
  TKestBox& box = scene.Box("b", {0, 0, 10, 10}, 0);
  SetProp(box, PR_ONIDLE, std::string("idle"));
  scene.RunFrame();
  ASSERT_EQ(scene.list.Events().Count(), 1u);
  // The interpreter starts it at call level 1 and the handler yields.
  const_cast<TTimerData&>(scene.list.Events()[0]).EventLevel = 1;
  scene.RunFrame();
  scene.RunFrame();
  scene.RunFrame();
  EXPECT_EQ(scene.list.Events().Count(), 2u);
  EXPECT_EQ(scene.list.Events().WaitingCount(), 1u);
}

TEST(Events, PausedObjectsStillRaiseIdleButNoClicks) {
  SceneHarness scene;
  TKestBox& box = scene.Box("b", {0, 0, 10, 10}, 0);
  SetProp(box, PR_PAUSED, true);
  SetProp(box, PR_ONIDLE, std::string("idle"));
  SetProp(box, PR_ONLBTNDOWN, std::string("down"));
  scene.list.MouseMoved(5, 5);
  scene.list.MouseButtons(true, false);
  EXPECT_EQ(FrameEvents(scene), (std::vector<int>{PR_ONIDLE}));
}

}  // namespace
}  // namespace kest
