#include "objects/object.h"

#include <algorithm>
#include <array>

#include "core/cp932.h"
#include "objects/components/motion.h"
#include "objects/property_table.h"
#include "objects/rect64.h"
#include "objects/scene_list.h"
#include "params/conversions.h"

namespace kest {

namespace {

// The general events of a control, in the order of its handler slots.
constexpr std::array<std::uint8_t, 14> kControlEvents = {PR_ONMOUSEMOVE, PR_ONMOUSEIN,  PR_ONMOUSEOUT, PR_ONLBTNDOWN,
                                                        PR_ONLBTNUP,    PR_ONRBTNDOWN, PR_ONRBTNUP,   PR_ONWHEELDOWN,
                                                        PR_ONWHEELUP,   PR_ONKEYDOWN,  PR_ONKEYUP,    PR_ONKEYREPEAT,
                                                        PR_ONFOCUSIN,   PR_ONFOCUSOUT};

// The name a control gives to another one that carries the name it takes: the stem is the
// name without a trailing "_N" (N > 1), counting starts at N; without one, the whole name
// and 2. object0 -> object0_2, btn_3 -> btn_4, btn_1 -> btn_1_2.
std::string NameAfterCollision(const TKestBaseList& list, const std::string& taken) {
  std::string stem = taken;
  std::int64_t number = 2;
  // Underscores that are characters (not trail bytes), after the first character.
  std::vector<std::size_t> underscores;
  for (std::size_t i = 0; i < taken.size(); i += cp932::CharLength(taken, i))
    if (i > 0 && taken[i] == '_') underscores.push_back(i);
  for (auto it = underscores.rbegin(); it != underscores.rend(); ++it) {
    const std::string_view digits = std::string_view(taken).substr(*it + 1);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const std::int64_t value = std::stoll(std::string(digits));
    if (value <= 1) continue;
    stem = taken.substr(0, *it);
    number = value;
    break;
  }
  for (;; ++number) {
    std::string candidate = stem + "_" + std::to_string(number);
    if (list.FindNamed(candidate, nullptr) == nullptr) return candidate;
  }
}

bool IsInternalName(const std::string& name) { return !name.empty() && name[0] == '\x01'; }

// Sorting group: internal names first, ordinary names, then the name 0x01 0x01 last.
int SortGroup(const std::string& name) {
  if (name == "\x01\x01") return 2;
  return IsInternalName(name) ? 0 : 1;
}

}  // namespace

// ---------------------------------------------------------------- TKestObject

TKestObject::TKestObject(TKestBaseList& owner, std::uint8_t kind)
    : owner_(owner), id_(owner.next_id_++), kind_(kind) {}

void TKestObject::SetName(const std::string& name) {
  if (name == name_) return;
  // A non-visual object takes the name; the object that carried it goes.
  if (TKestObject* other = owner_.FindNamed(name, this)) owner_.MarkPendingDelete(*other);
  TakeName(name);
}

void TKestObject::TakeName(std::string name) {
  owner_.Reindex(*this, name);
  name_ = std::move(name);
}

void TKestObject::SetPriority(std::int32_t priority) {
  if (priority == priority_) return;
  priority_ = priority;
  priority_offset_ = 0;
  if (TKestControl* self = AsControl()) {
    if (self->Parent()) self->Parent()->SortChildren();
    self->Invalidate();
  }
}

void TKestObject::SetPriorityOffset(std::int32_t offset) {
  if (offset == priority_offset_) return;
  priority_offset_ = offset;
  if (TKestControl* self = AsControl()) {
    if (self->Parent()) self->Parent()->SortChildren();
    self->Invalidate();
  }
}

std::optional<PropValue> TKestObject::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_NAME: return name_;
    case PR_TAG: return tag_;
    case PR_PRIORITY: return priority_;
    case PR_COMPOTYPE: return static_cast<std::int32_t>(kind_);
    default: break;
  }
  const auto it = stored_.find(id);
  if (it == stored_.end()) return std::nullopt;
  return it->second;
}

void TKestObject::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_NAME: SetName(AsStr(value)); return;
    case PR_TAG: tag_ = AsStr(value); return;
    case PR_PRIORITY: SetPriority(AsInt(value)); return;
    default: stored_[id] = value; return;
  }
}

