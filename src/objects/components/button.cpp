#include "objects/components/button.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "objects/components/motion.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest {

namespace {

// The picture property of each state.
constexpr std::uint8_t kStateSources[4] = {PR_SOURCE, PR_HOVERSOURCE, PR_PRESSEDSOURCE, PR_CLICKEDSOURCE};

std::int32_t StateOfSource(std::uint8_t id) {
  const auto* it = std::find(std::begin(kStateSources), std::end(kStateSources), id);
  return it == std::end(kStateSources) ? -1 : static_cast<std::int32_t>(it - std::begin(kStateSources));
}

}  // namespace

TKestButton::TKestButton(TKestBaseList& owner) : TKestImages(owner, LT_BUTTON) {}

TKestButton::~TKestButton() = default;

TKestImageList& TKestButton::ListOf(std::int32_t s) {
  return s <= 0 || s > 3 ? list_ : lists_[static_cast<std::size_t>(s)];
}

std::string& TKestButton::SourceOf(std::int32_t s) {
  return s <= 0 || s > 3 ? source_ : sources_[static_cast<std::size_t>(s)];
}

bool TKestButton::HasContent(std::int32_t s) {
  if (s <= 0) return true;
  if (s > 3) return false;
  return motions_[static_cast<std::size_t>(s)] != nullptr || ListOf(s).Count() > 0;
}

void TKestButton::SetState(std::int32_t s) {
  if (state_ == kClicked) {
    after_click_ = s;
    return;
  }
  if (s == state_ || !HasContent(s)) return;
  ChangeState(s);
}

void TKestButton::ChangeState(std::int32_t s) {
  Invalidate();
  // The shown state's motion plays as the control's own; the others wait in their slots.
  const auto slot = [](std::int32_t state) { return static_cast<std::size_t>(std::clamp(state, 0, 3)); };
  motions_[slot(state_)] = std::move(motion_);
  state_ = std::max(s, 0);
  motion_ = std::move(motions_[slot(state_)]);
  if (state_ == kClicked) after_click_ = kNormal;
  if (!motion_) {
    motion_x_ = 0;
    motion_y_ = 0;
  }
  frame_time_left_ = 0;
  ForgetFrame();
  SetIndex(0);
  RestartMotion();
  SizeFromPicture();
  Invalidate();
}

void TKestButton::SetStateSource(std::int32_t s, const std::string& source) {
  const bool in_use = s == state_;
  if (in_use) {
    ForgetFrame();
    DropMotion();
  } else {
    motions_[static_cast<std::size_t>(s)].reset();
  }
  ListOf(s).Clear();
  SourceOf(s) = source;
  switch (SourceKindOf(source)) {
    case SourceKind::Picture: ListOf(s).Load(Owner(), Id(), source); break;
    case SourceKind::Motion:
      if (in_use) {
        LoadMotion(source);
      } else {
        // Loaded as the control's motion, then kept in the state's slot.
        std::unique_ptr<TKestMotion> shown = std::move(motion_);
        if (LoadMotion(source)) motions_[static_cast<std::size_t>(s)] = std::move(motion_);
        motion_ = std::move(shown);
      }
      break;
    case SourceKind::None: break;
  }
  if (in_use && ListOf(s).Count() > 0) SetIndex(0);
  if (in_use) SizeFromPicture();
}

bool TKestButton::PointerOver() {
  TKestBase* base = GetBase();
  return base && HitTest(base->PointerX(), base->PointerY(), kLeftClickModes) == this;
}

bool TKestButton::Click() {
  RaiseEvent(PR_ONNOTIFY, {}, Duplicates::Queue);
  if (group_ == 0) {
    SetState(kClicked);
    // Without a clicked picture an autoscrapping button goes at the next update.
    if (state_ != kClicked && AutoScrap()) {
      press_state_ = -1;
      return true;
    }
  } else if (allow_all_up_ || !selected_) {
    SetSelected(!selected_);
  }
  return false;
}

void TKestButton::MouseMove() {
  if (press_state_ != 1) {
    SetState(selected_ ? kPressed : IsPaused() ? kNormal : kHover);
    TKestControl::MouseMove();
    return;
  }
  SetState(PointerOver() || selected_ ? kPressed : kNormal);
}

void TKestButton::MouseOut(TKestControl* next) {
  if (state_ != kClicked) SetState(selected_ ? kPressed : kNormal);
  TKestControl::MouseOut(next);
}

void TKestButton::LBtnDown() {
  if (ignore_mouse_ != IM_NONE && ignore_mouse_ != IM_RCLICK) {
    TKestControl::LBtnDown();
    return;
  }
  TKestBase* base = GetBase();
  if (!IsPaused() && state_ != kClicked) {
    if (base) base->capture_flags |= 4;
    SetState(kPressed);
    press_state_ = 1;
  }
  // The click is consumed either way; the button raises no PR_ONLBTNDOWN.
  if (base) base->left_click = false;
}

