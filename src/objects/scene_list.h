#pragma once
// TKestBaseList: the scene list. It owns every display object, the two screens (TKestBase)
// they hang from, the event queue, the keyboard state and the focus. Each frame it turns input
// into object events (ProcessInput), steps every object (Update) and repaints the dirty parts of
// both screens (Draw); the active screen paints straight into the list's surface, which the
// presentation copies to the window rectangle by rectangle.

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "objects/components/motion.h"
#include "objects/object.h"
#include "objects/scene_object_access.h"
#include "render/dibx.h"
#include "objects/scene_screen_access.h"
#include "scenario/scene.h"
#include "scenario/screen_access.h"

namespace kest {

class TKestBaseList;
class TZelkCollection;

// The largest scene the player shows: three surfaces of this many 32-bit pixels (the list's and
// each screen's own), 192 MiB. Titles were made for screens of 640 x 480 to 1024 x 768; a larger
// size in a save or a project file is damage, not a screen.
inline constexpr std::int64_t kMaxScenePixels = std::int64_t{4096} * 4096;
constexpr bool SceneSizeFits(std::int64_t width, std::int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         width * height <= kMaxScenePixels;
}

// A screen: the root of one tree of controls, with its own dirty list and mouse state.
class TKestBase final : public TKestControl {
 public:
  TKestBase(TKestBaseList& owner, int index);

  bool IsScreen() const override { return true; }
  // The screens keep their names ("BASE0", "BASE1") whatever scripts or saves say.
  void SetName(const std::string&) override {}
  TKestBase* GetBase() override { return this; }
  bool GetVisible() const override { return visible_; }
  void SetParent(TKestControl*) override {}
  TCustomDIBX* GetDrawTarget() override { return GetSurface(); }
  // The list's surface while this screen is shown without a transition, else its own.
  TCustomDIBX* GetSurface();
  TDIBX& OwnSurface() { return surface_; }
  void Resize(std::int32_t width, std::int32_t height);

  // Clamps to the screen, drops an empty rectangle, and merges with a stored rectangle that
  // lies within 20 pixels.
  void AddDirtyRect(const Rect& r);
  void AddWholeRect();
  const std::vector<Rect>& DirtyRects() const { return dirty_; }
  void ClearDirty() { dirty_.clear(); }
  // Repaints every dirty rectangle: the background, then the whole tree clipped to it.
  void Paint(TCustomDIBX& target) override;
  void PaintDirty();

  // Mouse state, in screen coordinates.
  void SetMouseState(std::int32_t x, std::int32_t y);
  std::int32_t PointerX() const { return pointer_x_; }
  std::int32_t PointerY() const { return pointer_y_; }

  bool left_click_pending = false, left_click = false, right_click_pending = false, right_click = false;
  bool left_held = false, right_held = false;
  bool pointer_moved = false;
  std::uint8_t capture_flags = 0;  // 4: left captured by the hover object, 8: right
  ObjectId hover = kNoObject;
  bool wheel_down_pending = false, wheel_down = false, wheel_up_pending = false, wheel_up = false;
  std::string cursor_name;

  bool LeftPush() const { return left_held && (capture_flags & (1 | 4)) == 0; }
  bool RightPush() const { return right_held && (capture_flags & (2 | 8)) == 0; }

 private:
  std::vector<Rect> dirty_;
  TDIBX surface_;
  std::int32_t pointer_x_ = 0, pointer_y_ = 0;
};

// A screen transition as the scene list drives it (wipe_transition.h wraps the transitions).
class TScreenTransition {
 public:
  virtual ~TScreenTransition() = default;
  virtual std::int32_t Duration() const = 0;
  virtual void SetElapsed(std::int32_t elapsed) = 0;
  // Draws the current step into the display surface; answers the rectangle it changed.
  virtual Rect Draw() = 0;
};

// What a flip may add to a transition's defaults, before it is prepared: either parameter and
// the mask picture's name, each only when the flip gave it.
using TransitionOptions = WipeOptions;

struct TransitionRequest {
  std::int32_t kind = 0;
  bool reverse = false;
  std::int32_t duration = 0;
  TCustomDIBX* display = nullptr;
  TCustomDIBX* from = nullptr;  // the active screen's own surface
  TCustomDIBX* to = nullptr;    // the other screen's own surface
  TransitionOptions options;
};
using TransitionFactory = std::function<std::unique_ptr<TScreenTransition>(const TransitionRequest&)>;

// Whether a flip replaces a running transition.
enum class ForceFlip : bool { No = false, Yes = true };

class TKestBaseList final : public TScene {
 public:
  TKestBaseList(std::int32_t width, std::int32_t height);
  ~TKestBaseList() override;

