#include <gtest/gtest.h>

#include "shell/ui/button.h"
#include "shell/ui/check_box.h"
#include "shell/ui/group_frame.h"
#include "shell/ui/label.h"
#include "shell/ui/mnemonic.h"
#include "shell/ui/paint.h"
#include "shell/ui/text_wrap.h"
#include "shell/ui/track_bar.h"
#include "ui_test_support.h"

namespace kest::ui {
namespace {

TEST(Mnemonic, MarkersAreTakenOutAndTheKeyNoted) {
  struct {
    const char* caption;
    const char* shown;
    std::size_t offset, length;
    std::uint8_t key;
  } cases[] = {
      {"Direct(&S)", "Direct(S)", 7, 1, 'S'},
      {"&delay", "delay", 0, 1, 'D'},
      {"A&&B", "A&B", 0, 0, 0},
      {"\x82\xA0(&1)", "\x82\xA0(1)", 3, 1, '1'},          // あ(&1)
      {"&\x82\xA0", "\x82\xA0", 0, 2, 0},                    // a double-byte access character has no key
      {"x&", "x&", 0, 0, 0},                                 // a marker at the end is shown
      {"&A&B", "AB", 0, 1, 'A'},                             // the first marker counts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    const Mnemonic m = ParseMnemonic(c.caption);
    EXPECT_EQ(m.text, c.shown);
    EXPECT_EQ(m.underline_offset, c.offset);
    EXPECT_EQ(m.underline_length, c.length);
    EXPECT_EQ(m.key, c.key);
  }
}

TEST(Mnemonic, TheAccessKeyIsUnderlinedOnTheLastRowOfItsCell) {
  FixedCellUiText text;
  FacePicture picture(40, 14);
  DrawMnemonic(picture, text, 0, 0, ParseMnemonic("(&S)"), kTextColour);
  // "(" takes columns 0-5, "S" 6-11: the line runs under S only.
  for (std::int32_t x = 0; x < 24; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(ColourAt(picture, x, 11), x >= 6 && x < 12 ? kTextColour : kFaceColour);
  }
}

TEST(Widgets, ADisabledCaptionIsGreyWithALitEmboss) {
  FixedCellUiText text;
  FacePicture picture(20, 16);
  DrawCaption(picture, text, 0, 0, ParseMnemonic("A"), Enabled::kNo);
  EXPECT_EQ(ColourAt(picture, 0, 2), kGreyTextColour);       // the glyph box
  EXPECT_EQ(ColourAt(picture, 5, 10), kHighlightColour);     // the emboss shows below and right
  EXPECT_EQ(ColourAt(picture, 3, 5), kGreyTextColour);
}

TEST(Widgets, ButtonLooks) {
  FixedCellUiText text;
  const Button button(Rect{0, 0, 75, 23}, "OK", DefaultButton::kNo);
  struct {
    const char* name;
    WidgetState state;
    std::int32_t top_left, face, caption_pixel;
    std::int32_t caption_x;  // a column inside the caption's first glyph
  } cases[] = {
      {"at rest", {}, kHighlightColour, kFaceColour, kTextColour, 32},
      {"hover", {.hover = true}, kHighlightColour, kHoverColour, kTextColour, 32},
      {"pressed", {.pressed = true}, kShadowColour, kFaceColour, kTextColour, 33},
      {"disabled", {.enabled = false}, kHighlightColour, kFaceColour, kGreyTextColour, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FacePicture picture(75, 23);
    button.Draw(picture, text, c.state);
    EXPECT_EQ(ColourAt(picture, 0, 0), c.top_left);
    EXPECT_EQ(ColourAt(picture, 10, 12), c.face);
    // "OK" is 12 wide: it starts at (75 - 12) / 2 = 31, one further while pressed; its glyph
    // boxes cover rows 5 + 2 to 5 + 9.
    EXPECT_EQ(ColourAt(picture, c.caption_x, 8), c.caption_pixel);
  }
}

TEST(Widgets, AFocusedButtonHasADottedRectangleInside) {
  FixedCellUiText text;
  FacePicture picture(75, 23);
  Button(Rect{0, 0, 75, 23}, "OK").Draw(picture, text, {.focused = true});
  EXPECT_EQ(ColourAt(picture, 0, 0), kDarkShadowColour);  // the frame of the focused button
  EXPECT_EQ(ColourAt(picture, 4, 4), kTextColour);
  EXPECT_EQ(ColourAt(picture, 5, 4), kFaceColour);
  EXPECT_EQ(ColourAt(picture, 6, 4), kTextColour);
}

TEST(Widgets, CheckBoxTickAndGreying) {
  FixedCellUiText text;
  const CheckBox box({2, 2}, "&Go");
  struct {
    bool checked;
    WidgetState state;
    std::int32_t inside, tick;
  } cases[] = {
      {false, {}, kBoxColour, kBoxColour},
      {true, {}, kBoxColour, kTextColour},
      {true, {.enabled = false}, kFaceColour, kGreyTextColour},
  };
  for (const auto& c : cases) {
    FacePicture picture(60, 20);
    box.Draw(picture, text, c.checked, c.state);
    EXPECT_EQ(ColourAt(picture, 2 + 10, 2 + 3), c.inside);  // inside the box, off the tick
    EXPECT_EQ(ColourAt(picture, 2 + 5, 2 + 8), c.tick);     // on the tick's first stroke
  }
  EXPECT_EQ(box.HitArea(text), (Rect{2, 2, 2 + 13 + 4 + 12 + 1, 2 + 13}));
}

TEST(Widgets, TrackBarPositionsAndTheNearestToAPointer) {
  const TrackBar bar{.at = {10, 0}, .width = 100, .minimum = 1, .maximum = 5};
  // 100 wide with 8 pixels each side: centres 18, 38, 59, 80, 101 (83 pixels in four steps).
  EXPECT_EQ(bar.CentreOf(1), 18);
  EXPECT_EQ(bar.CentreOf(5), 18 + 83);
  EXPECT_EQ(bar.CentreOf(9), bar.CentreOf(5));
  struct { std::int32_t x, position; } cases[] = {{0, 1}, {18, 1}, {28, 1}, {30, 2}, {60, 3}, {95, 5}, {500, 5}};
  for (auto c : cases) EXPECT_EQ(bar.PositionAt(c.x), c.position) << c.x;
}

TEST(Widgets, TrackBarDrawsATickPerPositionAndItsThumb) {
  const TrackBar bar{.at = {0, 0}, .width = 100, .minimum = 1, .maximum = 5};
  FacePicture picture(100, TrackBar::kHeight);
  bar.Draw(picture, 3, {});
  const std::int32_t tick_row = TrackBar::kThumbHeight + 4;
  for (std::int32_t p = 1; p <= 5; ++p) EXPECT_EQ(ColourAt(picture, bar.CentreOf(p), tick_row), kTextColour) << p;
  EXPECT_EQ(ColourAt(picture, bar.CentreOf(1) + 1, tick_row), kFaceColour);
  const Rect thumb = bar.ThumbRect(3);
  EXPECT_EQ(ColourAt(picture, thumb.left, thumb.top), kHighlightColour);
  EXPECT_EQ(ColourAt(picture, bar.CentreOf(1), 1), kFaceColour);  // no thumb at position 1
}

TEST(Widgets, GroupFrameRunsThroughItsCaption) {
  FixedCellUiText text;
  FacePicture picture(80, 40);
  GroupFrame{{0, 0, 80, 40}, "AB"}.Draw(picture, text);
  EXPECT_EQ(ColourAt(picture, 2, 6), kShadowColour);     // the etched top line at half a line
  EXPECT_EQ(ColourAt(picture, 9, 2), kTextColour);       // "A" over the line
  EXPECT_EQ(ColourAt(picture, 7, 6), kFaceColour);       // the gap left of the caption
  EXPECT_EQ(ColourAt(picture, 0, 39), kHighlightColour); // the etched bottom line
}

TEST(Widgets, RightAlignedLabelEndsAtItsRightEdge) {
  FixedCellUiText text;
  FacePicture picture(60, 12);
  picture.FillRect({0, 0, 60, 12}, static_cast<std::uint32_t>(picture.ColorToPixel(0x0000FF)));
  Label({0, 0, 60, 12}, "AB", Align::kRight).Draw(picture, text, Enabled::kYes);
  // "AB" is 12 wide and ends a column short of the edge (room for an emboss): cells 47-52, 53-58.
  EXPECT_EQ(ColourAt(picture, 5, 6), kFaceColour);   // the old picture is gone
  EXPECT_EQ(ColourAt(picture, 59, 6), kFaceColour);
  EXPECT_EQ(ColourAt(picture, 58, 6), kFaceColour);  // the gap at the right of "B"'s cell
  EXPECT_EQ(ColourAt(picture, 57, 6), kTextColour);
  EXPECT_EQ(ColourAt(picture, 52, 6), kFaceColour);
  EXPECT_EQ(ColourAt(picture, 47, 6), kTextColour);
  EXPECT_EQ(ColourAt(picture, 46, 6), kFaceColour);
}

TEST(TextWrap, RowsBreakByCharactersWithTheLineBreakingRules) {
  FixedCellUiText text;  // single-byte 6, double-byte 12
  struct {
    const char* name;
    const char* text;
    std::int32_t width;
    std::vector<std::string> rows;
  } cases[] = {
      {"ascii", "ABCDEF", 24, {"ABCD", "EF"}},
      {"double-byte characters stay whole", "\x82\xA0\x82\xA2\x82\xA4", 30, {"\x82\xA0\x82\xA2", "\x82\xA4"}},
      {"a full stop joins the row before", "\x82\xA0\x82\xA2\x81\x42", 24, {"\x82\xA0", "\x82\xA2\x81\x42"}},
      {"an opening bracket moves on", "\x82\xA0\x81\x75\x82\xA2", 24, {"\x82\xA0", "\x81\x75\x82\xA2"}},
      {"a trail byte B is no full stop", "\x82\xA0\x82\xA2" "B", 24, {"\x82\xA0\x82\xA2", "B"}},
      {"line breaks of every kind", "A\r\nB\nC\rD", 100, {"A", "B", "C", "D"}},
      {"an empty line stays", "A\n\nB", 100, {"A", "", "B"}},
      {"a character wider than the row", "\x82\xA0\x82\xA2", 5, {"\x82\xA0", "\x82\xA2"}},
      {"a trail byte 0x5C is no break", "\x83\x5C\x83\x5C", 12, {"\x83\x5C", "\x83\x5C"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WrapText(text, c.text, c.width), c.rows);
  }
}

TEST(TextWrap, RowsPastTheLimitAreCutWithAnEllipsis) {
  FixedCellUiText text;
  const std::vector<std::string> rows{"ABCD", "EFGH", "IJKL"};
  EXPECT_EQ(CutRows(text, rows, 3, 24), rows);
  // "EFGH" + "…" is 36 wide: two characters go so that 24 is not passed.
  EXPECT_EQ(CutRows(text, rows, 2, 24), (std::vector<std::string>{"ABCD", "EF\x81\x63"}));
  EXPECT_EQ(CutRows(text, rows, 2, 48), (std::vector<std::string>{"ABCD", "EFGH\x81\x63"}));
}

}  // namespace
}  // namespace kest::ui
