#pragma once
// The display-object classes shared by every kind: TKestObject (name, tag, priority, the
// property accessors), TKestComponent (the non-visual kinds) and TKestControl (position, size,
// visibility, the parent and its children, clipping, mouse and key events).
//
// Every object belongs to one scene list (TKestBaseList), which creates it, owns it, and frees
// it at a safe point of the frame; an object never frees itself. Objects refer to each other
// across frames by ObjectId, resolved through the scene list, except for the parent and child
// links, which the scene list keeps consistent whenever it frees an object.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "objects/kinds.h"
#include "objects/prop_value.h"
#include "render/geometry.h"
#include "scenario/timer_list.h"

namespace kest {

class ByteReader;
class ByteWriter;
class TCustomDIBX;
class TKestBase;
class TKestBaseList;
class TKestControl;
class TKestMotion;
class TKestParser;

// Whether an event may be queued while an entry of the same sender and event still waits.
enum class Duplicates : std::uint8_t { Queue, Skip };

// A set of PR_IGNOREMOUSE modes (bit n for mode n) that a hit test accepts.
using MouseModes = std::uint8_t;
constexpr MouseModes ModeBit(IgnoreMouseMode mode) { return static_cast<MouseModes>(1u << mode); }
inline constexpr MouseModes kLeftClickModes = ModeBit(IM_NONE) | ModeBit(IM_RCLICK);
inline constexpr MouseModes kRightClickModes = ModeBit(IM_NONE) | ModeBit(IM_LCLICK);
inline constexpr MouseModes kHoverModes =
    ModeBit(IM_NONE) | ModeBit(IM_CLICK) | ModeBit(IM_LCLICK) | ModeBit(IM_RCLICK);

class TKestObject {
 public:
  TKestObject(TKestBaseList& owner, std::uint8_t kind);
  TKestObject(const TKestObject&) = delete;
  TKestObject& operator=(const TKestObject&) = delete;
  virtual ~TKestObject() = default;

  ObjectId Id() const { return id_; }
  TKestBaseList& Owner() const { return owner_; }
  std::uint8_t GetCompoType() const { return kind_; }

  const std::string& Name() const { return name_; }
  // Renaming with the collision rule of the object's class (see object.cpp).
  virtual void SetName(const std::string& name);
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }

  std::int32_t Priority() const { return priority_; }
  std::int32_t PriorityOffset() const { return priority_offset_; }
  // A change resets PriorityOffset, re-sorts the siblings and invalidates.
  void SetPriority(std::int32_t priority);
  // Written only by a running motion file: re-sorts and invalidates, keeps Priority.
  void SetPriorityOffset(std::int32_t offset);

  virtual bool IsControl() const { return false; }
  virtual TKestControl* AsControl() { return nullptr; }
  virtual bool WantsAutoName() const { return true; }
  // A modal object (an open menu) raises no events.
  virtual bool IsBusy() const { return false; }
  virtual bool IsInCabinet() const { return false; }
  // False for the kinds whose own behaviour is not built yet: they keep the values written to
  // their properties and draw nothing.
  virtual bool IsBuilt() const { return true; }
  // A compiled expression of the creation command that the object keeps and evaluates itself
  // (ImgNew hands its PR_DELAY expression to the picture); ignored by the other kinds.
  virtual void KeepExpression(std::uint8_t /*id*/, const TKestParser& /*expression*/) {}
  // The per-frame step; true asks the scene list to free the object at once.
  virtual bool Update(std::int32_t /*frame_time*/) { return false; }

  // The class part of GetProp and SetProp: the value of a property the class implements, or
  // none when the class keeps no value for it. The table checks (ids, kinds, access) are done
  // by GetProp/SetProp before these are called.
  virtual std::optional<PropValue> ReadProperty(std::uint8_t id) const;
  virtual void WriteProperty(std::uint8_t id, const PropValue& value);

  // The object's part of a save stream (object_stream.cpp). A kind whose behaviour is not built
  // yet cannot be saved or loaded: it raises a clear error instead of writing a stream that
  // lacks its own fields. `depth` counts the nesting of controls while loading.
  // `version` is the layout written: the fields a save of that version carries.
  virtual void SaveToStream(ByteWriter& out, std::int32_t version) const;
  virtual void LoadFromStream(ByteReader& in, std::int32_t version, int depth);

  // The handler text of an event property ("" when the kind has none), PR_PAUSED.
  std::string EventHandler(std::uint8_t id) const;
  bool IsPaused() const;
  bool AutoScrap() const;

