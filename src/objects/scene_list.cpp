#include "objects/scene_list.h"

#include "objects/components/motion_film.h"

#include <algorithm>
#include <optional>

#include "images/zelk_cache.h"
#include "objects/components.h"
#include "objects/property_table.h"
#include "objects/rect64.h"

namespace kest {

namespace {

// Two rectangles within this many pixels of each other are repainted as one.
constexpr std::int32_t kNearGap = 20;

bool IsNear(const Rect& s, const Rect& r) {
  return !(std::int64_t{s.right} + kNearGap < r.left || std::int64_t{s.bottom} + kNearGap < r.top ||
           r.right < std::int64_t{s.left} - kNearGap || r.bottom < std::int64_t{s.top} - kNearGap);
}

}  // namespace

// ---------------------------------------------------------------- TKestBase

TKestBase::TKestBase(TKestBaseList& owner, int index) : TKestControl(owner, LT_NONE) {
  AssignName(index == 0 ? "BASE0" : "BASE1");
}

TCustomDIBX* TKestBase::GetSurface() {
  TKestBaseList& list = Owner();
  if (&list.ActiveScreen() == this && !list.TransitionRunning()) return &list.Surface();
  return &surface_;
}

void TKestBase::Resize(std::int32_t width, std::int32_t height) {
  width_ = width;
  height_ = height;
  surface_.SetSize(width, height, 32);
}

void TKestBase::AddDirtyRect(const Rect& rect) {
  Rect r = Intersect(rect, Rect{0, 0, width_, height_});
  if (r.IsEmpty()) return;
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = dirty_.begin(); it != dirty_.end(); ++it) {
      if (!IsNear(*it, r)) continue;
      if (Inside(r, *it)) return;
      r = Union(r, *it);
      dirty_.erase(it);
      merged = true;
      break;
    }
  }
  dirty_.push_back(r);
}

void TKestBase::AddWholeRect() { AddDirtyRect(MakeRect(left_, top_, width_, height_)); }

void TKestBase::SetMouseState(std::int32_t x, std::int32_t y) {
  if (x != pointer_x_ || y != pointer_y_) pointer_moved = true;
  pointer_x_ = x;
  pointer_y_ = y;
}

void TKestBase::Paint(TCustomDIBX& target) {
  // A screen draws only through PaintDirty; drawing it as a child never happens.
  PaintChildren(target);
}

void TKestBase::PaintDirty() {
  TCustomDIBX* target = GetSurface();
  if (!visible_ || target == nullptr || target->IsEmpty()) return;
  const Rect own = MakeRect(left_, top_, width_, height_);
  for (const Rect& dirty : dirty_) {
    target->SetClip({dirty, true});
    Rect background = own;
    if (const std::optional<Rect> clip = ScreenClipRect()) background = Intersect(background, *clip);
    // A screen without a colour clears to black, so what was drawn before never shows through.
    target->FillRect(background, static_cast<std::uint32_t>(target->ColorToPixel(color_ >= 0 ? color_ : 0)));
    PaintChildren(*target);
  }
  target->ResetClip();
}

// ---------------------------------------------------------------- TKestBaseList

TKestBaseList::TKestBaseList(std::int32_t width, std::int32_t height) {
  MakeScreens();
  SetSize(width, height);
}

TKestBaseList::~TKestBaseList() { FreeAll(); }

void TKestBaseList::MakeScreens() {
  for (int i = 0; i < 2; ++i) {
    screens_[static_cast<std::size_t>(i)] = std::make_unique<TKestBase>(*this, i);
    by_id_[screens_[static_cast<std::size_t>(i)]->Id()] = screens_[static_cast<std::size_t>(i)].get();
  }
}

void TKestBaseList::FreeAll() {
  transition_.reset();
  events_.Clear();
  // Children first is not needed here: every object goes at once and no links are followed.
  for (auto& object : objects_)
    if (TKestControl* control = object->AsControl()) control->children_.clear();
  objects_.clear();
  by_id_.clear();
  by_name_.clear();
  auto_name_floor_ = 0;
  pending_.clear();
  stand_ins_.clear();
  screens_ = {};
  focus_ = kNoObject;
  update_cursor_ = 0;
}

void TKestBaseList::SetSize(std::int32_t width, std::int32_t height) {
  width_ = std::clamp(width, 0, kMaxSurfaceSide);
  height_ = std::clamp(height, 0, kMaxSurfaceSide);
  surface_.SetSize(width_, height_, 32);
  for (auto& screen : screens_) {
    screen->Resize(width_, height_);
    screen->AddWholeRect();
  }
}

std::string TKestBaseList::ObjectName(ObjectId object) const {
  if (const TKestObject* found = Resolve(object)) return found->Name();
  const auto stand_in = stand_ins_.find(object);
  return stand_in == stand_ins_.end() ? std::string() : stand_in->second;
}

ObjectId TKestBaseList::StandInSender(std::string_view name) {
  if (!name.empty())
    if (const TKestObject* object = FindComponent(name)) return object->Id();
  for (const auto& [id, stand_in_name] : stand_ins_)
    if (stand_in_name == name) return id;
  const ObjectId id = next_id_++;
  stand_ins_.emplace(id, std::string(name));
  return id;
}

