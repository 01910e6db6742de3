#pragma once
// What the player needs from the operating system, in its own terms: a window that shows the
// scene, input, a millisecond tick, sound output and the desktop's default
// handler. Two implementations exist: sdl/ for play and headless/ for tests and batch runs.
// Nothing here names the toolkit underneath, so the engine never sees it.
//
// Texts that cross this seam are CP932 byte strings, as everywhere in the engine; each
// implementation converts them to UTF-8 at its edge.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/errors.h"
#include "platform/geometry.h"

namespace kest::platform {

// ---- Errors -----------------------------------------------------------------------------------

// The system refused something the player asked for (a window, a sound device). The text is
// CP932 like every KestError; it carries the system's own reason.
class PlatformError : public KestError {
 public:
  using KestError::KestError;
};

// No display could be opened at all (no X server, no Wayland compositor). The player's entry
// tells the user to run with --headless instead.
class NoDisplayError : public PlatformError {
 public:
  using PlatformError::PlatformError;
};

// ---- Surfaces ---------------------------------------------------------------------------------

// A read-only view of a 32-bit surface: each pixel is the four bytes B, G, R, X. `pixels` points
// at the top row; `pitch` is the signed distance in bytes from one row to the next below it, so a
// bottom-up surface is given with its last stored row and a negative pitch.
struct SurfaceView {
  const std::uint8_t* pixels = nullptr;
  std::ptrdiff_t pitch = 0;
  Size size;

  const std::uint8_t* Row(int y) const { return pixels + pitch * y; }
};

// A picture owned in memory, top-down, 4 bytes B, G, R, X per pixel, rows packed.
struct Image {
  Size size;
  std::vector<std::uint8_t> bgrx;

  SurfaceView View() const {
    return {bgrx.data(), static_cast<std::ptrdiff_t>(size.width) * 4, size};
  }
};

// ---- The display ------------------------------------------------------------------------------

enum class ScreenMode { kWindow, kFullScreen };
enum class CursorVisibility { kShown, kHidden };

// A pointer picture: top-down, 4 bytes B, G, R, A per pixel (A 0 transparent, 255 opaque), rows
// packed, with the point that the pointer's position refers to.
struct PointerImage {
  Size size;
  std::vector<std::uint8_t> bgra;
  Point hot_spot;
  friend bool operator==(const PointerImage&, const PointerImage&) = default;
};

// A mode the screen can be switched to, as the display driver lists it.
struct DisplayMode {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;  // 32 for any four-byte format, as the player counts depth
  int refresh_rate = 0;    // hertz; 0 when the driver does not say
  friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

struct DisplaySpec {
  Size scene;                 // the scene surface's size: the drawing panel
  std::string title;          // CP932
  int scale = 1;              // integer window scale, 1..kMaxScale
  ScreenMode mode = ScreenMode::kWindow;
  int dock_height = 0;        // rows above the panel in a window (the toolbar's dock); none in full screen
};

// The main window. It starts shown and active: the toolkit may or may not report an initial
// activation, so the frame loop assumes the foreground until it hears otherwise.
//
// What the window shows is its picture, at scene resolution: in a window the dock's rows above
// the panel, in full screen the panel alone (ClientSize, PanelTop). The player composes the
// picture (scene, toolbar strip, its own dialogs) and presents it; the display scales it to the
// window or the screen. Pointer positions are relative to the panel, so the dock has negative
// rows.
class Display {
 public:
  virtual ~Display() = default;

  virtual Size SceneSize() const = 0;
  // The picture's size now: the scene plus the dock in a window, the scene in full screen.
  virtual Size ClientSize() const = 0;
  // Where the panel's top row lies in the picture.
  virtual int PanelTop() const = 0;
  virtual void SetTitle(std::string_view cp932_title) = 0;

  // Copies the given rectangles of `surface` (a picture of ClientSize) to the screen and shows
  // them. Each rectangle is clipped to the surface and the picture; empty ones are skipped.
  // Pixels outside the rectangles keep what was presented before; a change of screen mode that
  // changes ClientSize leaves the picture black until it is presented again. Returns whether
  // anything was presented.
  virtual bool Present(const SurfaceView& surface, std::span<const Rect> changed) = 0;

  // The window's integer scale (window mode only; full screen fits the screen). Returns false,
  // changing nothing, for a scale outside 1..kMaxScale.
  virtual bool SetScale(int scale) = 0;
  virtual int Scale() const = 0;

