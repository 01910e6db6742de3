// The scene list's input side: the keyboard arrays with their repeat timers, the focus, and the
// mouse dispatch of the active screen.

#include "objects/scene_list.h"

#include "objects/property_table.h"

namespace kest {

namespace {
// Key repeat starts this long after a key went down, then recurs at the interval.
constexpr std::int32_t kRepeatDelay = 300;
constexpr std::int32_t kRepeatInterval = 50;
}  // namespace

void TKestBaseList::SetKey(std::uint8_t code, bool down) {
  const std::uint8_t state = down ? 1 : 0;
  if (held_[code] == state) return;
  held_[code] = state;
  repeat_pending_[code] = state;
  if (down) {
    repeat_timer_[code] = kRepeatDelay;
    key_went_down_ = true;
    key_repeated_ = true;
  } else {
    key_went_up_ = true;
  }
}

void TKestBaseList::ClearKeys() {
  held_ = {};
  press_pending_ = {};
  repeat_pending_ = {};
  repeat_timer_ = {};
  key_went_down_ = key_went_up_ = key_repeated_ = false;
}

TKestControl* TKestBaseList::FocusObject() const {
  TKestObject* object = Resolve(focus_);
  return object ? object->AsControl() : nullptr;
}

void TKestBaseList::SetFocus(TKestControl* object) {
  TKestControl* old = FocusObject();
  if (object == old && (object != nullptr || focus_ == kNoObject)) {
    refocus_needed_ = false;
    return;
  }
  if (old && !old->Name().empty()) old->RaiseEvent(PR_ONFOCUSOUT, {}, Duplicates::Queue);
  focus_ = object ? object->Id() : kNoObject;
  if (object) object->RaiseEvent(PR_ONFOCUSIN, {}, Duplicates::Queue);
  refocus_needed_ = false;
  if (object) object->FocusSet();
}

void TKestBaseList::ProcessInput(std::int32_t elapsed) {
  if (refocus_needed_) {
    SetFocus(ActiveScreen().FindKeyTarget());
    refocus_needed_ = false;
  }
  pressed_ = press_pending_;
  press_pending_ = {};
  pressed_or_repeated_ = repeat_pending_;

  ProcessMouse(ActiveScreen());

  TKestControl* focus = FocusObject();
  if (focus && focus->HandleKey()) {
    const ObjectId id = focus->Id();
    if (key_went_down_) focus->KeyDown();
    if (key_repeated_ && Contains(id)) focus->KeyRepeat();
    if (key_went_up_ && Contains(id)) focus->KeyUp();
  }
  key_went_down_ = key_went_up_ = key_repeated_ = false;

  for (std::size_t code = 0; code < held_.size(); ++code) {
    if (!held_[code]) continue;
    repeat_timer_[code] -= elapsed;
    repeat_pending_[code] = repeat_timer_[code] <= 0 ? 1 : 0;
    if (repeat_timer_[code] <= 0) {
      repeat_timer_[code] += kRepeatInterval;
      key_repeated_ = true;
    }
  }
}

void TKestBaseList::MouseButtons(bool left, bool right) {
  for (auto& screen : screens_) {
    screen->left_held = left;
    screen->right_held = right;
  }
  ActiveScreen().left_click_pending = left;
  ActiveScreen().right_click_pending = right;
}

void TKestBaseList::MouseReleased() {
  for (auto& screen : screens_) screen->left_held = screen->right_held = false;
}

void TKestBaseList::Wheel(bool down) {
  if (down)
    ActiveScreen().wheel_down_pending = true;
  else
    ActiveScreen().wheel_up_pending = true;
}

void TKestBaseList::MouseMoved(std::int32_t x, std::int32_t y) {
  for (auto& screen : screens_) screen->SetMouseState(x, y);
}

void TKestBaseList::ProcessMouse(TKestBase& screen) {
  screen.left_click = screen.left_click_pending;
  screen.right_click = screen.right_click_pending;
  screen.wheel_down = screen.wheel_down_pending;
  screen.wheel_up = screen.wheel_up_pending;
  screen.left_click_pending = screen.right_click_pending = false;
  screen.wheel_down_pending = screen.wheel_up_pending = false;

  // A right click first closes the first open menu or map image that wants it.
  if (screen.right_click) {
    for (std::size_t i = 0; i < objects_.size(); ++i) {
      TKestObject& object = *objects_[i];
      if (object.GetCompoType() != LT_MENU && object.GetCompoType() != LT_MAPIMG) continue;
      TKestControl* control = object.AsControl();
      const std::optional<PropValue> scrap = object.ReadProperty(PR_RCLICKSCRAP);
      if (!control || !scrap || !AsBool(*scrap) || !control->GetVisible() || control->GetBase() != &screen ||
          control->IsPaused() || (control->IgnoreMouse() != IM_NONE && control->IgnoreMouse() != IM_LCLICK))
        continue;
      if (control->RightClickClose()) {
        screen.right_click = false;
        break;
      }
    }
  }

  TKestControl* hover = nullptr;
  if (TKestObject* object = Resolve(screen.hover)) hover = object->AsControl();

  // A captured pointer belongs to the hover object until its button is released.
  if (screen.capture_flags != 0 && hover) {
    const ObjectId id = hover->Id();
    if ((screen.capture_flags & 4) != 0) {
      if (!screen.left_held) {
        hover->LBtnUp();
        screen.capture_flags &= static_cast<std::uint8_t>(~4);
      }
    } else if ((screen.capture_flags & 8) != 0 && !screen.right_held) {
      hover->RBtnUp();
      screen.capture_flags &= static_cast<std::uint8_t>(~8);
    }
    if (Contains(id) && screen.pointer_moved) hover->MouseMove();
    if (Contains(id)) hover->MouseDrag();
    screen.pointer_moved = false;
    return;
  }

  const MouseModes modes = screen.left_click ? kLeftClickModes : screen.right_click ? kRightClickModes : kHoverModes;
  TKestControl* target = screen.HitTest(screen.PointerX(), screen.PointerY(), modes);
  screen.capture_flags = 0;
  ObjectId target_id = target ? target->Id() : kNoObject;
  const auto recheck = [&] {
    if (target && !Contains(target_id)) {
      target = nullptr;
      target_id = kNoObject;
    }
  };

  if (target) {
    screen.cursor_name = target->GetEffectiveCursor();
    if (screen.left_click) {
      target->LBtnDown();
      recheck();
      if (target && !target->IsPaused() && target->HandleKey()) SetFocus(target);
    } else if (screen.right_click) {
      target->RBtnDown();
    } else if (screen.wheel_down) {
      target->RaiseEvent(PR_ONWHEELDOWN, {}, Duplicates::Skip);
    } else if (screen.wheel_up) {
      target->RaiseEvent(PR_ONWHEELUP, {}, Duplicates::Skip);
    }
    recheck();
  }
  // The dispatch above may have freed the hover object: resolve it again.
  hover = nullptr;
  if (TKestObject* object = Resolve(screen.hover)) hover = object->AsControl();
  if (hover && hover != target) {
    hover->MouseOut(target);
    recheck();
    hover = nullptr;
    if (TKestObject* object = Resolve(screen.hover)) hover = object->AsControl();
  }
  if (target && (screen.pointer_moved || target_id != screen.hover)) {
    if (target_id != screen.hover) {
      target->MouseIn(hover);
      recheck();
    }
    if (target) target->MouseMove();
    recheck();
  }
  screen.hover = target_id;
  screen.pointer_moved = false;
}

}  // namespace kest
