// How objects and the scene write themselves into a game save, and read themselves back.
// Every integer is little-endian; a string is an int32 length and its bytes. Fields that a save
// of an older version does not carry keep the values the constructor gave them.

#include <string>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "objects/components/box.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest {

namespace {

// Nesting deeper than this is refused: no title builds trees this deep, and a corrupt stream
// must not exhaust the stack.
constexpr int kMaxObjectDepth = 64;

// The smallest stream an object can have (name length, priority): bounds counts read.
constexpr std::size_t kMinObjectBytes = 1 + 4 + 4;

bool IsInternalName(const std::string& name) { return !name.empty() && name[0] == '\x01'; }

void RequireBuilt(const TKestObject& object) {
  if (!object.IsBuilt())
    throw KestError(std::string(KindName(object.GetCompoType())) + ": saving and loading are not available yet");
}

// Whether an object goes into a save: not marked for deletion, a kind with a code, not internal.
bool IsSaved(const TKestObject& object) {
  return !object.Owner().IsPendingDelete(object) && object.GetCompoType() != LT_NONE &&
         !IsInternalName(object.Name());
}

TKestObject& ReadKindAndCreate(ByteReader& in, TKestBaseList& list) {
  const std::size_t at = in.Position();
  const std::uint8_t kind = in.U8();
  TKestObject* object = list.CreateByKind(kind);
  if (object == nullptr) {
    in.Seek(at);
    in.Fail("object kind " + std::to_string(kind) + " names no class");
  }
  return *object;
}

}  // namespace

// ---------------------------------------------------------------- objects

void TKestObject::SaveToStream(ByteWriter& out, std::int32_t version) const {
  RequireBuilt(*this);
  out.LString(name_);
  out.I32(priority_);
  if (version >= 104) out.I32(priority_offset_);
  if (version >= 120) out.LString(tag_);
}

void TKestObject::LoadFromStream(ByteReader& in, std::int32_t version, int /*depth*/) {
  RequireBuilt(*this);
  // Loading replaces the automatic name; a duplicate in the stream is renamed like a script
  // rename would, so names stay unique.
  SetName(in.LString());
  priority_ = in.I32();
  if (version >= 104) priority_offset_ = in.I32();
  if (version >= 120) tag_ = in.LString();
}

void TKestControl::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestComponent::SaveToStream(out, version);
  for (std::int32_t v : {left_, top_, width_, height_, offset_x_, offset_y_}) out.I32(v);
  out.Bool(pos_zoomed_);
  if (version >= 130)
    for (std::int32_t v : {motion_x_, motion_y_, plus_x_, plus_y_}) out.I32(v);
  if (version >= 104) {
    for (std::int32_t v : {clip_left_, clip_top_, clip_width_, clip_height_}) out.I32(v);
    out.Bool(ani_paused_);
  }
  out.Bool(visible_);
  out.I32(color_);
  for (std::int32_t v : {reserved_rect_.left, reserved_rect_.top, reserved_rect_.right, reserved_rect_.bottom})
    out.I32(v);
  out.U8(ignore_mouse_);
  out.LString(cursor_);
  const auto event = [this](std::uint8_t id) { return events_[EventSlot(id)]; };
  out.LString(event(PR_ONMOUSEMOVE));
  if (version >= 102) out.LString(event(PR_ONMOUSEIN));
  for (std::uint8_t id : {PR_ONMOUSEOUT, PR_ONLBTNDOWN, PR_ONLBTNUP, PR_ONRBTNDOWN, PR_ONRBTNUP, PR_ONWHEELDOWN,
                          PR_ONWHEELUP})
    out.LString(event(id));
  if (version >= 118) {
    out.Bool(handle_key_);
    for (std::uint8_t id : {PR_ONKEYDOWN, PR_ONKEYUP, PR_ONKEYREPEAT, PR_ONFOCUSIN, PR_ONFOCUSOUT})
      out.LString(event(id));
  }
  std::int32_t count = 0;
  for (const TKestControl* child : children_) count += IsSaved(*child) ? 1 : 0;
  out.I32(count);
  for (const TKestControl* child : children_) {
    if (!IsSaved(*child)) continue;
    out.U8(child->GetCompoType());
    child->SaveToStream(out, version);
  }
}

void TKestControl::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  if (depth > kMaxObjectDepth) in.Fail("objects nested deeper than " + std::to_string(kMaxObjectDepth));
  TKestComponent::LoadFromStream(in, version, depth);
  for (std::int32_t* v : {&left_, &top_, &width_, &height_, &offset_x_, &offset_y_}) *v = in.I32();
  pos_zoomed_ = in.Bool();
  if (version >= 130)
    for (std::int32_t* v : {&motion_x_, &motion_y_, &plus_x_, &plus_y_}) *v = in.I32();
  if (version >= 104) {
    for (std::int32_t* v : {&clip_left_, &clip_top_, &clip_width_, &clip_height_}) *v = in.I32();
    ani_paused_ = in.Bool();
  }
  visible_ = in.Bool();
  color_ = in.I32();
  for (std::int32_t* v : {&reserved_rect_.left, &reserved_rect_.top, &reserved_rect_.right, &reserved_rect_.bottom})
    *v = in.I32();
  ignore_mouse_ = in.U8();
  cursor_ = in.LString();
  const auto event = [this](std::uint8_t id) -> std::string& { return events_[EventSlot(id)]; };
  event(PR_ONMOUSEMOVE) = in.LString();
  if (version >= 102) event(PR_ONMOUSEIN) = in.LString();
  for (std::uint8_t id : {PR_ONMOUSEOUT, PR_ONLBTNDOWN, PR_ONLBTNUP, PR_ONRBTNDOWN, PR_ONRBTNUP, PR_ONWHEELDOWN,
                          PR_ONWHEELUP})
    event(id) = in.LString();
  if (version >= 118) {
    handle_key_ = in.Bool();
    for (std::uint8_t id : {PR_ONKEYDOWN, PR_ONKEYUP, PR_ONKEYREPEAT, PR_ONFOCUSIN, PR_ONFOCUSOUT})
      event(id) = in.LString();
  }
  const std::size_t count = in.Count(in.I32(), 1 + kMinObjectBytes, "children");
  for (std::size_t i = 0; i < count; ++i) {
    TKestObject& object = ReadKindAndCreate(in, Owner());
    TKestControl* child = object.AsControl();
    if (child == nullptr) in.Fail("a non-visual object among the children of a control");
    child->SetParent(this);
    child->LoadFromStream(in, version, depth + 1);
  }
  SortChildren();
}

