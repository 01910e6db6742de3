#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/scripted_input.h"
#include "support/temp_folder.h"

namespace kest::platform {
namespace {

using ::testing::HasSubstr;

TEST(ScriptedInput, ReadsEveryEvent) {
  const ScriptedInput input = ParseScriptedInput(
      "# a comment, then a blank line\n"
      "\n"
      "0 move 10 -20\n"
      "0\tdown   right\n"
      "1 up left\r\n"
      "   # an indented comment\n"
      "2 click 320 240\n"
      "2 wheel down\n"
      "3 key 0x0D\n"
      "3 keydown 27\n"
      "4 keyup 0x1b\n"
      "5 text  \xE3\x81\x82 b #c\n"  // "あ b #c" after one separator: the rest is the text
      "6 deactivate\n"
      "7 activate\n"
      "8 answer no\n"
      "9 event start:\xE6\x8A\xBC\xE4\xB8\x8B Button1\n"  // "start:押下"
      "9 event other\n"
      "4294967295 quit",  // the last line has no line break
      "run.txt");
  EXPECT_EQ(input.file, "run.txt");
  const std::vector<ScriptedAction>& a = input.actions;
  ASSERT_EQ(a.size(), 15u);

  EXPECT_EQ(a[0].kind, ScriptedKind::kMove);
  EXPECT_EQ(a[0].position, (Point{10, -20}));
  EXPECT_EQ(a[0].line, 3);
  EXPECT_EQ(a[1].kind, ScriptedKind::kDown);
  EXPECT_EQ(a[1].button, MouseButton::kRight);
  EXPECT_EQ(a[2].kind, ScriptedKind::kUp);
  EXPECT_EQ(a[2].button, MouseButton::kLeft);
  EXPECT_EQ(a[2].frame, 1u);
  EXPECT_EQ(a[3].kind, ScriptedKind::kClick);
  EXPECT_EQ(a[3].position, (Point{320, 240}));
  EXPECT_EQ(a[3].line, 7);  // comment and CRLF lines still count
  EXPECT_EQ(a[4].wheel, WheelDirection::kDown);
  EXPECT_EQ(a[5].kind, ScriptedKind::kKey);
  EXPECT_EQ(a[5].virtual_key, 0x0D);
  EXPECT_EQ(a[6].kind, ScriptedKind::kKeyDown);
  EXPECT_EQ(a[6].virtual_key, 27);
  EXPECT_EQ(a[7].kind, ScriptedKind::kKeyUp);
  EXPECT_EQ(a[7].virtual_key, 0x1B);
  EXPECT_EQ(a[8].kind, ScriptedKind::kText);
  EXPECT_EQ(a[8].text, " \x82\xA0 b #c");  // CP932, the blank after the separator kept
  EXPECT_EQ(a[9].kind, ScriptedKind::kDeactivate);
  EXPECT_EQ(a[10].kind, ScriptedKind::kActivate);
  EXPECT_EQ(a[11].kind, ScriptedKind::kAnswer);
  EXPECT_EQ(a[11].answer, MessageAnswer::kNo);
  EXPECT_EQ(a[12].kind, ScriptedKind::kEvent);
  EXPECT_EQ(a[12].text, "start:\x89\x9F\x89\xBA");
  EXPECT_EQ(a[12].sender, "Button1");
  EXPECT_EQ(a[13].text, "other");
  EXPECT_EQ(a[13].sender, "");
  EXPECT_EQ(a[14].kind, ScriptedKind::kQuit);
  EXPECT_EQ(a[14].frame, 4294967295u);
}

TEST(ScriptedInput, EmptyAndCommentOnlyScriptsHaveNoActions) {
  EXPECT_TRUE(ParseScriptedInput("", "a").actions.empty());
  EXPECT_TRUE(ParseScriptedInput("# nothing\n\n  \t\n#0 quit\n", "a").actions.empty());
}

TEST(ScriptedInput, BadLinesNameFileLineAndProblem) {
  struct Case {
    const char* line;
    const char* problem;
  };
  const Case cases[] = {
      {"x move 1 2", "frame number \"x\" is not a decimal number"},
      {"-1 quit", "frame number \"-1\" is not a decimal number"},
      {"+1 quit", "is not a decimal number"},
      {"4294967296 quit", "frame number \"4294967296\" is too large"},
      {"5", "no event after the frame number"},
      {"5 jump", "unknown event \"jump\""},
      {"5 Move 1 2", "unknown event \"Move\""},  // names are lower case
      {"5 move 1", "missing Y; expected move X Y"},
      {"5 move", "missing X"},
      {"5 move 1 2 3", "too many arguments; expected move X Y"},
      {"5 move 1.5 2", "X \"1.5\" is not a whole number"},
      {"5 click 1 99999999999", "Y \"99999999999\" is not a whole number"},
      {"5 down middle", "the button \"middle\" is not left or right; expected down left|right"},
      {"5 up", "missing the button"},
      {"5 wheel left", "the direction \"left\" is not up or down"},
      {"5 key 0", "the key code \"0\" is not a number from 1 to 255"},
      {"5 key 256", "the key code \"256\""},
      {"5 keydown 0x100", "the key code \"0x100\""},
      {"5 keyup 0x", "the key code \"0x\""},
      {"5 key A", "the key code \"A\""},
      {"5 key 13 13", "too many arguments; expected key VK"},
      {"5 text", "missing the text; expected text UTF8"},
      {"5 text \xFF\xFE", "the text is not UTF-8"},
      {"5 text \xF0\x9F\x98\x80", "no Shift-JIS form"},  // an emoji
      {"5 answer maybe", "the answer \"maybe\" is not ok, cancel, yes or no"},
      {"5 answer", "missing the answer"},
      {"5 event", "missing the handler; expected event HANDLER [SENDER]"},
      {"5 event page sender extra", "too many arguments"},
      {"5 quit now", "too many arguments; expected quit"},
      {"5 deactivate 1", "too many arguments; expected deactivate"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string script = "# header\n1 move 0 0\n" + std::string(c.line) + "\n9 quit\n";
    try {
      ParseScriptedInput(script, "input.txt");
      ADD_FAILURE() << "accepted";
    } catch (const ScriptedInputError& error) {
      EXPECT_EQ(error.File(), "input.txt");
      EXPECT_EQ(error.Line(), 3);
      EXPECT_THAT(error.Problem(), HasSubstr(c.problem));
      EXPECT_THAT(error.what(), HasSubstr("input.txt:3: "));
    }
  }
}

TEST(ScriptedInput, FramesMustNotDecrease) {
  try {
    ParseScriptedInput("10 key 13\n10 key 13\n9 quit\n", "order.txt");
    FAIL() << "accepted";
  } catch (const ScriptedInputError& error) {
    EXPECT_STREQ(error.what(), "order.txt:3: frame 9 comes after frame 10; frames must not decrease");
  }
}

TEST(ScriptedInput, ControlBytesInMessagesAreEscaped) {
  try {
    ParseScriptedInput("1 jump\x01\x1B[2J\n", "x");
    FAIL() << "accepted";
  } catch (const ScriptedInputError& error) {
    EXPECT_THAT(error.Problem(), HasSubstr("unknown event \"jump\\x01\\x1B[2J\""));
  }
}

TEST(ScriptedInput, LoadsFilesAndReportsUnreadableOnes) {
  testing::TempFolder folder;
  const std::string text = "0 key 32\n";
  folder.Write("run.txt", Bytes(text.begin(), text.end()));
  const ScriptedInput input = LoadScriptedInput(folder.File("run.txt"));
  EXPECT_EQ(input.file, folder.File("run.txt"));
  ASSERT_EQ(input.actions.size(), 1u);
  EXPECT_EQ(input.actions[0].virtual_key, 32);

  try {
    LoadScriptedInput(folder.File("missing.txt"));
    FAIL() << "accepted";
  } catch (const ScriptedInputError& error) {
    EXPECT_EQ(error.Line(), 0);
    EXPECT_EQ(std::string(error.what()), folder.File("missing.txt") + ": cannot be opened");
  }
  EXPECT_THROW(LoadScriptedInput(folder.Path().string()), ScriptedInputError);  // a folder
}

}  // namespace
}  // namespace kest::platform