std::string TKestObject::EventHandler(std::uint8_t id) const {
  if (!Implements(*this, id)) return {};
  const std::optional<PropValue> value = ReadProperty(id);
  return value ? AsStr(*value) : std::string();
}

bool TKestObject::IsPaused() const {
  if (!Implements(*this, PR_PAUSED)) return false;
  const std::optional<PropValue> value = ReadProperty(PR_PAUSED);
  return value && AsBool(*value);
}

bool TKestObject::AutoScrap() const {
  if (!Implements(*this, PR_AUTOSCRAP)) return false;
  const std::optional<PropValue> value = ReadProperty(PR_AUTOSCRAP);
  return value && AsBool(*value);
}

bool TKestObject::HasWaitingEvent(std::uint8_t id) const {
  const TTimerList& events = owner_.Events();
  for (std::size_t i = 0; i < events.Count(); ++i)
    if (events[i].EventLevel == 0 && events[i].Sender == id_ && events[i].EventId == id) return true;
  return false;
}

bool TKestObject::RaiseEvent(std::uint8_t id, std::vector<std::string> args, Duplicates duplicates) {
  std::string handler = EventHandler(id);
  if (handler.empty() || IsBusy()) return false;
  // Only a waiting entry counts as a duplicate: a handler that is running (and perhaps
  // yielding) may be queued again, once.
  if (duplicates == Duplicates::Skip && HasWaitingEvent(id)) return false;
  owner_.Events().Add({std::move(handler), id_, id, 0, std::move(args)});
  return true;
}

// ---------------------------------------------------------------- TKestControl

TKestControl::TKestControl(TKestBaseList& owner, std::uint8_t kind)
    : TKestComponent(owner, kind), events_(kControlEvents.size()) {
  if (owner.FocusObject() == nullptr) owner.RequestRefocus();
}

TKestControl::~TKestControl() = default;

std::size_t TKestControl::EventSlot(std::uint8_t id) const {
  const auto it = std::find(kControlEvents.begin(), kControlEvents.end(), id);
  return it == kControlEvents.end() ? kControlEvents.size() : static_cast<std::size_t>(it - kControlEvents.begin());
}

void TKestControl::SetName(const std::string& name) {
  if (name == Name()) return;
  // The control takes the name; the object that carried it is renamed out of the way.
  if (TKestObject* other = Owner().FindNamed(name, this)) other->TakeName(NameAfterCollision(Owner(), name));
  TakeName(name);
}

std::optional<PropValue> TKestControl::ReadProperty(std::uint8_t id) const {
  const std::size_t slot = EventSlot(id);
  if (slot < events_.size()) return events_[slot];
  switch (id) {
    case PR_PARENT: return parent_ ? parent_->Name() : std::string();
    case PR_LEFT: return left_;
    case PR_TOP: return top_;
    case PR_WIDTH: return width_;
    case PR_HEIGHT: return height_;
    case PR_COLOR: return color_;
    case PR_OFFSETX: return offset_x_;
    case PR_OFFSETY: return offset_y_;
    case PR_VISIBLE: return GetVisible();
    case PR_IGNOREMOUSE: return static_cast<std::int32_t>(ignore_mouse_);
    case PR_CURSOR: return cursor_;
    case PR_POSZOOMED: return pos_zoomed_;
    case PR_CLIPLEFT: return clip_left_;
    case PR_CLIPTOP: return clip_top_;
    case PR_CLIPWIDTH: return clip_width_;
    case PR_CLIPHEIGHT: return clip_height_;
    case PR_ANIPAUSED:
      if (IsInternalName(Name()) && parent_) return parent_->ReadProperty(PR_ANIPAUSED);
      return ani_paused_;
    case PR_PLAYING: return false;
    case PR_HANDLEKEY: return handle_key_;
    case PR_PLUSX: return plus_x_;
    case PR_PLUSY: return plus_y_;
    default: return TKestComponent::ReadProperty(id);
  }
}

