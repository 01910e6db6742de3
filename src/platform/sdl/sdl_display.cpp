#include "platform/sdl/sdl_display.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/cp932.h"

namespace kest::platform {
namespace {

[[noreturn]] void Fail(const std::string& step) {
  throw PlatformError(cp932::FromUtf8Lenient(step + ": " + SDL_GetError()));
}

// The player counts a four-byte pixel as 32 bits deep, whatever of it is unused.
int DepthOf(std::uint32_t format) {
  return SDL_BYTESPERPIXEL(format) == 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(format));
}

DisplayMode ToDisplayMode(const SDL_DisplayMode& mode) {
  return {mode.w, mode.h, DepthOf(mode.format), mode.refresh_rate};
}

// Window coordinates (mouse events) and renderer pixels differ on high-density screens.
Point Rescale(Point point, Size from, Size to) {
  if (from.width <= 0 || from.height <= 0) return point;
  return {static_cast<int>(std::int64_t{point.x} * to.width / from.width),
          static_cast<int>(std::int64_t{point.y} * to.height / from.height)};
}

}  // namespace

SdlDisplay::SdlDisplay(const DisplaySpec& spec) : scene_(spec.scene), dock_height_(std::max(spec.dock_height, 0)) {
  if (scene_.width <= 0 || scene_.height <= 0) throw PlatformError("display: the scene size must be positive");
  scale_ = (spec.scale >= 1 && spec.scale <= kMaxScale) ? spec.scale : 1;
  const Viewport window = WindowViewport(ClientSize(), scale_);
  // Centred in the work area by the player's own rule, which keeps a window taller than the
  // desktop from getting a negative top.
  SDL_Rect usable{0, 0, 0, 0};
  Point origin{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
    origin = CentreInWorkArea({usable.x, usable.y, usable.x + usable.w, usable.y + usable.h}, window.output);
  }
  window_ = SDL_CreateWindow(cp932::ToUtf8Message(spec.title).c_str(), origin.x, origin.y, window.output.width,
                             window.output.height, SDL_WINDOW_SHOWN);
  if (!window_) Fail("cannot create the window");
  // The best renderer the system has; SDL falls back to its software renderer by itself. No
  // vertical sync: the frame loop paces itself.
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    SDL_DestroyWindow(window_);
    Fail("cannot create a renderer for the window");
  }
  if (!MakeTexture()) {
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    Fail("cannot create the window's texture");
  }
  if (spec.mode == ScreenMode::kFullScreen) SetScreenMode(ScreenMode::kFullScreen);
  Redraw();
}

bool SdlDisplay::MakeTexture() {
  const Size size = ClientSize();
  if (texture_ && size == texture_size_) return true;
  // SDL_PIXELFORMAT_RGB888 lies in memory as B, G, R, X on little-endian machines: the picture's
  // own layout, so uploads are plain copies.
  SDL_Texture* made =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, size.width, size.height);
  if (!made) return false;
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = made;
  texture_size_ = size;
  // A new texture holds undefined pixels; the window starts black like the player's.
  const Image black{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height * 4, 0)};
  UploadRectangle(black.View(), Rect{0, 0, size.width, size.height});
  return true;
}

SdlDisplay::~SdlDisplay() {
  if (pointer_) {
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(pointer_);
  }
  SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
  SDL_DestroyWindow(window_);
}

void SdlDisplay::SetTitle(std::string_view cp932_title) {
  SDL_SetWindowTitle(window_, cp932::ToUtf8Message(cp932_title).c_str());
}

void SdlDisplay::UploadRectangle(const SurfaceView& surface, const Rect& rectangle) {
  const SDL_Rect area{rectangle.left, rectangle.top, rectangle.Width(), rectangle.Height()};
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, &area, &pixels, &pitch) != 0) return;
  // The locked area is write-only and must be written whole; the source may run bottom-up.
  const std::size_t row_bytes = static_cast<std::size_t>(rectangle.Width()) * 4;
  auto* target = static_cast<std::uint8_t*>(pixels);
  for (int y = rectangle.top; y < rectangle.bottom; ++y, target += pitch) {
    std::memcpy(target, surface.Row(y) + std::ptrdiff_t{rectangle.left} * 4, row_bytes);
  }
  SDL_UnlockTexture(texture_);
}

