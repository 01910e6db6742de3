#include <gtest/gtest.h>

#include "platform/geometry.h"

namespace kest::platform {
namespace {

TEST(Geometry, WindowsAreCentredInTheWorkAreaAndKeepTheirTopLeftOnIt) {
  struct { Rect work; Size window; Point origin; } cases[] = {
      {{0, 0, 1024, 768}, {640, 502}, {192, 133}},
      {{0, 24, 1024, 768}, {641, 503}, {191, 144}},     // halves truncated; a panel above the area
      {{0, 0, 1024, 768}, {800, 900}, {112, 0}},        // taller than the desktop: top 0, not -66
      {{100, 50, 740, 530}, {1000, 1000}, {100, 50}},   // larger both ways: the area's top-left
  };
  for (const auto& c : cases) EXPECT_EQ(CentreInWorkArea(c.work, c.window), c.origin);
}

TEST(Geometry, IntersectClipsAndEmptiesDisjointRectangles) {
  EXPECT_EQ(Intersect({0, 0, 10, 10}, {5, 5, 20, 20}), (Rect{5, 5, 10, 10}));
  EXPECT_EQ(Intersect({0, 0, 10, 10}, {10, 0, 20, 10}), Rect{});  // touching edges share nothing
  EXPECT_EQ(Intersect({0, 0, 10, 10}, {3, 4, 3, 8}), Rect{});     // an empty one
  EXPECT_EQ(Intersect({-5, -5, 3, 3}, {0, 0, 640, 480}), (Rect{0, 0, 3, 3}));
}

TEST(Geometry, WindowViewportScalesByWholeFactors) {
  EXPECT_EQ(WindowViewport({640, 480}, 1), (Viewport{{640, 480}, {640, 480}, {0, 0, 640, 480}}));
  EXPECT_EQ(WindowViewport({640, 480}, 3), (Viewport{{640, 480}, {1920, 1440}, {0, 0, 1920, 1440}}));
  EXPECT_EQ(WindowViewport({800, 600}, 0), WindowViewport({800, 600}, 1));   // out of range: 1
  EXPECT_EQ(WindowViewport({800, 600}, kMaxScale + 1), WindowViewport({800, 600}, 1));
}

TEST(Geometry, FullScreenKeepsTheAspectRatioWithCentredBars) {
  struct Case {
    Size scene;
    Size output;
    Rect dest;
  };
  const Case cases[] = {
      {{640, 480}, {1920, 1080}, {240, 0, 1680, 1080}},    // bars left and right
      {{800, 600}, {1366, 768}, {171, 0, 1195, 768}},      // odd bar width: the left bar is smaller
      {{1280, 720}, {1024, 768}, {0, 96, 1024, 672}},      // bars above and below
      {{800, 600}, {800, 600}, {0, 0, 800, 600}},          // exact fit
      {{800, 600}, {1600, 1200}, {0, 0, 1600, 1200}},      // same aspect, larger
      {{640, 480}, {320, 200}, {27, 0, 293, 200}},         // smaller than the scene
      {{3, 1}, {2, 1000}, {0, 499, 2, 500}},               // height 2/3 rounds to 0: kept at 1
      {{640, 480}, {0, 1080}, {}},                         // no output
      {{0, 480}, {1920, 1080}, {}},                        // no scene
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scene.width << "x" << c.scene.height << " on " << c.output.width << "x"
                                    << c.output.height);
    const Viewport viewport = FullScreenViewport(c.scene, c.output);
    EXPECT_EQ(viewport.scene, c.scene);
    EXPECT_EQ(viewport.output, c.output);
    EXPECT_EQ(viewport.dest, c.dest);
  }
}

TEST(Geometry, OutputPointsMapToScenePixelsAndBarsMapOutside) {
  const Viewport viewport = FullScreenViewport({640, 480}, {1920, 1080});  // scale 2.25, left bar 240
  EXPECT_EQ(OutputToScene(viewport, {240, 0}), (Point{0, 0}));
  EXPECT_EQ(OutputToScene(viewport, {1679, 1079}), (Point{639, 479}));
  EXPECT_EQ(OutputToScene(viewport, {242, 2}), (Point{0, 0}));       // 2 / 2.25 is still pixel 0
  EXPECT_EQ(OutputToScene(viewport, {243, 3}), (Point{1, 1}));
  EXPECT_EQ(OutputToScene(viewport, {239, 0}), (Point{-1, 0}));      // on the left bar: negative
  EXPECT_EQ(OutputToScene(viewport, {0, 0}), (Point{-107, 0}));      // floor(-240 / 2.25)
  EXPECT_EQ(OutputToScene(viewport, {1680, 0}), (Point{640, 0}));    // on the right bar: past the scene

  const Viewport window = WindowViewport({640, 480}, 2);
  EXPECT_EQ(OutputToScene(window, {1, 1}), (Point{0, 0}));
  EXPECT_EQ(OutputToScene(window, {2, 3}), (Point{1, 1}));
  EXPECT_EQ(OutputToScene(window, {-1, -2}), (Point{-1, -1}));

  EXPECT_EQ(OutputToScene(FullScreenViewport({640, 480}, {0, 0}), {5, 5}), (Point{0, 0}));  // no division by 0
}

TEST(Geometry, SceneToOutputLandsOnAPixelThatMapsBack) {
  for (const Viewport& viewport :
       {WindowViewport({640, 480}, 1), WindowViewport({640, 480}, 3), FullScreenViewport({640, 480}, {1920, 1080}),
        FullScreenViewport({800, 600}, {1366, 768}), FullScreenViewport({1280, 720}, {1024, 768})}) {
    const bool shrunk = viewport.dest.Width() < viewport.scene.width;
    for (int y = 0; y < viewport.scene.height; y += 7) {
      for (int x = 0; x < viewport.scene.width; x += 3) {
        const Point output = SceneToOutput(viewport, {x, y});
        ASSERT_GE(output.x, viewport.dest.left);
        ASSERT_LT(output.x, viewport.dest.right);
        ASSERT_GE(output.y, viewport.dest.top);
        ASSERT_LT(output.y, viewport.dest.bottom);
        if (!shrunk) {
          ASSERT_EQ(OutputToScene(viewport, output), (Point{x, y}));
        }
      }
    }
  }
}

}  // namespace
}  // namespace kest::platform