void TKestBox::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestControl::SaveToStream(out, version);
  out.I32(border_width_);
  out.I32(border_color_);
  out.I32(alpha_);
  if (version < 104) return;
  const auto text = [this](std::uint8_t id) { return AsStr(ReadProperty(id).value_or(std::string())); };
  out.LString(text(PR_ONIDLE));
  out.LString(source_);
  out.Bool(repeat_);
  out.U8(0);  // spare
  out.LString(text(PR_ONPLAYEND));
  out.U8(0);  // spare
  out.Bool(ani_paused_);
}

void TKestBox::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestControl::LoadFromStream(in, version, depth);
  border_width_ = in.I32();
  border_color_ = in.I32();
  alpha_ = in.I32();
  if (version < 104) return;
  stored_[PR_ONIDLE] = in.LString();
  const std::string source = in.LString();
  repeat_ = in.Bool();
  in.U8();
  stored_[PR_ONPLAYEND] = in.LString();
  in.U8();
  ani_paused_ = in.Bool();
  SetSource(source);
}

// ---------------------------------------------------------------- the scene

void TKestBaseList::SaveToStream(ByteWriter& out, std::int32_t version) const {
  out.I32(width_);
  out.I32(height_);
  out.I32(active_);
  screens_[0]->SaveToStream(out, version);
  screens_[1]->SaveToStream(out, version);
  std::int32_t count = 0;
  for (const auto& object : objects_) count += !object->IsControl() && IsSaved(*object) ? 1 : 0;
  out.I32(count);
  for (const auto& object : objects_) {
    if (object->IsControl() || !IsSaved(*object)) continue;
    out.U8(object->GetCompoType());
    object->SaveToStream(out, version);
  }
  out.I32(static_cast<std::int32_t>(events_.Count()));
  for (std::size_t i = 0; i < events_.Count(); ++i) {
    const TTimerData& entry = events_[i];
    out.LString(entry.Handler);
    out.LString(ObjectName(entry.Sender));
    out.U8(entry.EventId);
    if (version >= 114)
      out.I32(entry.EventLevel);
    else
      out.U8(entry.EventLevel != 0 ? 1 : 0);
    out.StringList(entry.Args);
  }
  if (version < 119) return;
  const TKestControl* focus = FocusObject();
  out.LString(focus ? focus->Name() : std::string());
}

void TKestBaseList::LoadFromStream(ByteReader& in, std::int32_t version) {
  Reset();
  const std::int32_t width = in.I32();
  const std::int32_t height = in.I32();
  if (!SceneSizeFits(width, height))
    in.Fail("screen size " + std::to_string(width) + " x " + std::to_string(height));
  SetSize(width, height);
  active_ = in.I32() & 1;
  screens_[0]->LoadFromStream(in, version, 0);
  screens_[1]->LoadFromStream(in, version, 0);
  for (auto& screen : screens_) screen->AddWholeRect();
  const std::size_t components = in.Count(in.I32(), 1 + kMinObjectBytes, "components");
  for (std::size_t i = 0; i < components; ++i) {
    TKestObject& object = ReadKindAndCreate(in, *this);
    if (object.IsControl()) in.Fail("a control among the non-visual objects");
    object.LoadFromStream(in, version, 0);
  }
  events_.Clear();
  const std::size_t entries = in.Count(in.I32(), 4 + 4 + 1 + 1 + 4, "events");
  for (std::size_t i = 0; i < entries; ++i) {
    TTimerData entry;
    entry.Handler = in.LString();
    const std::string sender = in.LString();
    // An empty sender name means the sender was gone when the game was saved.
    if (!sender.empty())
      if (const TKestObject* object = FindComponent(sender)) entry.Sender = object->Id();
    entry.EventId = in.U8();
    // Older saves kept a byte: any running entry reads as level 1.
    entry.EventLevel = version >= 114 ? in.I32() : (in.U8() != 0 ? 1 : 0);
    entry.Args = in.StringList();
    events_.Add(std::move(entry));
  }
  if (version >= 119) {
    const std::string focus = in.LString();
    // An empty name means nobody had the focus: it is found again in the next frame.
    TKestControl* control = focus.empty() ? nullptr : FindControl(focus);
    if (control) {
      focus_ = control->Id();
      control->FocusSet();
      refocus_needed_ = false;
    } else {
      focus_ = kNoObject;
      refocus_needed_ = true;
    }
  }
}

}  // namespace kest
