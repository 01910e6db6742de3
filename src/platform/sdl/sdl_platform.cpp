#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KEST_LEAK_CHECKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(KEST_LEAK_CHECKS)
#define KEST_LEAK_CHECKS 1
#endif
#ifdef KEST_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdlib>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "platform/desktop.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_sound.h"

namespace kest::platform {
namespace {

// Connecting to the display makes the system libraries beneath SDL (the session bus among them)
// and the graphics driver keep a few blocks for the whole process that SDL cannot release. In a
// sanitizer build the leak checker is told to ignore what is allocated while the display opens,
// and only that.
class IgnoreLeaksOfSystemLibraries {
 public:
#ifdef KEST_LEAK_CHECKS
  IgnoreLeaksOfSystemLibraries() { __lsan_disable(); }
  ~IgnoreLeaksOfSystemLibraries() { __lsan_enable(); }
#else
  IgnoreLeaksOfSystemLibraries() {}  // user-provided, so a guard object is never "unused"
  ~IgnoreLeaksOfSystemLibraries() {}
#endif
};

// One SDL subsystem, initialised on first use and shut down with its owner.
class Subsystem {
 public:
  explicit Subsystem(std::uint32_t flag) : flag_(flag) {}
  ~Subsystem() { Stop(); }
  Subsystem(const Subsystem&) = delete;
  Subsystem& operator=(const Subsystem&) = delete;

  bool Start() {
    if (!started_) started_ = SDL_InitSubSystem(flag_) == 0;
    return started_;
  }
  bool Started() const { return started_; }
  void Stop() {
    if (started_) SDL_QuitSubSystem(flag_);
    started_ = false;
  }

 private:
  std::uint32_t flag_;
  bool started_ = false;
};

// SDL as a whole: shut down last, after every subsystem, so that what SDL holds for the process
// (its connection to the session bus among others) is released too.
class SdlLibrary {
 public:
  SdlLibrary() = default;
  ~SdlLibrary() { SDL_Quit(); }
  SdlLibrary(const SdlLibrary&) = delete;
  SdlLibrary& operator=(const SdlLibrary&) = delete;
};

class SdlPlatform : public Platform {
 public:
  SdlPlatform() {
    // A full screen that loses the foreground stays where it is; the frame loop pauses.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  }
  ~SdlPlatform() override {
    sound_.reset();
    display_.reset();
  }

  Display& OpenDisplay(const DisplaySpec& spec) override {
    if (display_) throw PlatformError("a display is already open");
    const IgnoreLeaksOfSystemLibraries ignore;
    if (!video_.Start()) {
      throw NoDisplayError(cp932::FromUtf8Lenient(std::string("no display can be opened: ") + SDL_GetError()));
    }
    // Without X11 or Wayland, SDL falls back to drivers that draw nowhere; a player in such a
    // window would run unseen. They count as a display only when asked for by name.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if ((driver == "offscreen" || driver == "dummy") && !(requested && driver == requested)) {
      video_.Stop();
      throw NoDisplayError("no display can be opened: neither X11 nor Wayland is reachable");
    }
    display_ = std::make_unique<SdlDisplay>(spec);
    return *display_;
  }

  Display* CurrentDisplay() override { return display_.get(); }
  void CloseDisplay() override { display_.reset(); }

  std::optional<InputEvent> PollEvent() override {
    if (!video_.Started()) return std::nullopt;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (std::optional<InputEvent> input = Translate(event)) return input;
    }
    return std::nullopt;
  }

  std::optional<InputEvent> WaitEvent(std::uint32_t timeout_ms) override {
    if (!video_.Started()) return std::nullopt;
    if (std::optional<InputEvent> waiting = PollEvent()) return waiting;
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, static_cast<int>(std::min<std::uint32_t>(timeout_ms, INT32_MAX)))) {
      return std::nullopt;
    }
    if (std::optional<InputEvent> input = Translate(event)) return input;
    return PollEvent();
  }

  std::uint32_t Tick() override { return SDL_GetTicks(); }
  void Sleep(std::uint32_t milliseconds) override { SDL_Delay(milliseconds); }

  SoundOutput& OpenSound(MixCallback callback) override {
    if (sound_) throw PlatformError("a sound output is already open");
    if (!audio_.Start()) {
      throw PlatformError(cp932::FromUtf8Lenient(std::string("no sound output: ") + SDL_GetError()));
    }
    sound_ = std::make_unique<SdlSoundOutput>(std::move(callback));
    return *sound_;
  }

  SoundOutput* CurrentSound() override { return sound_.get(); }
  void CloseSound() override { sound_.reset(); }

  bool OpenWithDefaultHandler(std::string_view cp932_target) override {
    const std::optional<std::vector<std::string>> command = DefaultHandlerCommand(cp932_target);
    return command && SpawnDetached(*command);
  }

 private:
  std::optional<InputEvent> Translate(const SDL_Event& event);

  // Declared first so that they are shut down after the window and the device.
  SdlLibrary library_;
  Subsystem video_{SDL_INIT_VIDEO};
  Subsystem audio_{SDL_INIT_AUDIO};
  std::unique_ptr<SdlDisplay> display_;
  std::unique_ptr<SdlSoundOutput> sound_;
};

std::optional<InputEvent> SdlPlatform::Translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:  // the window's close button, or a termination signal
      return CloseRequest{};
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: return Activate{};
        case SDL_WINDOWEVENT_FOCUS_LOST: return Deactivate{};
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
          if (display_) display_->Redraw();
          return std::nullopt;
        default: return std::nullopt;
      }
    case SDL_MOUSEMOTION:
      if (!display_) return std::nullopt;
      return MouseMove{display_->WindowToScene(event.motion.x, event.motion.y)};
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      MouseButton button;
      if (event.button.button == SDL_BUTTON_LEFT) {
        button = MouseButton::kLeft;
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        button = MouseButton::kRight;
      } else {
        return std::nullopt;
      }
      if (event.type == SDL_MOUSEBUTTONDOWN) return ButtonDown{button};
      return ButtonUp{button};
    }
    case SDL_MOUSEWHEEL: {
      int y = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
      if (y == 0) return std::nullopt;  // a sideways wheel
      return Wheel{y > 0 ? WheelDirection::kUp : WheelDirection::kDown};
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::uint8_t key = VirtualKeyForScancode(event.key.keysym.scancode);
      if (key == 0) return std::nullopt;
      if (event.type == SDL_KEYUP) return KeyUp{key};
      return KeyDown{key, event.key.repeat ? KeyRepeat::kRepeat : KeyRepeat::kFirst};
    }
    case SDL_TEXTINPUT: {
      // A character with no Shift-JIS form arrives as "?", as on a Japanese Windows.
      std::string text = cp932::FromUtf8Lenient(event.text.text);
      if (text.empty()) return std::nullopt;
      return TextInput{std::move(text)};
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace kest::platform
