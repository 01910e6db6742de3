#pragma once
// Points, sizes and rectangles of the screen, and the arithmetic that places the scene in a
// window or on a full screen. Pure functions, shared by the SDL display and the headless one.

#include <cstdint>

namespace kest::platform {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left and top inclusive, right and bottom exclusive, as the player's dirty rectangles are kept.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The overlap of two rectangles; an empty rectangle (all zero) when they do not overlap.
Rect Intersect(const Rect& a, const Rect& b);

// Where the scene lands in an output of pixels (a window's client area or a whole screen).
struct Viewport {
  Size scene;   // the scene surface's size
  Size output;  // the output's size in pixels
  Rect dest;    // the part of the output the scene is stretched onto; the rest is black
  friend bool operator==(const Viewport&, const Viewport&) = default;
};

// Largest integer scale the player accepts for a window.
inline constexpr int kMaxScale = 8;

// A window sized to the scene times an integer scale: the scene fills it, no bars. A scale
// outside 1..kMaxScale is treated as 1.
Viewport WindowViewport(Size scene, int scale);

// A full screen of `output` pixels: the largest rectangle with the scene's aspect ratio that
// fits, centred, with black bars left and right or above and below. Sizes not greater than 0
// give an empty destination.
Viewport FullScreenViewport(Size scene, Size output);

// The scene pixel under an output pixel. Points on the bars map outside the scene (negative or
// past its size), as a pointer beside the drawing panel does.
Point OutputToScene(const Viewport& viewport, Point output_point);

// The first output pixel that shows a scene pixel, so that OutputToScene gives the scene pixel
// back whenever the scene is not shrunk. Used to warp the pointer to a scene position.
Point SceneToOutput(const Viewport& viewport, Point scene_point);

// Where a window of `window` pixels goes to be centred in the desktop's work area: each halving
// truncated toward zero, and never above or left of the work area, so that a window larger than
// the desktop keeps its top-left (and its caption) on the screen.
Point CentreInWorkArea(const Rect& work_area, Size window);

}  // namespace kest::platform