bool SdlDisplay::Present(const SurfaceView& surface, std::span<const Rect> changed) {
  if (surface.pixels == nullptr) return false;
  const Rect bounds = Intersect(Rect{0, 0, surface.size.width, surface.size.height},
                                Rect{0, 0, texture_size_.width, texture_size_.height});
  bool presented = false;
  for (const Rect& rectangle : changed) {
    const Rect clipped = Intersect(rectangle, bounds);
    if (clipped.IsEmpty()) continue;
    UploadRectangle(surface, clipped);
    presented = true;
  }
  if (presented) Redraw();
  return presented;
}

Viewport SdlDisplay::CurrentViewport() const {
  // The window may not have the size asked for (a tiling window manager, a screen too small):
  // fitting the scene into what the window really has keeps its aspect ratio either way.
  return FullScreenViewport(texture_size_, OutputSize());
}

void SdlDisplay::RenderTexture() {
  const Viewport viewport = CurrentViewport();
  const bool whole_multiple = viewport.dest.Width() % texture_size_.width == 0 &&
                              viewport.dest.Height() % texture_size_.height == 0;
  SDL_SetTextureScaleMode(texture_, whole_multiple ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const SDL_Rect dest{viewport.dest.left, viewport.dest.top, viewport.dest.Width(), viewport.dest.Height()};
  SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
}

void SdlDisplay::Redraw() {
  RenderTexture();
  SDL_RenderPresent(renderer_);
}

void SdlDisplay::ResizeWindowToScale() {
  const Viewport window = WindowViewport(ClientSize(), scale_);
  SDL_SetWindowSize(window_, window.output.width, window.output.height);
}

bool SdlDisplay::SetScale(int scale) {
  if (scale < 1 || scale > kMaxScale) return false;
  scale_ = scale;
  if (mode_ == ScreenMode::kWindow) {
    ResizeWindowToScale();
    Redraw();
  }
  return true;
}

bool SdlDisplay::SetScreenMode(ScreenMode mode, std::optional<DisplayMode> exclusive_mode) {
  if (mode == ScreenMode::kWindow) {
    if (SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    mode_ = mode;
    MakeTexture();
    ResizeWindowToScale();
    Redraw();
    return true;
  }
  std::uint32_t flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (exclusive_mode) {
    const SDL_DisplayMode wanted{0, exclusive_mode->width, exclusive_mode->height, exclusive_mode->refresh_rate,
                                 nullptr};
    SDL_DisplayMode closest;
    if (!SDL_GetClosestDisplayMode(DisplayIndex(), &wanted, &closest)) return false;
    if (SDL_SetWindowDisplayMode(window_, &closest) != 0) return false;
    flags = SDL_WINDOW_FULLSCREEN;
  }
  if (SDL_SetWindowFullscreen(window_, flags) != 0) {
    SDL_SetWindowFullscreen(window_, 0);  // whatever half happened, the window stays a window
    Redraw();
    return false;
  }
  mode_ = mode;
  MakeTexture();
  Redraw();
  return true;
}

int SdlDisplay::DisplayIndex() const { return std::max(SDL_GetWindowDisplayIndex(window_), 0); }

std::vector<DisplayMode> SdlDisplay::DisplayModes() const {
  std::vector<DisplayMode> modes;
  const int display = DisplayIndex();
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) == 0) modes.push_back(ToDisplayMode(mode));
  }
  return modes;
}

DisplayMode SdlDisplay::DesktopMode() const {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(DisplayIndex(), &mode) != 0) return {0, 0, 24, 0};  // depth unknown
  return ToDisplayMode(mode);
}

Size SdlDisplay::WindowSize() const {
  Size size;
  SDL_GetWindowSize(window_, &size.width, &size.height);
  return size;
}

Size SdlDisplay::OutputSize() const {
  Size size;
  SDL_GetRendererOutputSize(renderer_, &size.width, &size.height);
  return size;
}