  // ---- TScene
  TTimerList& Events() override { return events_; }
  std::string ObjectName(ObjectId object) const override;
  TObjectAccess* Objects() override { return &access_; }
  TScreenAccess* Screens() override { return &screen_access_; }
  // Uses the duration of the last frame (the last Update's frame time) for the key timers.
  void ProcessInput() override { ProcessInput(last_frame_time_); }
  void Update(std::int32_t frame_time) override;
  // Paints both screens' dirty rectangles, records what the window must show (PresentRects),
  // and clears the dirty lists.
  void Draw() override;
  void Reset() override;
  ObjectId StandInSender(std::string_view name) override;

  void ProcessInput(std::int32_t elapsed);
  void Paint();
  // The rectangles of the list's surface that changed in the last Draw.
  const std::vector<Rect>& PresentRects() const { return present_rects_; }
  TDIBX& Surface() { return surface_; }

  // ---- objects
  // The object of a kind code (the byte masked with 0x7F), named "objectN" unless the kind
  // declines an automatic name; none for codes that name no class.
  TKestObject* CreateByKind(std::uint8_t kind_byte);
  // An object of a class that no kind code names (a motion file's picture, a particle), made,
  // named and registered like the others.
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    return Adopt(std::make_unique<T>(*this, std::forward<Args>(args)...));
  }
  TKestObject* Resolve(ObjectId id) const;
  bool Contains(ObjectId id) const { return Resolve(id) != nullptr; }
  std::size_t ObjectCount() const { return objects_.size(); }
  TKestObject& ObjectAt(std::size_t index) const { return *objects_[index]; }
  TKestObject* FindComponent(std::string_view name) const;
  TKestControl* FindControl(std::string_view name) const;
  // "prefix0", "prefix1", ...: the first that no object carries.
  std::string UniqueName(std::string_view prefix);
  // Another object (not `except`) that carries the name, or none.
  TKestObject* FindNamed(std::string_view name, const TKestObject* except) const;
  // Appends the names of the objects (in list order) of `kind` (any kind when 0) whose parent
  // is `parent` (any parent when none); answers how many were appended.
  std::int32_t ListNames(std::uint8_t kind, const TKestControl* parent, std::vector<std::string>& names) const;
  void MarkPendingDelete(TKestObject& object);
  bool IsPendingDelete(const TKestObject& object) const;
  // Frees the object (and a control's children) now: invalidates its area, takes it out of its
  // parent, the focus, the hover and the waiting event queue.
  void Free(ObjectId id);

  // ---- the scene block of a game save (object_stream.cpp)
  // In the layout of save version `version` (the newest by default; older layouts are for
  // tests of the loaders).
  void SaveToStream(ByteWriter& out, std::int32_t version = INT32_MAX) const;
  // Replaces the whole scene. A corrupt stream raises FormatError (a kind that names no class,
  // a count larger than the bytes left, nesting deeper than kMaxObjectDepth).
  void LoadFromStream(ByteReader& in, std::int32_t version);

