#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "shell/message_boxes.h"
#include "shell/ui/message_box_view.h"
#include "shell/ui/virtual_keys.h"
#include "ui_test_support.h"

namespace kest::shell {
namespace {

using platform::MessageAnswer;

// A window whose input is given by the test, as a user at the box would give it: the boxes take
// the windowed path (the modal loop), not the scripted answers.
class UserAtTheWindow : public platform::HeadlessPlatform {
 public:
  explicit UserAtTheWindow(std::ostream& log) : HeadlessPlatform(platform::HeadlessOptions{.log = &log}) {}
  std::optional<platform::InputEvent> WaitEvent(std::uint32_t) override {
    if (events.empty()) throw std::logic_error("the box waited for input the test did not give");
    platform::InputEvent event = events.front();
    events.pop_front();
    return event;
  }
  std::deque<platform::InputEvent> events;
};

class ModalBoxTest : public ::testing::Test {
 protected:
  ModalBoxTest()
      : user_(log_),
        display_(user_.OpenDisplay({.scene = {320, 200}, .title = "t", .dock_height = 22})),
        window_(display_),
        boxes_(user_, nullptr, text_, shots_, log_) {
    boxes_.AttachWindow(&window_);
  }

  const platform::MessageBoxRequest request_{
      .caption = "C", .text = "Q", .buttons = platform::MessageButtons::kYesNo, .icon = platform::MessageIcon::kQuestion};

  // The centre of a button in panel coordinates (the picture's less the dock).
  platform::Point ButtonCentre(std::size_t button) {
    const ui::MessageBoxView view(text_, request_, {320, 222});
    const Rect r = view.Buttons()[button].bounds;
    const int left = (320 - view.BoxSize().width) / 2, top = (222 - view.BoxSize().height) / 2;
    return {left + (r.left + r.right) / 2, top + (r.top + r.bottom) / 2 - 22};
  }

  std::ostringstream log_;
  UserAtTheWindow user_;
  platform::Display& display_;
  WindowPicture window_;
  ui::FixedCellUiText text_;
  DialogShots shots_{""};
  MessageBoxes boxes_;
};

TEST_F(ModalBoxTest, TheMouseFindsTheButtonsBelowTheDock) {
  user_.events = {platform::MouseMove{ButtonCentre(1)}, platform::ButtonDown{platform::MouseButton::kLeft},
                  platform::ButtonUp{platform::MouseButton::kLeft}};
  EXPECT_EQ(boxes_.Show(request_), MessageAnswer::kNo);
  EXPECT_FALSE(boxes_.CloseRequested());
  // The box is gone from the picture again.
  const platform::Image after = display_.CaptureWindow();
  const platform::Point centre = ButtonCentre(0);
  const std::uint8_t* pixel = &after.bgrx[(static_cast<std::size_t>(centre.y + 22) * 320 + centre.x) * 4];
  EXPECT_EQ(pixel[0] | pixel[1] | pixel[2], 0) << "the scene (black) shows where the box was";
}

TEST_F(ModalBoxTest, KeysAndReleasesOffTheButton) {
  user_.events = {platform::MouseMove{ButtonCentre(0)}, platform::ButtonDown{platform::MouseButton::kLeft},
                  platform::MouseMove{{0, 0}}, platform::ButtonUp{platform::MouseButton::kLeft},
                  platform::Deactivate{}, platform::KeyDown{ui::vk::kRight}, platform::KeyDown{ui::vk::kReturn}};
  EXPECT_EQ(boxes_.Show(request_), MessageAnswer::kNo);
  EXPECT_EQ(boxes_.TakeActivation(), false);  // the frame loop hears of the lost foreground
  EXPECT_EQ(boxes_.TakeActivation(), std::nullopt);
  EXPECT_EQ(boxes_.Shown(), 1u);
}

TEST_F(ModalBoxTest, ACloseRequestDismissesAndIsKept) {
  user_.events = {platform::CloseRequest{}};
  EXPECT_EQ(boxes_.Show(request_), MessageAnswer::kNo);
  EXPECT_TRUE(boxes_.CloseRequested());
  user_.events = {platform::CloseRequest{}};
  EXPECT_EQ(boxes_.Show({.caption = "C", .text = "t", .buttons = platform::MessageButtons::kOk}), MessageAnswer::kOk);
}

}  // namespace
}  // namespace kest::shell
