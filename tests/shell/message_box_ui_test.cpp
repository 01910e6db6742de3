#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/ui/message_box_model.h"
#include "shell/ui/message_box_view.h"
#include "shell/ui/virtual_keys.h"
#include "ui_test_support.h"

namespace kest::ui {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

// A key pressed: down, and for Shift the matching release is a separate step.
struct Step {
  enum { kDown, kUp } what = kDown;
  std::uint8_t key = 0;
};
Step Down(std::uint8_t key) { return {Step::kDown, key}; }
Step Up(std::uint8_t key) { return {Step::kUp, key}; }

std::optional<MessageAnswer> Press(MessageButtons buttons, const std::vector<Step>& steps) {
  MessageBoxModel model(buttons);
  for (const Step& step : steps) {
    if (step.what == Step::kUp) {
      model.KeyUp(step.key);
    } else if (const std::optional<MessageAnswer> answer = model.KeyDown(step.key)) {
      return answer;
    }
  }
  return std::nullopt;
}

TEST(MessageBoxModel, KeySequences) {
  struct {
    const char* name;
    MessageButtons buttons;
    std::vector<Step> steps;
    std::optional<MessageAnswer> answer;
  } cases[] = {
      {"Enter takes the first button", MessageButtons::kYesNo, {Down(vk::kReturn)}, MessageAnswer::kYes},
      {"Escape dismisses", MessageButtons::kYesNo, {Down(vk::kEscape)}, MessageAnswer::kNo},
      {"Right then Enter", MessageButtons::kYesNo, {Down(vk::kRight), Down(vk::kReturn)}, MessageAnswer::kNo},
      {"Right twice wraps round", MessageButtons::kYesNo, {Down(vk::kRight), Down(vk::kRight), Down(vk::kReturn)},
       MessageAnswer::kYes},
      {"Left from the first wraps to the last", MessageButtons::kYesNo, {Down(vk::kLeft), Down(vk::kSpace)},
       MessageAnswer::kNo},
      {"Tab then Space", MessageButtons::kOkCancel, {Down(vk::kTab), Down(vk::kSpace)}, MessageAnswer::kCancel},
      {"Shift+Tab goes back", MessageButtons::kOkCancel,
       {Down(vk::kTab), Down(vk::kShift), Down(vk::kTab), Down(vk::kReturn)}, MessageAnswer::kOk},
      {"Shift released: Tab goes on", MessageButtons::kOkCancel,
       {Down(vk::kShift), Up(vk::kShift), Down(vk::kTab), Down(vk::kReturn)}, MessageAnswer::kCancel},
      {"N answers No", MessageButtons::kYesNo, {Down('N')}, MessageAnswer::kNo},
      {"Y answers Yes after the focus moved", MessageButtons::kYesNo, {Down(vk::kRight), Down('Y')},
       MessageAnswer::kYes},
      {"Escape on an OK box", MessageButtons::kOk, {Down(vk::kEscape)}, MessageAnswer::kOk},
      {"Escape on OK and Cancel", MessageButtons::kOkCancel, {Down(vk::kEscape)}, MessageAnswer::kCancel},
      {"Y and N do nothing without Yes and No", MessageButtons::kOkCancel, {Down('Y'), Down('N')}, std::nullopt},
      {"other keys do nothing", MessageButtons::kYesNo, {Down('A'), Down(vk::kUp), Down(vk::kControl)}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Press(c.buttons, c.steps), c.answer);
  }
}

TEST(MessageBoxModel, APressCountsOnlyWhenReleasedOnTheSameButton) {
  struct {
    const char* name;
    std::optional<std::size_t> pressed_on;
    std::vector<std::optional<std::size_t>> moves;  // where the pointer goes while held
    std::optional<std::size_t> released_on;
    std::optional<MessageAnswer> answer;
  } cases[] = {
      {"press and release on No", 1, {}, 1, MessageAnswer::kNo},
      {"released off the button", 0, {std::nullopt}, std::nullopt, std::nullopt},
      {"released on the other button", 0, {1}, 1, std::nullopt},
      {"off and back again", 0, {std::nullopt, 0}, 0, MessageAnswer::kYes},
      {"pressed beside the buttons", std::nullopt, {0}, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxModel model(MessageButtons::kYesNo);
    model.PointerMoved(c.pressed_on);
    model.LeftPressed(c.pressed_on);
    for (const auto& to : c.moves) model.PointerMoved(to);
    EXPECT_EQ(model.LeftReleased(c.released_on), c.answer);
  }
}

TEST(MessageBoxModel, HeldButtonShowsPressedOnlyUnderThePointerAndTakesTheFocus) {
  MessageBoxModel model(MessageButtons::kYesNo);
  model.PointerMoved(1);
  EXPECT_EQ(model.Hover(), 1u);
  EXPECT_EQ(model.ShownPressed(), std::nullopt);
  model.LeftPressed(1);
  EXPECT_EQ(model.ShownPressed(), 1u);
  EXPECT_EQ(model.Focus(), 1u);
  model.PointerMoved(std::nullopt);
  EXPECT_EQ(model.ShownPressed(), std::nullopt);
  EXPECT_EQ(model.KeyDown(vk::kReturn), MessageAnswer::kNo);  // Enter now takes the focused No
  EXPECT_EQ(model.CloseRequested(), MessageAnswer::kNo);
}

platform::MessageBoxRequest Request(std::string caption, std::string text, MessageButtons buttons,
                                    platform::MessageIcon icon = platform::MessageIcon::kNone) {
  return {.caption = std::move(caption), .text = std::move(text), .buttons = buttons, .icon = icon};
}

TEST(MessageBoxView, CaptionTextAndButtonPlaces) {
  FixedCellUiText text;
  const MessageBoxView view(text, Request("T", "ABC", MessageButtons::kOk), {640, 480});
  // Width: the button (75) and two margins of 12 inside the frame (3 each side); height: the
  // frame, the 18-pixel strip, a margin, one row of 12, a margin, the 23-pixel button, a margin.
  EXPECT_EQ(view.BoxSize(), (Size{105, 6 + 18 + 12 + 12 + 12 + 23 + 12}));
  EXPECT_EQ(view.CaptionStrip(), (Rect{3, 3, 102, 21}));
  EXPECT_EQ(view.TextOrigin(), (Point{15, 33}));
  ASSERT_EQ(view.Buttons().size(), 1u);
  EXPECT_EQ(view.Buttons()[0].bounds, (Rect{15, 57, 90, 80}));

  FacePicture picture(120, 110);
  view.Draw(picture, {5, 5}, MessageBoxModel(MessageButtons::kOk));
  EXPECT_EQ(ColourAt(picture, 4, 4), kFaceColour);         // outside the box
  EXPECT_EQ(ColourAt(picture, 5, 5), kHighlightColour);    // the raised frame
  EXPECT_EQ(ColourAt(picture, 5 + 104, 5 + 94), kDarkShadowColour);
  EXPECT_EQ(ColourAt(picture, 5 + 50, 5 + 4), kCaptionColour);
  // "T" at 4 into the strip and centred in its 18 rows: its glyph box is columns 12-16 of the
  // picture, rows 8 + 5 = 13 on.
  EXPECT_EQ(ColourAt(picture, 5 + 3 + 4, 5 + 3 + 3 + 2), kCaptionTextColour);
  EXPECT_EQ(ColourAt(picture, 5 + 3 + 4 + 5, 5 + 3 + 3 + 2), kCaptionColour);
  // "ABC": three glyph boxes from the text origin.
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ColourAt(picture, 5 + 15 + 6 * i, 5 + 33 + 2), kTextColour) << i;
    EXPECT_EQ(ColourAt(picture, 5 + 15 + 6 * i + 5, 5 + 33 + 2), kFaceColour) << i;
  }
  // "OK" centred in the focused button: (75 - 12) / 2 = 31 in, (23 - 12) / 2 = 5 down.
  EXPECT_EQ(ColourAt(picture, 5 + 15 + 31, 5 + 57 + 5 + 2), kTextColour);
  EXPECT_EQ(ColourAt(picture, 5 + 15, 5 + 57), kDarkShadowColour);  // the focused button's frame
}