TKestObject* TKestBaseList::Resolve(ObjectId id) const {
  const auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : it->second;
}

TKestObject* TKestBaseList::CreateByKind(std::uint8_t kind_byte) {
  std::unique_ptr<TKestObject> object = MakeObjectOfKind(*this, static_cast<std::uint8_t>(kind_byte & 0x7F));
  if (!object) return nullptr;
  return &Adopt(std::move(object));
}

namespace {
constexpr std::string_view kAutoPrefix = "object";

// N when `name` is "object" followed by N in its shortest decimal form.
std::optional<std::uint64_t> AutoNameNumber(std::string_view name) {
  if (name.substr(0, kAutoPrefix.size()) != kAutoPrefix) return std::nullopt;
  const std::string_view digits = name.substr(kAutoPrefix.size());
  if (digits.empty() || digits.size() > 18 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}
}  // namespace

void TKestBaseList::Reindex(const TKestObject& object, const std::string& name) {
  if (!object.Name().empty()) {
    const auto it = by_name_.find(object.Name());
    if (it != by_name_.end()) {
      std::erase(it->second, object.Id());
      if (it->second.empty()) {
        by_name_.erase(it);
        // A released automatic name can be given again.
        if (const std::optional<std::uint64_t> n = AutoNameNumber(object.Name()))
          auto_name_floor_ = std::min(auto_name_floor_, *n);
      }
    }
  }
  if (!name.empty()) by_name_[name].push_back(object.Id());
}

TKestObject* TKestBaseList::FindNamed(std::string_view name, const TKestObject* except) const {
  const auto it = by_name_.find(std::string(name));
  if (it == by_name_.end()) return nullptr;
  TKestObject* first = nullptr;
  for (ObjectId id : it->second) {
    TKestObject* object = Resolve(id);
    if (object == nullptr || object == except) continue;
    if (first == nullptr || object->Id() < first->Id()) first = object;
  }
  return first;
}

TKestObject* TKestBaseList::FindComponent(std::string_view name) const {
  if (name.empty() || name == "BASE0") return screens_[static_cast<std::size_t>(active_)].get();
  if (name == "\x01" || name == "BASE1") return screens_[static_cast<std::size_t>(active_ ^ 1)].get();
  return FindNamed(name, nullptr);
}

TKestControl* TKestBaseList::FindControl(std::string_view name) const {
  if (name.empty()) return screens_[static_cast<std::size_t>(active_)].get();
  if (name == "\x01") return screens_[static_cast<std::size_t>(active_ ^ 1)].get();
  if (name == "BASE0") return screens_[0].get();
  if (name == "BASE1") return screens_[1].get();
  const auto it = by_name_.find(std::string(name));
  if (it == by_name_.end()) return nullptr;
  TKestControl* first = nullptr;
  for (ObjectId id : it->second) {
    TKestObject* object = Resolve(id);
    if (object && object->IsControl() && (first == nullptr || id < first->Id())) first = object->AsControl();
  }
  return first;
}

std::string TKestBaseList::UniqueName(std::string_view prefix) {
  const bool automatic = prefix == kAutoPrefix;
  for (std::uint64_t n = automatic ? auto_name_floor_ : 0;; ++n) {
    std::string candidate = std::string(prefix) + std::to_string(n);
    if (by_name_.find(candidate) != by_name_.end()) continue;
    if (automatic) auto_name_floor_ = n;
    return candidate;
  }
}

std::int32_t TKestBaseList::ListNames(std::uint8_t kind, const TKestControl* parent,
                                      std::vector<std::string>& names) const {
  std::int32_t count = 0;
  for (const auto& object : objects_) {
    if (kind != 0 && object->GetCompoType() != kind) continue;
    if (parent != nullptr) {
      const TKestControl* control = object->IsControl() ? static_cast<const TKestControl*>(object.get()) : nullptr;
      if (control == nullptr || control->Parent() != parent) continue;
    }
    names.push_back(object->Name());
    ++count;
  }
  return count;
}

void TKestBaseList::MarkPendingDelete(TKestObject& object) {
  if (object.IsControl() && object.AsControl()->IsScreen()) return;
  if (std::find(pending_.begin(), pending_.end(), object.Id()) == pending_.end()) pending_.push_back(object.Id());
  object.TakeName({});
}

bool TKestBaseList::IsPendingDelete(const TKestObject& object) const {
  return std::find(pending_.begin(), pending_.end(), object.Id()) != pending_.end();
}

void TKestBaseList::Free(ObjectId id) {
  TKestObject* object = Resolve(id);
  if (object == nullptr) return;
  TKestControl* control = object->AsControl();
  if (control && control->IsScreen()) return;
  if (control) {
    // The area it covered is repainted, so nothing of it stays on screen.
    control->Invalidate();
    const std::vector<TKestControl*> children = control->children_;
    for (TKestControl* child : children) Free(child->Id());
    if (control->parent_) control->parent_->RemoveChild(*control);
    control->parent_ = nullptr;
    if (focus_ == id) {
      focus_ = kNoObject;
      refocus_needed_ = true;
    }
    for (auto& screen : screens_)
      if (screen->hover == id) screen->hover = kNoObject;
  }
  events_.RemoveWaitingOf(id);
  const auto it = std::find_if(objects_.begin(), objects_.end(), [object](const auto& o) { return o.get() == object; });
  if (it != objects_.end()) {
    // The update loop's cursor keeps pointing at the same next object.
    if (static_cast<std::size_t>(it - objects_.begin()) < update_cursor_) --update_cursor_;
    Reindex(*object, {});
    by_id_.erase(id);
    objects_.erase(it);  // destroys the object
  }
}

void TKestBaseList::Update(std::int32_t frame_time) {
  last_frame_time_ = frame_time;
  for (auto& screen : screens_) screen->Update(frame_time);
  for (update_cursor_ = 0; update_cursor_ < objects_.size();) {
    TKestObject& object = *objects_[update_cursor_];
    const ObjectId id = object.Id();
    const bool in_cabinet = object.IsInCabinet();
    if (!in_cabinet) object.RaiseEvent(PR_ONIDLE, {}, Duplicates::Skip);
    if (object.IsPaused() || IsPendingDelete(object) || in_cabinet || !object.Update(frame_time)) {
      ++update_cursor_;
      continue;
    }
    // The object asked to go. Its Update may have freed others already: find it again.
    if (Contains(id)) Free(id);
  }
  const std::vector<ObjectId> pending = std::move(pending_);
  pending_.clear();
  for (ObjectId id : pending) Free(id);
  update_cursor_ = 0;
}

void TKestBaseList::Paint() {
  transition_rect_ = {};
  screens_[0]->PaintDirty();
  screens_[1]->PaintDirty();
  if (transition_) transition_rect_ = transition_->Draw();
}

void TKestBaseList::Draw() {
  Paint();
  present_rects_.clear();
  if (transition_) {
    if (!transition_rect_.IsEmpty()) present_rects_.push_back(transition_rect_);
  } else {
    present_rects_ = ActiveScreen().DirtyRects();
  }
  for (auto& screen : screens_) screen->ClearDirty();
}

void TKestBaseList::Reset() {
  const std::int32_t width = width_, height = height_;
  const std::int32_t x = screens_[0]->PointerX(), y = screens_[0]->PointerY();
  FreeAll();
  MakeScreens();
  SetSize(width, height);
  for (auto& screen : screens_) screen->SetMouseState(x, y);
  for (auto& screen : screens_) screen->pointer_moved = false;
}

void TKestBaseList::FlipScreens(int active, std::int32_t kind, bool reverse, ForceFlip force, std::int32_t elapsed,
                                std::int32_t duration, const TransitionOptions& options) {
  active_ = active & 1;
  if (force == ForceFlip::Yes || (kind != 0 && !transition_)) {
    transition_.reset();
    for (auto& screen : screens_) screen->AddWholeRect();
    if (kind != 0 && transition_factory_) {
      TKestBase& shown = ActiveScreen();
      // The transition starts from the picture on display, which the shown screen painted
      // into the list's surface rather than its own.
      shown.OwnSurface().Assign(surface_);
      transition_ = transition_factory_(
          {kind, reverse, duration, &surface_, &shown.OwnSurface(), &InactiveScreen().OwnSurface(), options});
    }
    TKestControl* focus = FocusObject();
    if (focus == nullptr || focus->GetBase() != &ActiveScreen()) {
      focus_ = kNoObject;
      refocus_needed_ = true;
    }
  }
  transition_kind_ = kind;
  if (transition_) transition_->SetElapsed(elapsed);
}

void TKestBaseList::SetTransitionElapsed(std::int32_t elapsed) {
  if (transition_) transition_->SetElapsed(elapsed);
}

bool TKestBaseList::Dither() const { return image_cache_ ? image_cache_->Flag() : dither_; }

void TKestBaseList::SetDither(bool dither) {
  if (dither == Dither()) return;
  dither_ = dither;
  if (image_cache_) {
    image_cache_->SetFlag(dither);
    // The reload gave pictures new surfaces: motions hand them to their track objects now.
    for (const auto& object : objects_)
      if (TKestControl* control = object->AsControl())
        if (TKestMotion* motion = control->GetMotion()) motion->Reapply();
  }
  Screen(0).AddWholeRect();
  Screen(1).AddWholeRect();
}

std::unique_ptr<TMotionFrames> TKestBaseList::LoadMotionFrames(TKestControl& control, const std::string& name) {
  if (motion_loader_) return motion_loader_(control, name);
  if (image_cache_) return LoadFilmMotion(control, name);
  if (!noted_motion_) {
    noted_motion_ = true;
    Note(name + ": motion files (.kmt) are not played without an image cache");
  }
  return nullptr;
}

void TKestBaseList::NoteUnbuiltKind(std::uint8_t kind) {
  if (kind >= kKindCount || (noted_kinds_ & (1u << kind)) != 0) return;
  noted_kinds_ |= 1u << kind;
  if (notice_) notice_(std::string(KindName(kind)) + ": drawing is not available yet");
}

}  // namespace kest
