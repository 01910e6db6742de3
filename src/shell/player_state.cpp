#include "shell/player_state.h"

#include "objects/scene_list.h"
#include "platform/platform.h"
#include "scenario/interpreter_state.h"
#include "scenario/project.h"
#include "shell/player_session.h"
#include "shell/screen_man.h"

namespace kest::shell {

namespace {

// Numbers of the system variables answered here.
enum : std::uint8_t {
  kLClick = 1, kRClick = 2, kLPush = 3, kRPush = 4, kMouseX = 5, kMouseY = 6, kScrWidth = 12, kScrHeight = 13,
  kFullScr = 26, kCGDither = 31, kKeyPush = 35, kKeyClick = 36, kDisplayModeCount = 37, kDisplayModeIndex = 38, kTitle = 39,
  kActiveCompo = 41, kKeyRepeat = 42, kWheelDown = 47, kWheelUp = 48,
};

// The key arrays: elements 0 to 255 are the keys, 256 and 257 the wheel this frame.
constexpr std::int32_t kKeyCount = 256;
constexpr std::int32_t kWheelDownElement = 256, kWheelUpElement = 257;

}  // namespace

TPlayerState::TPlayerState(std::unique_ptr<TSystemState> interpreter, TProject& project, TKestBaseList& scene,
                           TScreenManager& screen, platform::Display& display)
    : interpreter_(std::move(interpreter)), project_(project), scene_(scene), screen_(screen), display_(display) {}

std::int32_t TPlayerState::ReadInt(std::uint8_t sys_index, std::int32_t element) {
  switch (sys_index) {
    case kMouseX: return scene_.ActiveScreen().PointerX();
    case kMouseY: return scene_.ActiveScreen().PointerY();
    case kScrWidth: return project_.ScreenWidth;
    case kScrHeight: return project_.ScreenHeight;
    case kDisplayModeCount: return screen_.ModeCount();
    case kDisplayModeIndex: return screen_.SelectedMode;
    default: return interpreter_->ReadInt(sys_index, element);
  }
}

bool TPlayerState::ReadBool(std::uint8_t sys_index, std::int32_t element) {
  TKestBase& active = scene_.ActiveScreen();
  const auto key = [&](bool (TKestBaseList::*state)(std::uint8_t) const) {
    if (element >= 0 && element < kKeyCount) return (scene_.*state)(static_cast<std::uint8_t>(element));
    if (element == kWheelDownElement) return active.wheel_down;
    if (element == kWheelUpElement) return active.wheel_up;
    return false;
  };
  switch (sys_index) {
    case kLClick: return active.left_click;
    case kRClick: return active.right_click;
    case kLPush: return active.LeftPush();
    case kRPush: return active.RightPush();
    case kFullScr: return screen_.FullScreen();
    case kCGDither: return scene_.Dither();
    case kKeyPush: return key(&TKestBaseList::KeyState);
    case kKeyClick: return key(&TKestBaseList::KeyPressed);
    case kKeyRepeat: return key(&TKestBaseList::KeyPressedOrRepeated);
    case kWheelDown: return active.wheel_down;
    case kWheelUp: return active.wheel_up;
    default: return interpreter_->ReadBool(sys_index, element);
  }
}

std::string TPlayerState::ReadStr(std::uint8_t sys_index, std::int32_t element) {
  switch (sys_index) {
    case kTitle: return project_.Title;
    case kActiveCompo: {
      const TKestControl* focus = scene_.FocusObject();
      return focus ? focus->Name() : std::string();
    }
    default: return interpreter_->ReadStr(sys_index, element);
  }
}

void TPlayerState::WriteInt(std::uint8_t sys_index, std::int32_t value) {
  TKestBase& active = scene_.ActiveScreen();
  switch (sys_index) {
    // Moving the pointer keeps its other coordinate; the window reports the move as input.
    case kMouseX: display_.WarpPointer({value, active.PointerY()}); return;
    case kMouseY: display_.WarpPointer({active.PointerX(), value}); return;
    case kDisplayModeIndex:
      screen_.SelectedMode = value;
      screen_.ApplyDisplayMode();
      return;
    default: interpreter_->WriteInt(sys_index, value);
  }
}

void TPlayerState::WriteBool(std::uint8_t sys_index, bool value) {
  TKestBase& active = scene_.ActiveScreen();
  switch (sys_index) {
    case kLClick: active.left_click = value; return;
    case kRClick: active.right_click = value; return;
    case kFullScr: screen_.ToggleFullScreen(value); return;
    case kCGDither: scene_.SetDither(value); return;
    default: interpreter_->WriteBool(sys_index, value);
  }
}

void TPlayerState::WriteStr(std::uint8_t sys_index, const std::string& value) {
  if (sys_index != kActiveCompo) {
    interpreter_->WriteStr(sys_index, value);
    return;
  }
  // Only an object that could take the keys becomes the focus.
  if (value.empty()) return;
  TKestControl* control = scene_.FindControl(value);
  if (control && !control->IsPaused() && control->GetVisible() && control->HandleKey()) scene_.SetFocus(control);
}

void ConnectPlayerState(PlayerSession& session, TScreenManager& screen, platform::Display& display) {
  TProject& project = session.Project();
  session.Params().SetSystemState(std::make_unique<TPlayerState>(
      std::make_unique<TInterpreterState>(*project.CallMan(), session.Clock()), project, session.Scene(), screen,
      display));
}

}  // namespace kest::shell