  // Queues the event when the handler is not empty and the object is not busy; with
  // Duplicates::Skip also not while an entry of this object and event is waiting.
  bool RaiseEvent(std::uint8_t id, std::vector<std::string> args, Duplicates duplicates);
  bool HasWaitingEvent(std::uint8_t id) const;

 protected:
  // Stored values of the properties of kinds not built yet (and of plain per-kind values).
  std::map<std::uint8_t, PropValue> stored_;
  // Takes the name without the collision rule. A screen is not in the object list and keeps
  // its name out of the list's name index.
  void AssignName(std::string name) { name_ = std::move(name); }
  // Takes the name without the collision rule and keeps the list's name index in step.
  void TakeName(std::string name);

 private:
  friend class TKestBaseList;
  friend class TKestControl;
  TKestBaseList& owner_;
  ObjectId id_;
  std::uint8_t kind_;
  std::string name_;
  std::string tag_;
  std::int32_t priority_ = 0;
  std::int32_t priority_offset_ = 0;
};

class TKestComponent : public TKestObject {
 public:
  using TKestObject::TKestObject;
};

// A non-visual kind whose behaviour is not built yet.
class TKestPlainComponent : public TKestComponent {
 public:
  using TKestComponent::TKestComponent;
  bool IsBuilt() const override { return false; }
};

class TKestControl : public TKestComponent {
 public:
  TKestControl(TKestBaseList& owner, std::uint8_t kind);
  ~TKestControl() override;

  bool IsControl() const override { return true; }
  TKestControl* AsControl() override { return this; }
  void SetName(const std::string& name) override;
  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;

  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

  // ---- tree
  TKestControl* Parent() const { return parent_; }
  // Refused (nothing happens) for the current parent, this control, or one of its descendants.
  virtual void SetParent(TKestControl* parent);
  const std::vector<TKestControl*>& Children() const { return children_; }
  void AddChild(TKestControl& child);
  void RemoveChild(TKestControl& child);
  void SortChildren();
  bool ContainsObject(const TKestControl& object) const;  // a descendant
  // The screen the control belongs to, or none.
  virtual TKestBase* GetBase();
  bool IsInCabinet() const override;
  virtual bool IsCabinet() const { return false; }
  virtual bool IsScreen() const { return false; }