  // ---- screens
  TKestBase& Screen(int index) { return *screens_[static_cast<std::size_t>(index & 1)]; }
  TKestBase& ActiveScreen() { return Screen(active_); }
  TKestBase& InactiveScreen() { return Screen(active_ ^ 1); }
  int ActiveIndex() const { return active_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  void SetSize(std::int32_t width, std::int32_t height);
  bool TransitionRunning() const { return transition_ != nullptr; }
  void SetTransitionFactory(TransitionFactory factory) { transition_factory_ = std::move(factory); }
  void FlipScreens(int active, std::int32_t kind, bool reverse, ForceFlip force, std::int32_t elapsed,
                   std::int32_t duration, const TransitionOptions& options = {});
  std::int32_t TransitionDuration() const { return transition_ ? transition_->Duration() : 0; }
  void SetTransitionElapsed(std::int32_t elapsed);

  // ---- keyboard and focus
  void SetKey(std::uint8_t code, bool down);
  void PostKeyPress(std::uint8_t code) { press_pending_[code] = 1; }
  void ClearKeys();
  bool KeyState(std::uint8_t code) const { return held_[code] != 0; }
  bool KeyPressed(std::uint8_t code) const { return pressed_[code] != 0; }
  bool KeyPressedOrRepeated(std::uint8_t code) const { return pressed_or_repeated_[code] != 0; }
  TKestControl* FocusObject() const;
  void SetFocus(TKestControl* object);
  bool RefocusNeeded() const { return refocus_needed_; }
  void RequestRefocus() { refocus_needed_ = true; }
  void ClearFocus() { focus_ = kNoObject; }

  // ---- mouse (the shell's side), in window-client coordinates
  void MouseButtons(bool left, bool right);  // a press: sets held and pending click flags
  void MouseReleased();
  void Wheel(bool down);
  void MouseMoved(std::int32_t x, std::int32_t y);
  void ProcessMouse(TKestBase& screen);

  // ---- the image cache, shared by the scene lists of a run (owned by the session)
  void SetImageCache(TZelkCollection* cache) { image_cache_ = cache; }
  TZelkCollection* ImageCache() const { return image_cache_; }
  // The cache's dither flag ("@CGDither"): a change reloads the cached pictures without
  // recreating them and makes both screens dirty.
  bool Dither() const override;
  void SetDither(bool dither) override;

  // ---- expressions that objects keep (an image's LoopWait), run in the interpreter's store;
  // without a runner they have no value
  using ExpressionRunner = std::function<std::optional<std::int32_t>(TKestParser& expression)>;
  void SetExpressionRunner(ExpressionRunner runner) { expression_runner_ = std::move(runner); }
  std::optional<std::int32_t> EvaluateInt(TKestParser& expression) const {
    return expression_runner_ ? expression_runner_(expression) : std::nullopt;
  }

  // ---- motion files: the film manager's loader (none: motion files say once that they do not play)
  void SetMotionLoader(MotionLoader loader) { motion_loader_ = std::move(loader); }
  std::unique_ptr<TMotionFrames> LoadMotionFrames(TKestControl& control, const std::string& name);

  // ---- the trace's one-time notes (a kind not built yet that was asked to draw)
  void SetNotice(std::function<void(const std::string&)> notice) { notice_ = std::move(notice); }
  void NoteUnbuiltKind(std::uint8_t kind);
  // A note for the trace and the message log (a picture that could not be loaded).
  void Note(const std::string& text) {
    if (notice_) notice_(text);
  }

 private:
  template <typename T>
  T& Adopt(std::unique_ptr<T> object) {
    T& result = *object;
    by_id_[result.Id()] = &result;
    objects_.push_back(std::move(object));
    if (result.WantsAutoName()) static_cast<TKestObject&>(result).TakeName(UniqueName("object"));
    return result;
  }
  void MakeScreens();
  void FreeAll();
  // Moves the object from its current name to `name` in the name index.
  void Reindex(const TKestObject& object, const std::string& name);

  std::int32_t width_ = 0, height_ = 0;
  TDIBX surface_;
  std::array<std::unique_ptr<TKestBase>, 2> screens_;
  int active_ = 0;
  std::int32_t transition_kind_ = 0;
  std::unique_ptr<TScreenTransition> transition_;
  TransitionFactory transition_factory_;
  Rect transition_rect_;
  TTimerList events_;
  std::vector<std::unique_ptr<TKestObject>> objects_;
  std::unordered_map<ObjectId, TKestObject*> by_id_;
  // The ids of the objects carrying each name. Ids grow with creation, so the smallest is the
  // first in list order.
  std::unordered_map<std::string, std::vector<ObjectId>> by_name_;
  // Every "objectN" below this number is taken (the search for a free automatic name starts here).
  std::uint64_t auto_name_floor_ = 0;
  std::vector<ObjectId> pending_;
  // Senders that scripted input named and no object carries: id → name, until the next reset.
  std::unordered_map<ObjectId, std::string> stand_ins_;
  ObjectId next_id_ = 1;
  std::size_t update_cursor_ = 0;
  std::int32_t last_frame_time_ = 16;
  std::vector<Rect> present_rects_;

  std::array<std::uint8_t, 256> held_{}, press_pending_{}, pressed_{}, repeat_pending_{}, pressed_or_repeated_{};
  std::array<std::int32_t, 256> repeat_timer_{};
  bool key_went_down_ = false, key_went_up_ = false, key_repeated_ = false;
  ObjectId focus_ = kNoObject;
  bool refocus_needed_ = false;

  std::function<void(const std::string&)> notice_;
  TZelkCollection* image_cache_ = nullptr;
  bool dither_ = false;  // kept here while no cache is attached
  std::uint32_t noted_kinds_ = 0;
  MotionLoader motion_loader_;
  ExpressionRunner expression_runner_;
  bool noted_motion_ = false;
  TSceneObjectAccess access_{*this};
  TSceneScreenAccess screen_access_{*this};

  friend class TKestObject;
  friend class TKestBase;
};

}  // namespace kest