TEST(MessageBoxView, IconBesideTheTextAndTwoButtonsCentred) {
  FixedCellUiText text;
  const MessageBoxView view(text, Request("Q", "AB", MessageButtons::kYesNo, platform::MessageIcon::kQuestion),
                            {640, 480});
  // Two buttons: 75 + 6 + 75 with margins make it 6 + 24 + 156 = 186 wide; the icon's 32 rows
  // make the body.
  EXPECT_EQ(view.BoxSize(), (Size{186, 6 + 18 + 12 + 32 + 12 + 23 + 12}));
  ASSERT_TRUE(view.IconRect());
  EXPECT_EQ(*view.IconRect(), (Rect{15, 33, 47, 65}));
  EXPECT_EQ(view.TextOrigin(), (Point{15 + 32 + 12, 33 + 10}));  // centred against the icon
  ASSERT_EQ(view.Buttons().size(), 2u);
  EXPECT_EQ(view.Buttons()[0].bounds, (Rect{15, 77, 90, 100}));
  EXPECT_EQ(view.Buttons()[1].bounds, (Rect{96, 77, 171, 100}));
  EXPECT_EQ(view.ButtonAt({95, 80}), std::nullopt);  // the gap
  EXPECT_EQ(view.ButtonAt({96, 80}), 1u);

  FacePicture picture(186, 111);
  view.Draw(picture, {0, 0}, MessageBoxModel(MessageButtons::kYesNo));
  EXPECT_EQ(ColourAt(picture, 15, 33), kFaceColour);        // the disc's corner is not drawn
  EXPECT_NE(ColourAt(picture, 15 + 6, 33 + 16), kFaceColour); // inside the disc
  // "はい(Y)" is 12 + 12 + 6 + 6 + 6 = 42 wide: (75 - 42) / 2 = 16 in.
  EXPECT_EQ(ColourAt(picture, 15 + 16, 77 + 5 + 2), kTextColour);
  EXPECT_EQ(ColourAt(picture, 15 + 15, 77 + 5 + 2), kFaceColour);
}