void TKestControl::WriteProperty(std::uint8_t id, const PropValue& value) {
  const std::size_t slot = EventSlot(id);
  if (slot < events_.size()) {
    events_[slot] = AsStr(value);
    return;
  }
  switch (id) {
    case PR_PARENT:
      if (TKestControl* parent = Owner().FindControl(AsStr(value))) SetParent(parent);
      return;
    case PR_LEFT: SetLeft(AsInt(value)); return;
    case PR_TOP: SetTop(AsInt(value)); return;
    case PR_WIDTH: SetWidth(AsInt(value)); return;
    case PR_HEIGHT: SetHeight(AsInt(value)); return;
    case PR_COLOR: SetColor(AsInt(value)); return;
    case PR_OFFSETX: SetOffsetX(AsInt(value)); return;
    case PR_OFFSETY: SetOffsetY(AsInt(value)); return;
    case PR_VISIBLE: SetVisible(AsBool(value)); return;
    case PR_IGNOREMOUSE: ignore_mouse_ = static_cast<std::uint8_t>(AsInt(value)); return;
    case PR_CURSOR: cursor_ = AsStr(value); return;
    case PR_POSZOOMED:
      if (AsBool(value) != pos_zoomed_) {
        Invalidate();
        pos_zoomed_ = AsBool(value);
        Invalidate();
      }
      return;
    case PR_CLIPLEFT: SetClip(AsInt(value), clip_top_, clip_width_, clip_height_); return;
    case PR_CLIPTOP: SetClip(clip_left_, AsInt(value), clip_width_, clip_height_); return;
    case PR_CLIPWIDTH: SetClip(clip_left_, clip_top_, AsInt(value), clip_height_); return;
    case PR_CLIPHEIGHT: SetClip(clip_left_, clip_top_, clip_width_, AsInt(value)); return;
    case PR_ANIPAUSED: ani_paused_ = AsBool(value); return;
    case PR_HANDLEKEY: SetHandleKey(AsBool(value)); return;
    case PR_PLUSX: SetPlusX(AsInt(value)); return;
    case PR_PLUSY: SetPlusY(AsInt(value)); return;
    default: TKestComponent::WriteProperty(id, value); return;
  }
}

// ---- tree

void TKestControl::SetParent(TKestControl* parent) {
  if (parent == parent_) return;
  for (const TKestControl* walk = parent; walk; walk = walk->parent_)
    if (walk == this) return;  // would make a cycle
  Invalidate();
  if (parent_) {
    parent_->RemoveChild(*this);
    parent_ = nullptr;
  }
  parent_ = parent;
  if (parent_) {
    parent_->AddChild(*this);
    parent_->SortChildren();
  }
  Invalidate();
  // The focus may have left the active screen with this subtree.
  TKestBaseList& list = Owner();
  TKestControl* focus = list.FocusObject();
  const bool on_active = GetBase() == &list.ActiveScreen();
  if (focus == nullptr || (focus != this && !ContainsObject(*focus))) {
    if (focus == nullptr && on_active) {
      list.ClearFocus();
      list.RequestRefocus();
    }
  } else if (!on_active) {
    list.ClearFocus();
    list.RequestRefocus();
  }
}

void TKestControl::AddChild(TKestControl& child) { children_.push_back(&child); }

void TKestControl::RemoveChild(TKestControl& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
}

void TKestControl::SortChildren() {
  std::stable_sort(children_.begin(), children_.end(), [](const TKestControl* a, const TKestControl* b) {
    const int group_a = SortGroup(a->Name()), group_b = SortGroup(b->Name());
    if (group_a != group_b) return group_a < group_b;
    const std::int64_t sum_a = std::int64_t{a->Priority()} + a->PriorityOffset();
    const std::int64_t sum_b = std::int64_t{b->Priority()} + b->PriorityOffset();
    if (sum_a != sum_b) return sum_a < sum_b;
    return a->Name() < b->Name();  // byte by byte, as unsigned bytes
  });
}

bool TKestControl::ContainsObject(const TKestControl& object) const {
  for (const TKestControl* walk = object.parent_; walk; walk = walk->parent_)
    if (walk == this) return true;
  return false;
}

TKestBase* TKestControl::GetBase() { return parent_ ? parent_->GetBase() : nullptr; }

bool TKestControl::IsInCabinet() const {
  return parent_ && (parent_->IsCabinet() || parent_->IsInCabinet());
}