  // Switches between the window and full screen. Full screen keeps the scene's aspect ratio
  // with black bars. With `exclusive_mode` the screen switches to that display mode; without,
  // the desktop's mode is kept. Returns whether the requested mode is in effect afterwards;
  // when full screen cannot be entered the window stays as it was.
  virtual bool SetScreenMode(ScreenMode mode, std::optional<DisplayMode> exclusive_mode = {}) = 0;
  virtual ScreenMode CurrentScreenMode() const = 0;

  // The display modes of the screen the window is on, in the driver's order, and the desktop's.
  virtual std::vector<DisplayMode> DisplayModes() const = 0;
  virtual DisplayMode DesktopMode() const = 0;

  // The pointer in panel coordinates (outside the scene when it is over the dock, the bars or
  // away from the window), and moving it to a panel position.
  virtual Point PointerPosition() const = 0;
  virtual void WarpPointer(Point scene_point) = 0;
  virtual void SetCursorVisibility(CursorVisibility visibility) = 0;
  // Shows this picture as the pointer over the window; none gives back the standard pointer.
  // Returns false when the system refused the picture (the pointer is then the standard one).
  virtual bool SetPointerImage(const PointerImage* image) = 0;

  // What the screen shows of the panel now, at the output's size (the scene times the scale in
  // a window).
  virtual Image CaptureOutput() = 0;
  // The window's whole picture as shown now (dock, scene and anything drawn over them), read
  // back at scene resolution: ClientSize.
  virtual Image CaptureWindow() = 0;
};

// ---- Message boxes ----------------------------------------------------------------------------
// The player draws its message boxes itself (src/shell); these describe one.

enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

struct MessageBoxRequest {
  std::string caption;  // CP932
  std::string text;     // CP932; may span lines
  MessageButtons buttons = MessageButtons::kOk;
  MessageIcon icon = MessageIcon::kNone;
};

// ---- Input ------------------------------------------------------------------------------------

enum class MouseButton { kLeft, kRight };
enum class WheelDirection { kUp, kDown };
enum class KeyRepeat { kFirst, kRepeat };

// Mouse positions are scene coordinates, relative to the drawing panel.
struct MouseMove { Point position; };
struct ButtonDown { MouseButton button; };
struct ButtonUp { MouseButton button; };
struct Wheel { WheelDirection direction; };
// Keys are Windows virtual-key codes (1..255); keys with no code are not reported.
struct KeyDown { std::uint8_t virtual_key; KeyRepeat repeat = KeyRepeat::kFirst; };
struct KeyUp { std::uint8_t virtual_key; };
struct TextInput { std::string cp932_text; };
struct Activate {};
struct Deactivate {};
struct CloseRequest {};

using InputEvent = std::variant<MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, TextInput,
                                Activate, Deactivate, CloseRequest>;

// ---- Sound ------------------------------------------------------------------------------------

inline constexpr int kSampleRate = 44100;
inline constexpr int kChannels = 2;

// Fills the whole span with interleaved 16-bit samples, left then right. The SDL device calls it
// on its own audio thread; the mixer guards its state with its own lock.
using MixCallback = std::function<void(std::span<std::int16_t> interleaved)>;

enum class SoundState { kPlaying, kPaused };

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual void SetState(SoundState state) = 0;
  virtual SoundState State() const = 0;
  // Sample frames (one left and one right sample) pulled from the mixer since opening.
  virtual std::uint64_t FramesPlayed() const = 0;
};

// ---- The platform -----------------------------------------------------------------------------

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the main window; at most one exists. Throws NoDisplayError when no display can be
  // reached and PlatformError for other failures.
  virtual Display& OpenDisplay(const DisplaySpec& spec) = 0;
  virtual Display* CurrentDisplay() = 0;
  virtual void CloseDisplay() = 0;

  // The next input event, if one is waiting. WaitEvent blocks up to `timeout_ms` for one.
  virtual std::optional<InputEvent> PollEvent() = 0;
  virtual std::optional<InputEvent> WaitEvent(std::uint32_t timeout_ms) = 0;

  // A millisecond tick that wraps at 2^32: take differences in unsigned arithmetic.
  virtual std::uint32_t Tick() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // Opens the sound output at kSampleRate, 16 bits, kChannels, started in the playing state.
  // At most one exists; the callback must stay valid until CloseSound. Throws PlatformError.
  virtual SoundOutput& OpenSound(MixCallback callback) = 0;
  virtual SoundOutput* CurrentSound() = 0;
  virtual void CloseSound() = 0;

  // Opens a URL or a file with the desktop's default handler; false when it cannot be started.
  virtual bool OpenWithDefaultHandler(std::string_view cp932_target) = 0;
};

}  // namespace kest::platform
