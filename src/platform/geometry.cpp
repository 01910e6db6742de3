#include "platform/geometry.h"

#include <algorithm>

namespace kest::platform {
namespace {

// Division rounding toward minus infinity, so that points left of or above the scene map to
// negative scene coordinates instead of folding onto pixel 0.
std::int64_t FloorDiv(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t quotient = numerator / denominator;
  return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1 : quotient;
}

std::int64_t CeilDiv(std::int64_t numerator, std::int64_t denominator) {
  return -FloorDiv(-numerator, denominator);
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// One axis of OutputToScene / SceneToOutput; an empty destination or scene maps to its origin.
int ToScene(int output, int dest_start, int dest_length, int scene_length) {
  if (dest_length <= 0 || scene_length <= 0) return 0;
  return ClampToInt(FloorDiv((std::int64_t{output} - dest_start) * scene_length, dest_length));
}

int ToOutput(int scene, int dest_start, int dest_length, int scene_length) {
  if (dest_length <= 0 || scene_length <= 0) return dest_start;
  return ClampToInt(dest_start + CeilDiv(std::int64_t{scene} * dest_length, scene_length));
}

}  // namespace

Rect Intersect(const Rect& a, const Rect& b) {
  const Rect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
  return overlap.IsEmpty() ? Rect{} : overlap;
}

Viewport WindowViewport(Size scene, int scale) {
  if (scale < 1 || scale > kMaxScale) scale = 1;
  const Size output{std::max(scene.width, 0) * scale, std::max(scene.height, 0) * scale};
  return {scene, output, Rect{0, 0, output.width, output.height}};
}

Viewport FullScreenViewport(Size scene, Size output) {
  if (scene.width <= 0 || scene.height <= 0 || output.width <= 0 || output.height <= 0) {
    return {scene, output, Rect{}};
  }
  // Compare the aspect ratios by cross products: whichever side of the output is relatively
  // shorter limits the scene, and the other side gets the bars.
  const std::int64_t width_limited = std::int64_t{output.width} * scene.height;
  const std::int64_t height_limited = std::int64_t{output.height} * scene.width;
  int width = output.width;
  int height = output.height;
  if (width_limited < height_limited) {
    height = static_cast<int>(std::max<std::int64_t>(1, width_limited / scene.width));
  } else if (height_limited < width_limited) {
    width = static_cast<int>(std::max<std::int64_t>(1, height_limited / scene.height));
  }
  const int left = (output.width - width) / 2;
  const int top = (output.height - height) / 2;
  return {scene, output, Rect{left, top, left + width, top + height}};
}

Point OutputToScene(const Viewport& viewport, Point output_point) {
  const Rect& dest = viewport.dest;
  return {ToScene(output_point.x, dest.left, dest.Width(), viewport.scene.width),
          ToScene(output_point.y, dest.top, dest.Height(), viewport.scene.height)};
}

Point SceneToOutput(const Viewport& viewport, Point scene_point) {
  const Rect& dest = viewport.dest;
  return {ToOutput(scene_point.x, dest.left, dest.Width(), viewport.scene.width),
          ToOutput(scene_point.y, dest.top, dest.Height(), viewport.scene.height)};
}

Point CentreInWorkArea(const Rect& work_area, Size window) {
  const int left = work_area.left + (work_area.Width() - window.width) / 2;
  const int top = work_area.top + (work_area.Height() - window.height) / 2;
  return {std::max(left, work_area.left), std::max(top, work_area.top)};
}

}  // namespace kest::platform
