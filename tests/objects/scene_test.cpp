// Screens, dirty rectangles, painting and flips.

#include <gtest/gtest.h>

#include "objects/components/box.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

constexpr std::uint32_t kRed = 0xFF0000;  // as a pixel: B, G, R, X bytes
constexpr std::int32_t kRedColour = 0x0000FF;  // 0x00BBGGRR

TEST(DirtyRects, GapOfTwentyMergesTwentyOneStaysApart) {
  struct Case {
    Rect second;
    std::size_t count;
  };
  // The first rectangle is (10, 10) - (30, 30).
  const Case cases[] = {
      {{50, 10, 60, 20}, 1},  // 20 to the right: near
      {{51, 10, 60, 20}, 2},  // 21 to the right: far
      {{10, 50, 20, 60}, 1},  // 20 below
      {{10, 51, 20, 60}, 2},  // 21 below
      {{0, 0, 1, 1}, 1},      // left and above, within 20
      {{12, 12, 20, 20}, 1},  // inside: nothing added
  };
  for (const Case& c : cases) {
    TKestBaseList list(200, 200);
    TKestBase& screen = list.ActiveScreen();
    screen.ClearDirty();
    screen.AddDirtyRect({10, 10, 30, 30});
    screen.AddDirtyRect(c.second);
    EXPECT_EQ(screen.DirtyRects().size(), c.count) << c.second.left << "," << c.second.top;
  }
}

TEST(DirtyRects, MergingCascadesAndClampsToTheScreen) {
  TKestBaseList list(200, 100);
  TKestBase& screen = list.ActiveScreen();
  screen.ClearDirty();
  screen.AddDirtyRect({0, 0, 10, 10});
  screen.AddDirtyRect({100, 0, 110, 10});
  EXPECT_EQ(screen.DirtyRects().size(), 2u);
  // Joins both through the union.
  screen.AddDirtyRect({25, 0, 90, 10});
  ASSERT_EQ(screen.DirtyRects().size(), 1u);
  EXPECT_EQ(screen.DirtyRects()[0], (Rect{0, 0, 110, 10}));
  screen.AddDirtyRect({-50, 90, 500, 400});
  EXPECT_EQ(screen.DirtyRects().back(), (Rect{0, 90, 200, 100}));
  screen.ClearDirty();
  screen.AddDirtyRect({300, 300, 400, 400});
  EXPECT_TRUE(screen.DirtyRects().empty());
}

TEST(Screens, FindComponentBase0IsTheActiveScreen) {
  TKestBaseList list(64, 48);
  EXPECT_EQ(list.FindComponent("BASE0"), &list.Screen(0));
  EXPECT_EQ(list.FindComponent(""), &list.Screen(0));
  EXPECT_EQ(list.FindComponent("BASE1"), &list.Screen(1));
  list.FlipScreens(1, 0, false, ForceFlip::Yes, 0, 0);
  EXPECT_EQ(list.FindComponent("BASE0"), &list.Screen(1));
  EXPECT_EQ(list.FindComponent("\x01"), &list.Screen(0));
  EXPECT_EQ(list.FindComponent("BASE1"), &list.Screen(0));
  // FindControl names the screens as they are.
  EXPECT_EQ(list.FindControl("BASE0"), &list.Screen(0));
  EXPECT_EQ(list.FindControl(""), &list.Screen(1));
}

TEST(Painting, BoxesDrawInPriorityOrderClippedToTheirParent) {
  SceneHarness scene(100, 100);
  TKestBox& back = scene.Box("back", {10, 10, 60, 60}, 0x00FF00);
  scene.Box("front", {50, 50, 90, 90}, kRedColour).SetPriority(1);
  scene.Box("child", {40, 0, 80, 20}, 0xFF0000, &back);  // sticks out of its parent at x >= 60
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(5, 5), 0u);           // screen background: black
  EXPECT_EQ(scene.WindowPixel(20, 20), 0x00FF00u);  // back
  EXPECT_EQ(scene.WindowPixel(55, 55), kRed);       // front over back
  EXPECT_EQ(scene.WindowPixel(55, 15), 0x0000FFu);  // child (blue) inside its parent
  EXPECT_EQ(scene.WindowPixel(65, 15), 0u);         // outside the parent: not drawn
}