TEST(MessageBoxView, LongTextWrapsAndATallOneIsCutWithAnEllipsis) {
  FixedCellUiText text;
  std::string long_text;
  for (int i = 0; i < 200; ++i) long_text += "\x82\xA0";  // あ x 200: 2400 pixels on one line
  const MessageBoxView wide(text, Request("C", long_text, MessageButtons::kOk), {640, 480});
  EXPECT_LE(wide.BoxSize().width, MessageBoxMetrics::kMaxWidth);
  EXPECT_GT(wide.Rows().size(), 1u);
  for (const std::string& row : wide.Rows()) EXPECT_LE(text.Width(row), wide.BoxSize().width - 6 - 24);

  std::string many_lines;
  for (int i = 0; i < 40; ++i) many_lines += "line\r\n";
  const MessageBoxView tall(text, Request("C", many_lines, MessageButtons::kOk), {300, 200});
  EXPECT_LE(tall.BoxSize().height, 200);
  ASSERT_FALSE(tall.Rows().empty());
  EXPECT_LT(tall.Rows().size(), 40u);
  EXPECT_TRUE(tall.Rows().back().ends_with("\x81\x63")) << tall.Rows().back();
  EXPECT_LE(tall.BoxSize().width, 300);
}

TEST(MessageBoxView, ACaptionWiderThanTheBoxIsCut) {
  FixedCellUiText text;
  const MessageBoxView view(text, Request(std::string(200, 'C'), "x", MessageButtons::kOk), {640, 480});
  EXPECT_EQ(view.BoxSize().width, MessageBoxMetrics::kMaxWidth);
}

}  // namespace
}  // namespace kest::ui