Point SdlDisplay::WindowToScene(int x, int y) const {
  const Point picture = OutputToScene(CurrentViewport(), Rescale(Point{x, y}, WindowSize(), OutputSize()));
  return {picture.x, picture.y - PanelTop()};
}

Point SdlDisplay::PointerPosition() const {
  int x = 0;
  int y = 0;
  SDL_GetMouseState(&x, &y);
  return WindowToScene(x, y);
}

void SdlDisplay::WarpPointer(Point scene_point) {
  const Point picture{scene_point.x, scene_point.y + PanelTop()};
  const Point window = Rescale(SceneToOutput(CurrentViewport(), picture), OutputSize(), WindowSize());
  SDL_WarpMouseInWindow(window_, window.x, window.y);
}

void SdlDisplay::SetCursorVisibility(CursorVisibility visibility) {
  SDL_ShowCursor(visibility == CursorVisibility::kShown ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlDisplay::SetPointerImage(const PointerImage* image) {
  SDL_Cursor* made = nullptr;
  if (image && image->size.width > 0 && image->size.height > 0) {
    // SDL reads the pixels while making the cursor and keeps its own copy.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(image->bgra.data()), image->size.width, image->size.height, 32,
        image->size.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface) {
      made = SDL_CreateColorCursor(surface, image->hot_spot.x, image->hot_spot.y);
      SDL_FreeSurface(surface);
    }
  }
  SDL_SetCursor(made ? made : SDL_GetDefaultCursor());
  if (pointer_) SDL_FreeCursor(pointer_);
  pointer_ = made;
  return made != nullptr || image == nullptr;
}

Image SdlDisplay::ReadPixels(const Rect& area) {
  // The back buffer is undefined after a present, so draw, read, then present.
  RenderTexture();
  Image image{{std::max(area.Width(), 0), std::max(area.Height(), 0)}, {}};
  image.bgrx.resize(static_cast<std::size_t>(image.size.width) * static_cast<std::size_t>(image.size.height) * 4);
  const SDL_Rect rect{area.left, area.top, image.size.width, image.size.height};
  if (!image.bgrx.empty() &&
      SDL_RenderReadPixels(renderer_, &rect, SDL_PIXELFORMAT_RGB888, image.bgrx.data(), image.size.width * 4) != 0) {
    Fail("cannot read the window's pixels");
  }
  SDL_RenderPresent(renderer_);
  return image;
}

Image SdlDisplay::CaptureOutput() {
  // The panel's part of what the output shows, at the output's size.
  const Viewport viewport = CurrentViewport();
  const Rect& dest = viewport.dest;
  const int panel_top = dest.top + static_cast<int>(std::int64_t{PanelTop()} * dest.Height() /
                                                    std::max(texture_size_.height, 1));
  return ReadPixels({0, panel_top, viewport.output.width, viewport.output.height});
}

Image SdlDisplay::CaptureWindow() {
  // Read the whole output back, then take the pixel at the centre of each picture pixel.
  const Viewport viewport = CurrentViewport();
  const Image output = ReadPixels({0, 0, viewport.output.width, viewport.output.height});
  const Size size = texture_size_;
  Image picture{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height * 4, 0)};
  const Rect& dest = viewport.dest;
  for (int y = 0; y < size.height; ++y) {
    const int oy = dest.top + static_cast<int>((2 * std::int64_t{y} + 1) * dest.Height() / (2 * size.height));
    if (oy < 0 || oy >= output.size.height) continue;
    for (int x = 0; x < size.width; ++x) {
      const int ox = dest.left + static_cast<int>((2 * std::int64_t{x} + 1) * dest.Width() / (2 * size.width));
      if (ox < 0 || ox >= output.size.width) continue;
      std::memcpy(picture.bgrx.data() + (static_cast<std::size_t>(y) * size.width + x) * 4,
                  output.bgrx.data() + (static_cast<std::size_t>(oy) * output.size.width + ox) * 4, 4);
    }
  }
  return picture;
}

}  // namespace kest::platform