// ---- geometry

void TKestControl::SetLeft(std::int32_t value) {
  if (value != left_) {
    Invalidate();
    left_ = value;
    if (!motion_) motion_x_ = 0;
    Invalidate();
  }
  PositionChanged();
}

void TKestControl::SetTop(std::int32_t value) {
  if (value != top_) {
    Invalidate();
    top_ = value;
    if (!motion_) motion_y_ = 0;
    Invalidate();
  }
  PositionChanged();
}

namespace {
template <typename T>
void ChangeWithInvalidate(TKestControl& control, T& field, T value) {
  if (value == field) return;
  control.Invalidate();
  field = value;
  control.Invalidate();
}
}  // namespace

void TKestControl::SetWidth(std::int32_t value) { ChangeWithInvalidate(*this, width_, value); }
void TKestControl::SetHeight(std::int32_t value) { ChangeWithInvalidate(*this, height_, value); }
void TKestControl::SetPlusX(std::int32_t value) { ChangeWithInvalidate(*this, plus_x_, value); }
void TKestControl::SetPlusY(std::int32_t value) { ChangeWithInvalidate(*this, plus_y_, value); }

void TKestControl::SetOffsetX(std::int32_t value) {
  ChangeWithInvalidate(*this, offset_x_, value);
  PositionChanged();
}

void TKestControl::SetOffsetY(std::int32_t value) {
  ChangeWithInvalidate(*this, offset_y_, value);
  PositionChanged();
}

void TKestControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
}

void TKestControl::SetClip(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  if (left == clip_left_ && top == clip_top_ && width == clip_width_ && height == clip_height_) return;
  Invalidate();
  clip_left_ = left;
  clip_top_ = top;
  clip_width_ = width;
  clip_height_ = height;
  Invalidate();
  ClipChanged();
}

namespace {
// A value scaled by a zoom in 256ths, truncated toward zero (unchanged at 256).
std::int64_t Zoomed(std::int64_t value, std::int32_t zoom) { return zoom == 256 ? value : value * zoom / 256; }
}  // namespace

std::int64_t TKestControl::AnchorTermX() const {
  const std::int64_t scaled = Zoomed(offset_x_, ZoomXValue());
  return FlipHValue() ? std::int64_t{width_} - 1 - scaled : scaled;
}

std::int64_t TKestControl::AnchorTermY() const {
  const std::int64_t scaled = Zoomed(offset_y_, ZoomYValue());
  return FlipVValue() ? std::int64_t{height_} - 1 - scaled : scaled;
}

std::int64_t TKestControl::PositionTermX() const {
  if (motion_) return motion_x_;
  return pos_zoomed_ ? Zoomed(left_, ZoomXValue()) : left_;
}

std::int64_t TKestControl::PositionTermY() const {
  if (motion_) return motion_y_;
  return pos_zoomed_ ? Zoomed(top_, ZoomYValue()) : top_;
}

std::int64_t TKestControl::GetScreenOriginX() const {
  const std::int64_t local = PositionTermX() + plus_x_;
  return parent_ ? local + parent_->GetScreenLeft() - parent_->ScrollX() : local;
}

std::int64_t TKestControl::GetScreenOriginY() const {
  const std::int64_t local = PositionTermY() + plus_y_;
  return parent_ ? local + parent_->GetScreenTop() - parent_->ScrollY() : local;
}

std::int64_t TKestControl::GetScreenLeft() const { return GetScreenOriginX() - AnchorTermX(); }

std::int64_t TKestControl::GetScreenTop() const { return GetScreenOriginY() - AnchorTermY(); }

Rect TKestControl::GetScreenRect() const { return MakeRect(GetScreenLeft(), GetScreenTop(), width_, height_); }

std::optional<Rect> TKestControl::ScreenClipRect() const {
  if (clip_width_ < 1 || clip_height_ < 1) return std::nullopt;
  return MakeRect(GetScreenLeft() + clip_left_, GetScreenTop() + clip_top_, clip_width_, clip_height_);
}

// ---- visibility

bool TKestControl::GetVisible() const { return visible_ && parent_ && parent_->GetVisible(); }

void TKestControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  TKestBaseList& list = Owner();
  if (!visible) {
    Invalidate();
    visible_ = false;
    TKestControl* focus = list.FocusObject();
    if (focus && (focus == this || ContainsObject(*focus))) {
      list.ClearFocus();
      list.RequestRefocus();
    }
  } else {
    visible_ = true;
    Invalidate();
    if (list.FocusObject() == nullptr) list.RequestRefocus();
  }
}

void TKestControl::SetColor(std::int32_t colour) {
  if (colour == color_) return;
  color_ = colour;
  Invalidate();
}

void TKestControl::SetHandleKey(bool value) {
  if (value == handle_key_) return;
  handle_key_ = value;
  TKestBaseList& list = Owner();
  if (value && list.FocusObject() == nullptr) list.RequestRefocus();
  if (!value && list.FocusObject() == this) list.RequestRefocus();
}

bool TKestControl::IsShownOnActiveScreen() {
  if (!GetVisible() || GetBase() != &Owner().ActiveScreen()) return false;
  for (const TKestControl* walk = parent_; walk; walk = walk->parent_)
    if (!walk->GetVisible()) return false;
  return true;
}

// ---- drawing

void TKestControl::Invalidate() {
  TKestBase* base = GetBase();
  if (!GetVisible() || base == nullptr) return;
  Rect r = GetScreenRect();
  if (parent_) {
    r = Intersect(r, parent_->GetScreenRect());
    if (r.IsEmpty()) return;
  }
  if (const std::optional<Rect> clip = ScreenClipRect()) {
    r = Intersect(r, *clip);
    if (r.IsEmpty()) return;
  }
  if (parent_) parent_->ChildInvalidated(r);
  base->AddDirtyRect(r);
}

void TKestControl::ChildInvalidated(const Rect& r) {
  if (parent_) parent_->ChildInvalidated(r);
}

TCustomDIBX* TKestControl::GetDrawTarget() { return parent_ ? parent_->GetDrawTarget() : nullptr; }

void TKestControl::Paint(TCustomDIBX& target) {
  PaintSelf(target);
  PaintChildren(target);
}

void TKestControl::PaintSelf(TCustomDIBX& /*target*/) {
  if (!IsBuilt()) Owner().NoteUnbuiltKind(GetCompoType());
}

void TKestControl::PaintChildren(TCustomDIBX& target) {
  const ClipState saved = target.Clip();
  const Rect limit = saved.active ? saved.rect : target.Bounds();
  const Rect r = Intersect(GetScreenRect(), limit);
  if (!r.IsEmpty()) {
    // Children may be freed only between frames, so the list is stable while painting.
    for (TKestControl* child : children_) {
      if (!child->GetVisible()) continue;
      Rect cr = r;
      if (const std::optional<Rect> clip = child->ScreenClipRect()) {
        cr = Intersect(cr, *clip);
        if (cr.IsEmpty()) continue;
      }
      target.SetClip({cr, true});
      child->Paint(target);
      target.SetClip(saved);
    }
  }
  target.SetClip(saved);
}

void TKestControl::ClipChanged() {
  for (TKestControl* child : children_) child->ClipChanged();
}

void TKestControl::PositionChanged() {
  for (TKestControl* child : children_) child->PositionChanged();
}

// ---- input

TKestControl* TKestControl::HitTest(std::int64_t x, std::int64_t y, MouseModes modes) {
  if (!GetVisible()) return nullptr;
  const Rect r = GetScreenRect();
  if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) return nullptr;
  TKestControl* candidate = (ignore_mouse_ < 8 && (modes & (1u << ignore_mouse_)) != 0) ? this : nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if (TKestControl* hit = (*it)->HitTest(x, y, modes)) return hit;
  return candidate;
}

std::vector<std::string> TKestControl::RelativePointer() {
  TKestBase* base = GetBase();
  if (!base) return {"0", "0"};
  return {IntToText(Clamp32(base->PointerX() - GetScreenLeft())), IntToText(Clamp32(base->PointerY() - GetScreenTop()))};
}