void TKestButton::LBtnUp() {
  if (TKestBase* base = GetBase()) base->capture_flags &= static_cast<std::uint8_t>(~4);
  if (press_state_ == 1 && PointerOver())
    if (Click()) return;
  press_state_ = 0;
  if (group_ == 0 && state_ != kClicked) SetState(kNormal);
}

void TKestButton::KeyRepeat() {
  if (Owner().KeyPressedOrRepeated(13) || Owner().KeyPressedOrRepeated(32)) Click();
  TKestControl::KeyRepeat();
}

bool TKestButton::Update(std::int32_t frame_time) {
  if (press_state_ == -1) return true;
  SizeIfDirty();
  const bool finished = motion_ ? motion_->Step(frame_time, MotionRepeats()) : Animate(frame_time);
  if (!finished || state_ != kClicked) return false;
  if (AutoScrap()) return true;
  RaiseEvent(PR_ONPLAYEND, {}, Duplicates::Queue);
  // The clicked picture played once: on to the state asked for meanwhile.
  const std::int32_t next = after_click_;
  ChangeState(kNormal);
  SetState(next);
  return false;
}

void TKestButton::SetSelected(bool selected) {
  if (selected == selected_ || (selected && group_ == 0)) return;
  selected_ = selected;
  SetState(selected ? kPressed : kNormal);
  UpdateGroup();
}

void TKestButton::SetAllowAllUp(bool allow) {
  if (parent_ && group_ != 0) {
    for (TKestControl* sibling : parent_->Children())
      if (auto* button = dynamic_cast<TKestButton*>(sibling); button && button->group_ == group_)
        button->allow_all_up_ = allow;
  }
  allow_all_up_ = allow;
  UpdateGroup();
}

void TKestButton::UpdateGroup() {
  if (group_ == 0 || !parent_) return;
  std::vector<TKestButton*> members;
  for (TKestControl* sibling : parent_->Children())
    if (auto* button = dynamic_cast<TKestButton*>(sibling); button && button->group_ == group_)
      members.push_back(button);
  std::ptrdiff_t chosen = -1;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (members[i] == this && selected_) {
      chosen = static_cast<std::ptrdiff_t>(i);
      break;
    }
  }
  if (chosen < 0)
    for (std::size_t i = 0; i < members.size() && chosen < 0; ++i)
      if (members[i]->selected_) chosen = static_cast<std::ptrdiff_t>(i);
  if (chosen < 0 && !allow_all_up_ && !members.empty()) chosen = 0;
  for (std::size_t i = 0; i < members.size(); ++i) {
    const bool want = static_cast<std::ptrdiff_t>(i) == chosen;
    if (members[i]->selected_ == want) continue;
    members[i]->selected_ = want;
    members[i]->SetState(want ? kPressed : kNormal);
  }
}

std::optional<PropValue> TKestButton::ReadProperty(std::uint8_t id) const {
  if (const std::int32_t s = StateOfSource(id); s >= 0) return const_cast<TKestButton*>(this)->SourceOf(s);
  switch (id) {
    case PR_GROUPINDEX: return group_;
    case PR_SELECTED: return selected_;
    case PR_ALLOWALLUP: return allow_all_up_;
    case PR_REPEAT: return state_ != kClicked && repeat_;
    default: return TKestImages::ReadProperty(id);
  }
}

void TKestButton::WriteProperty(std::uint8_t id, const PropValue& value) {
  if (const std::int32_t s = StateOfSource(id); s >= 0) {
    SetStateSource(s, AsStr(value));
    return;
  }
  switch (id) {
    case PR_GROUPINDEX:
      group_ = AsInt(value);
      UpdateGroup();
      return;
    case PR_SELECTED: SetSelected(AsBool(value)); return;
    case PR_ALLOWALLUP: SetAllowAllUp(AsBool(value)); return;
    default: TKestImages::WriteProperty(id, value); return;
  }
}

void TKestButton::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestImages::SaveToStream(out, version);
  const auto text = [this](std::uint8_t id) { return AsStr(ReadProperty(id).value_or(std::string())); };
  out.LString(sources_[kHover]);
  out.LString(sources_[kPressed]);
  out.I32(group_);
  out.Bool(selected_);
  out.Bool(allow_all_up_);
  out.LString(text(PR_ONNOTIFY));
  if (version < 104) return;
  out.LString(text(PR_ONIDLE));
  out.LString(sources_[kClicked]);
}

void TKestButton::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestImages::LoadFromStream(in, version, depth);
  const std::string hover = in.LString();
  const std::string pressed = in.LString();
  group_ = in.I32();
  const bool selected = in.Bool();
  allow_all_up_ = in.Bool();
  stored_[PR_ONNOTIFY] = in.LString();
  std::string clicked;
  if (version >= 104) {
    stored_[PR_ONIDLE] = in.LString();
    clicked = in.LString();
  }
  SetStateSource(kHover, hover);
  SetStateSource(kPressed, pressed);
  SetStateSource(kClicked, clicked);
  SetSelected(selected);
  press_state_ = 0;
  ApplyLoadedFrame();
}

}  // namespace kest