  // ---- geometry
  std::int32_t Left() const { return left_; }
  std::int32_t Top() const { return top_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  void SetLeft(std::int32_t value);
  void SetTop(std::int32_t value);
  void SetWidth(std::int32_t value);
  void SetHeight(std::int32_t value);
  void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  void SetOffsetX(std::int32_t value);
  void SetOffsetY(std::int32_t value);
  void SetPlusX(std::int32_t value);
  void SetPlusY(std::int32_t value);
  void SetClip(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  // The scroll of a kind's content, which moves its children (tiles and message boxes).
  virtual std::int32_t ScrollX() const { return 0; }
  virtual std::int32_t ScrollY() const { return 0; }
  // The top-left corner on the screen: the position term (Left, zoomed with PosZoomed, or the
  // motion's position) less the anchor term (the offset, zoomed and mirrored with the flips),
  // plus PlusX, within the parent's content.
  virtual std::int64_t GetScreenLeft() const;
  virtual std::int64_t GetScreenTop() const;
  // The anchor point on the screen: the position term within the parent, plus PlusX/PlusY.
  std::int64_t GetScreenOriginX() const;
  std::int64_t GetScreenOriginY() const;
  // The zoom and flips the position rule uses (256 and none for kinds without pictures).
  virtual std::int32_t ZoomXValue() const { return 256; }
  virtual std::int32_t ZoomYValue() const { return 256; }
  virtual bool FlipHValue() const { return false; }
  virtual bool FlipVValue() const { return false; }
  // The picture a kind shows, which its PosZoomed children map their edges through; none for
  // kinds without one.
  virtual TCustomDIBX* PictureSurface() const { return nullptr; }
  bool PosZoomed() const { return pos_zoomed_; }
  // The rectangle on the screen, clamped to 32 bits.
  virtual Rect GetScreenRect() const;
  // The clip rectangle on the screen; nullopt when the control clips nothing.
  std::optional<Rect> ScreenClipRect() const;

  // ---- visibility and colour
  virtual bool GetVisible() const;
  void SetVisible(bool visible);
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t colour);
  bool HandleKey() const { return handle_key_; }
  void SetHandleKey(bool value);
  std::uint8_t IgnoreMouse() const { return ignore_mouse_; }
  bool IsShownOnActiveScreen();

  // ---- drawing
  // Adds the visible part of the control to its screen's dirty list.
  void Invalidate();
  virtual void ChildInvalidated(const Rect& r);
  virtual TCustomDIBX* GetDrawTarget();
  // Draws the control's own content, then its children, into the target's current clip.
  virtual void Paint(TCustomDIBX& target);
  virtual void ClipChanged();
  virtual void PositionChanged();

  // ---- input
  virtual TKestControl* HitTest(std::int64_t x, std::int64_t y, MouseModes modes);
  virtual void LBtnDown();
  virtual void LBtnUp();
  virtual void RBtnDown();
  virtual void RBtnUp();
  virtual void MouseMove();
  virtual void MouseIn(TKestControl* /*previous*/);
  virtual void MouseOut(TKestControl* /*next*/);
  virtual void MouseDrag() {}
  virtual void KeyDown();
  virtual void KeyUp();
  virtual void KeyRepeat();
  virtual void FocusSet() {}
  virtual bool RightClickClose() { return false; }
  virtual std::string GetEffectiveCursor() const { return cursor_; }
  TKestControl* FindKeyTarget();

  // ---- the motion file played on the control (motion.h)
  TKestMotion* GetMotion() const { return motion_.get(); }
  // Attaches a player for the motion file `name` (replacing any); false, attaching none, when
  // the file cannot be played.
  bool LoadMotion(const std::string& name);
  void RestartMotion();
  // Frees the player and sets MotionX, MotionY and PriorityOffset back to 0.
  void DropMotion();
  std::int32_t MotionX() const { return motion_x_; }
  std::int32_t MotionY() const { return motion_y_; }
  // Written by a playing motion: the control's anchor.
  void SetMotionPosition(std::int32_t x, std::int32_t y);
  // Steps the motion; when it ends, answers AutoScrap() or queues PR_ONPLAYEND.
  bool Update(std::int32_t frame_time) override;
  // Whether the motion loops (images: PR_REPEAT).
  virtual bool MotionRepeats() const { return false; }

 protected:
  friend class TKestBaseList;
  // The control's own content (the base draws nothing; a kind not built yet says so once).
  virtual void PaintSelf(TCustomDIBX& target);
  void PaintChildren(TCustomDIBX& target);
  // The pointer position relative to the top-left corner, as the event arguments.
  std::vector<std::string> RelativePointer();
  std::size_t EventSlot(std::uint8_t id) const;
  // The anchor term and the position term of the position rule.
  virtual std::int64_t AnchorTermX() const;
  virtual std::int64_t AnchorTermY() const;
  std::int64_t PositionTermX() const;
  std::int64_t PositionTermY() const;
  // Queues PR_ONPLAYEND at the end of a picture or motion. While an entry of it still waits (the
  // interpreter holds events) none is added, so the queue cannot grow without bound; otherwise
  // it is raised once per update.
  void RaisePlayEnd();

  std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::int32_t offset_x_ = 0, offset_y_ = 0;
  bool visible_ = true;
  TKestControl* parent_ = nullptr;
  std::int32_t color_ = -1;
  std::vector<TKestControl*> children_;
  Rect reserved_rect_{0, 0, 1, 1};
  std::uint8_t ignore_mouse_ = IM_NONE;
  std::string cursor_;
  bool pos_zoomed_ = false;
  bool debug_highlight_ = false;
  std::int32_t clip_left_ = 0, clip_top_ = 0, clip_width_ = 0, clip_height_ = 0;
  std::int32_t motion_x_ = 0, motion_y_ = 0;
  std::int32_t plus_x_ = 0, plus_y_ = 0;
  bool ani_paused_ = false;
  bool handle_key_ = false;
  // The fourteen general event handlers, in the order of kControlEvents.
  std::vector<std::string> events_;
  std::unique_ptr<TKestMotion> motion_;
};

// A control kind whose own drawing and behaviour are not built yet.
class TKestPlainControl : public TKestControl {
 public:
  using TKestControl::TKestControl;
  bool IsBuilt() const override { return false; }
};

// An invisible container: what it holds is frozen (no update, no idle events, not drawn).
class TKestCabinet : public TKestControl {
 public:
  TKestCabinet(TKestBaseList& owner) : TKestControl(owner, LT_CABINET) {}
  bool IsCabinet() const override { return true; }
  bool GetVisible() const override { return false; }
  void Paint(TCustomDIBX&) override {}
};

}  // namespace kest