void TKestControl::LBtnDown() {
  TKestBase* base = GetBase();
  const bool takes_left = ignore_mouse_ == IM_NONE || ignore_mouse_ == IM_RCLICK;
  if (takes_left && !IsPaused() && !HasWaitingEvent(PR_ONLBTNDOWN) && !IsScreen() && !IsBusy()) {
    RaiseEvent(PR_ONLBTNDOWN, RelativePointer(), Duplicates::Queue);
    if (base) {
      base->capture_flags |= 4;
      base->left_click = false;
    }
  } else if (!IsScreen() && takes_left && base) {
    base->left_click = false;
  }
}

void TKestControl::RBtnDown() {
  TKestBase* base = GetBase();
  const bool takes_right = ignore_mouse_ == IM_NONE || ignore_mouse_ == IM_LCLICK;
  if (takes_right && !IsPaused() && !HasWaitingEvent(PR_ONRBTNDOWN) && !IsScreen() && !IsBusy()) {
    RaiseEvent(PR_ONRBTNDOWN, RelativePointer(), Duplicates::Queue);
    if (base) {
      base->capture_flags |= 8;
      base->right_click = false;
    }
  } else if (!IsScreen() && takes_right && base) {
    base->right_click = false;
  }
}

void TKestControl::LBtnUp() {
  if (!IsBusy()) RaiseEvent(PR_ONLBTNUP, RelativePointer(), Duplicates::Queue);
  if (TKestBase* base = GetBase()) base->capture_flags &= static_cast<std::uint8_t>(~4);
}

void TKestControl::RBtnUp() {
  if (!IsBusy()) RaiseEvent(PR_ONRBTNUP, RelativePointer(), Duplicates::Queue);
  if (TKestBase* base = GetBase()) base->capture_flags &= static_cast<std::uint8_t>(~8);
}

void TKestControl::MouseMove() { RaiseEvent(PR_ONMOUSEMOVE, RelativePointer(), Duplicates::Skip); }
void TKestControl::MouseIn(TKestControl*) { RaiseEvent(PR_ONMOUSEIN, {}, Duplicates::Queue); }
void TKestControl::MouseOut(TKestControl*) { RaiseEvent(PR_ONMOUSEOUT, {}, Duplicates::Queue); }

void TKestControl::KeyDown() {
  if (!IsPaused() && !IsScreen()) RaiseEvent(PR_ONKEYDOWN, {}, Duplicates::Skip);
}
void TKestControl::KeyUp() {
  if (!IsPaused() && !IsScreen()) RaiseEvent(PR_ONKEYUP, {}, Duplicates::Skip);
}
void TKestControl::KeyRepeat() {
  if (!IsPaused() && !IsScreen()) RaiseEvent(PR_ONKEYREPEAT, {}, Duplicates::Skip);
}

// ---- motion files

bool TKestControl::LoadMotion(const std::string& name) {
  DropMotion();
  std::unique_ptr<TMotionFrames> frames = Owner().LoadMotionFrames(*this, name);
  if (!frames) return false;
  Invalidate();
  motion_ = std::make_unique<TKestMotion>(*this, std::move(frames));
  return true;
}

void TKestControl::RestartMotion() {
  if (motion_) motion_->Restart();
}

void TKestControl::DropMotion() {
  if (!motion_) return;
  Invalidate();
  motion_.reset();
  motion_x_ = 0;
  motion_y_ = 0;
  SetPriorityOffset(0);
  Invalidate();
}

void TKestControl::SetMotionPosition(std::int32_t x, std::int32_t y) {
  if (x == motion_x_ && y == motion_y_) return;
  Invalidate();
  motion_x_ = x;
  motion_y_ = y;
  Invalidate();
  PositionChanged();
}

bool TKestControl::Update(std::int32_t frame_time) {
  if (!motion_ || !motion_->Step(frame_time, MotionRepeats())) return false;
  if (AutoScrap()) return true;
  RaiseEvent(PR_ONPLAYEND, {}, Duplicates::Queue);
  return false;
}

void TKestControl::RaisePlayEnd() { RaiseEvent(PR_ONPLAYEND, {}, Duplicates::Skip); }

TKestControl* TKestControl::FindKeyTarget() {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if ((*it)->GetVisible())
      if (TKestControl* target = (*it)->FindKeyTarget()) return target;
  if (handle_key_ && !IsPaused()) return this;
  return nullptr;
}

}  // namespace kest
