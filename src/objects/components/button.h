#pragma once
// TKestButton: a picture with four states, each with its own picture or motion file: 0 normal
// (PR_SOURCE), 1 hover (PR_HOVERSOURCE), 2 pressed (PR_PRESSEDSOURCE), 3 clicked
// (PR_CLICKEDSOURCE, played once after a click). A click raises PR_ONNOTIFY. Buttons of one
// parent that share a PR_GROUPINDEX other than 0 form a radio group: clicking selects one and
// deselects the others (with PR_ALLOWALLUP a second click deselects it again).

#include <array>
#include <memory>
#include <string>

#include "objects/components/images.h"

namespace kest {

class TKestButton : public TKestImages {
 public:
  enum State : std::int32_t { kNormal = 0, kHover = 1, kPressed = 2, kClicked = 3 };

  explicit TKestButton(TKestBaseList& owner);
  ~TKestButton() override;

  std::int32_t GetState() const { return state_; }
  // Switches to state `s` when it has a picture or a motion (or is 0); during the clicked
  // animation only remembers it for afterwards.
  void SetState(std::int32_t s);
  std::int32_t AfterClickState() const { return after_click_; }
  std::int32_t PressState() const { return press_state_; }
  bool Selected() const { return selected_; }
  std::int32_t GroupIndex() const { return group_; }
  void SetSelected(bool selected);

  bool Update(std::int32_t frame_time) override;
  bool MotionRepeats() const override { return state_ != kClicked && repeat_; }
  void MouseMove() override;
  void MouseOut(TKestControl* next) override;
  void LBtnDown() override;
  void LBtnUp() override;
  void KeyRepeat() override;

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  TKestImageList* CurrentList() override { return &ListOf(state_); }
  bool Repeats() const override { return MotionRepeats(); }

 private:
  TKestImageList& ListOf(std::int32_t s);
  std::string& SourceOf(std::int32_t s);
  bool HasContent(std::int32_t s);
  void ChangeState(std::int32_t s);
  void SetStateSource(std::int32_t s, const std::string& source);
  // Raises PR_ONNOTIFY and plays the click; true when the click asked for the button to go.
  bool Click();
  bool PointerOver();
  void UpdateGroup();
  void SetAllowAllUp(bool allow);

  std::array<TKestImageList, 4> lists_;  // 1 to 3; state 0 uses the picture's own list
  std::array<std::string, 4> sources_;
  // The motion of each state that is not shown; the shown state's plays as the control's own.
  std::array<std::unique_ptr<TKestMotion>, 4> motions_;
  std::int32_t state_ = kNormal;
  std::int32_t after_click_ = kNormal;
  std::int32_t press_state_ = 0;  // 1 pressed by the mouse, -1 goes at the next update
  std::int32_t group_ = 0;
  bool selected_ = false;
  bool allow_all_up_ = false;
};

}  // namespace kest