TEST(Painting, BoxAlphaBorderAndAdd) {
  SceneHarness scene(40, 40);
  scene.list.ActiveScreen().SetColor(0x404040);
  TKestBox& box = scene.Box("b", {0, 0, 20, 20}, 0xFFFFFF);
  SetProp(box, PR_BORDERWIDTH, std::int32_t{2});
  SetProp(box, PR_BORDERCOLOR, kRedColour);
  TKestBox& half = scene.Box("h", {20, 0, 40, 20}, 0xFFFFFF);
  SetProp(half, PR_ALPHA, std::int32_t{128});
  TKestBox& add = scene.Box("a", {0, 20, 20, 40}, 0x808080);
  SetProp(add, PR_ALPHA, std::int32_t{256 + 128});
  TKestBox& none = scene.Box("n", {20, 20, 40, 40}, 0xFFFFFF);
  SetProp(none, PR_ALPHA, std::int32_t{512});
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(0, 0), kRed);
  EXPECT_EQ(scene.WindowPixel(10, 10), 0xFFFFFFu);
  // (255 * 128 + 64 * 127) >> 8 = 159
  EXPECT_EQ(scene.WindowPixel(30, 10), 0x9F9F9Fu);
  // 0x40 + 0x80 * 128 / 256
  EXPECT_EQ(scene.WindowPixel(10, 30), 0x808080u);
  EXPECT_EQ(scene.WindowPixel(30, 30), 0x404040u);
}

TEST(Painting, DeletingAnObjectLeavesNoGhost) {
  SceneHarness scene(50, 50);
  TKestBox& box = scene.Box("b", {10, 10, 20, 20}, kRedColour);
  scene.RunFrame();
  ASSERT_EQ(scene.WindowPixel(15, 15), kRed);
  scene.list.MarkPendingDelete(box);
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(15, 15), 0u);
}

TEST(Painting, OnlyDirtyRectanglesArePresented) {
  SceneHarness scene(100, 50);
  TKestBox& left = scene.Box("l", {0, 0, 10, 10}, kRedColour);
  scene.Box("r", {80, 0, 90, 10}, kRedColour);
  scene.RunFrame();
  left.SetLeft(2);
  scene.RunFrame();
  ASSERT_EQ(scene.list.PresentRects().size(), 1u);
  EXPECT_EQ(scene.list.PresentRects()[0], (Rect{0, 0, 12, 10}));
  scene.RunFrame();
  EXPECT_TRUE(scene.list.PresentRects().empty());
}

TEST(Screens, FlipShowsTheOtherScreensPicture) {
  SceneHarness scene(30, 30);
  scene.Box("front", {0, 0, 10, 10}, kRedColour);
  scene.Box("back", {0, 0, 10, 10}, 0x00FF00, &scene.list.Screen(1));
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(5, 5), kRed);
  scene.list.FlipScreens(1, 0, false, ForceFlip::Yes, 0, 0);
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(5, 5), 0x00FF00u);
  std::string where;
  EXPECT_TRUE(scene.WindowEqualsFullRepaint(&where)) << where;
}

TEST(Screens, UnbuiltKindsDrawNothingAndSaySoOnce) {
  SceneHarness scene(30, 30);
  std::vector<std::string> notes;
  scene.list.SetNotice([&](const std::string& note) { notes.push_back(note); });
  for (int i = 0; i < 2; ++i) {
    auto& label = *scene.list.CreateByKind(LT_LABEL)->AsControl();
    label.SetBounds(0, 0, 10, 10);
    label.SetParent(&scene.list.ActiveScreen());
  }
  scene.RunFrame();
  scene.RunFrame();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("LT_LABEL"), std::string::npos);
  EXPECT_EQ(scene.WindowPixel(5, 5), 0u);
}

}  // namespace
}  // namespace kest
