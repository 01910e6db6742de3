// The interpreter: flow control, calls and returns, waits, event handlers and their
// scheduling, resets, and the faults it must not repeat.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interpreter_fixture.h"
#include "params/messages.h"
#include "scenario/messages.h"

namespace kest::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(InterpreterTest, IfTakesTheFirstBranchWhoseConditionHolds) {
  const std::string branches =
      "VarNew r, type: int, value: 0\n"
      "If x == 1\n"
      "  Calc r = 1\n"
      "  If x == 1\n"
      "    Calc r = r + 10\n"
      "Elseif x == 2\n"
      "  Calc r = 2\n"
      "Elseif x >= 2\n"
      "  Calc r = 3\n"
      "Else\n"
      "  Calc r = 4\n"
      "Calc r = r + 100\n";
  const std::vector<std::pair<int, int>> cases = {{1, 111}, {2, 102}, {3, 103}, {0, 104}};
  for (const auto& [x, expected] : cases) {
    const std::string page = "case" + std::to_string(x) + ".ksb";
    Load({{page, "VarNew x, type: int, value: " + std::to_string(x) + "\n" + branches}}, page);
    Frame();
    EXPECT_EQ(Int("r"), expected) << "x = " << x;
  }
}

TEST_F(InterpreterTest, LoopsContinueAndBreak) {
  Load({{"start.ksb",
         "VarNew total, type: int, value: 0\n"
         "VarNew i, type: int, value: 0\n"
         "WhileInit i = 0\n"
         "While i < 10\n"
         "  If i == 2\n"
         "    Continue\n"
         "  Calc total = total + i\n"
         "  Break total > 20\n"
         "  WhileLoop i = i + 1\n"
         "VarNew after, type: int, value: 1\n"}});
  Frame();
  EXPECT_EQ(Int("total"), 0 + 1 + 3 + 4 + 5 + 6 + 7);
  EXPECT_EQ(Int("i"), 7);
  EXPECT_EQ(Int("after"), 1);
}

TEST_F(InterpreterTest, TheMainScriptRunsUntilAWaitAndTheWaitCountsFrameTimesAfterItsFirstFrame) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 1\n"
         "Calc a = 2\n"
         "Wait time: 50\n"
         "Calc a = 3\n"}});
  Frame();
  EXPECT_EQ(Int("a"), 2);
  Frames(3);  // 16 + 16 + 16 = 48 < 50
  EXPECT_EQ(Int("a"), 2);
  Frame();
  EXPECT_EQ(Int("a"), 3);
  // The waiting command is traced once.
  EXPECT_THAT(Lines(), ElementsAre("start.ksb(1)", "start.ksb(2)", "start.ksb(3)", "start.ksb(4)"));
  EXPECT_EQ(trace_.lines[0], "00000010 : start.ksb(1)");
  EXPECT_EQ(trace_.lines[3], "00000050 : start.ksb(4)");
}

TEST_F(InterpreterTest, AFrameEndFlagEndsTheFrameAfterItsCommand) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 1\n"
         "[frame-end] Calc a = 2\n"
         "Calc a = 3\n"}});
  Frame();
  EXPECT_EQ(Int("a"), 2);
  Frame();
  EXPECT_EQ(Int("a"), 3);
}

TEST_F(InterpreterTest, ACallPassesTheArgumentsThatHaveAResultAndRestoresTheCallersOnes) {
  Load({{"start.ksb",
         "VarNew r, type: int, value: 0\n"
         "VarNew count, type: int, value: -1\n"
         "VarNew second, type: str, value: \"\"\n"
         "VarNew after, type: int, value: -1\n"
         "VarNew third, type: str, value: \"\"\n"
         "Call mid.ksb, args: (\"a\", \"b\", \"c\")\n"},
        {"mid.ksb",
         "Call sub.ksb, result: r, args: (1 + 1, \"two\", missing + 1)\n"
         "Calc after = @ParamCount\n"
         "Calc third = @ParamStr[2]\n"},
        {"sub.ksb",
         "Calc count = @ParamCount\n"
         "Calc second = @ParamStr[1]\n"
         "Calc @Result = 7\n"}});
  Frame();
  EXPECT_EQ(Int("count"), 2);  // the argument without a result is left out
  EXPECT_EQ(Str("second"), "two");
  EXPECT_EQ(Int("r"), 7);
  EXPECT_EQ(Int("after"), 3);
  EXPECT_EQ(Str("third"), "c");
  EXPECT_EQ(call_man_.Stack.Count(), 0u);
}

TEST_F(InterpreterTest, TheVariablesOfACallEndWithIt) {
  Load({{"start.ksb",
         "VarNew seen, type: int, value: 0\n"
         "Call sub.ksb\n"},
        {"sub.ksb",
         "VarNew mine, type: int, value: 5, scope: local\n"
         "VarNew gone, type: int, value: 6, scope: auto\n"
         "VarNew kept, type: int, value: 7\n"
         "Calc seen = mine + gone\n"}});
  Frame();
  EXPECT_EQ(Int("seen"), 11);
  EXPECT_FALSE(Exists("mine"));
  EXPECT_FALSE(Exists("gone"));
  EXPECT_EQ(Int("kept"), 7);
  EXPECT_EQ(params_.CurrentDepth(), 0);
}

TEST_F(InterpreterTest, BreakWithANegativeTargetReturnsLikeExitAndALastCallEndsItsPage) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 0\n"
         "VarNew b, type: int, value: 0\n"
         "Call sub.ksb\n"
         "Calc b = a\n"},
        {"sub.ksb",
         "Calc a = 1\n"
         "Break\n"
         "Calc a = 2\n"},
        {"tail.ksb", "Call sub.ksb\n"}});
  Frame();
  EXPECT_EQ(Int("a"), 1);
  EXPECT_EQ(Int("b"), 1);
  EXPECT_TRUE(call_man_.MainScriptEnded());
}

TEST_F(InterpreterTest, AnEndedMainScriptStaysEndedWhileHandlersStillRun) {
  Load({{"start.ksb",
         "VarNew runs, type: int, value: 0\n"
         "VarNew handled, type: int, value: 0\n"
         "Calc runs = runs + 1\n"
         "Exit\n"},
        {"h.ksb", "Calc handled = handled + 1\n"}});
  Frames(3);
  EXPECT_TRUE(call_man_.MainScriptEnded());
  Queue("h.ksb");
  Frames(2);
  Queue("h.ksb");
  Frame();
  EXPECT_EQ(Int("handled"), 2);
  EXPECT_EQ(Int("runs"), 1);
  EXPECT_TRUE(call_man_.MainScriptEnded());
}

TEST_F(InterpreterTest, AHandlerRunsBeforeTheMainScriptAndSeesItsSenderAndArguments) {
  Load({{"start.ksb",
         "VarNew log, type: str, value: \"\"\n"
         "Calc log = log ++ \"m\"\n"
         "Wait time: 1000\n"},
        {"h.ksb",
         "Label go\n"
         "Calc log = log ++ @Sender ++ @ParamStr[0] ++ @ParamStr[1]\n"}});
  Frame();
  Queue("h.ksb:go", "btn", {"3", "4"});
  Frame();
  EXPECT_EQ(Str("log"), "mbtn34");
  EXPECT_EQ(scene_.Events().Count(), 0u);  // the entry went with the handler's level
  // The interrupted wait runs again after the handler, and is traced again.
  EXPECT_THAT(Lines(), ElementsAre("start.ksb(1)", "start.ksb(2)", "start.ksb(3)", "<Event>h.ksb(1)",
                                   "h.ksb(1)", "h.ksb(2)", "start.ksb(3)"));
}

TEST_F(InterpreterTest, AnEventQueuedDuringAWaitThatHoldsEventsStartsOnlyAfterTheWait) {
  Load({{"start.ksb",
         "VarNew seen, type: int, value: -1\n"
         "Wait time: 48, hold: TRUE\n"
         "Wait time: 1000\n"},
        {"h.ksb", "Calc seen = @TickCount\n"}});
  Frame();  // 16: the wait begins
  Queue("h.ksb");
  Frames(3);  // 32, 48, 64: the wait has 48 - 16 - 16 - 16 = 0 left at 64
  EXPECT_EQ(Int("seen"), 64);
}

TEST_F(InterpreterTest, AHandlerThatYieldsReturnsToTheInterruptedWaitWithItsRemainingTime) {
  Load({{"start.ksb",
         "VarNew done, type: int, value: -1\n"
         "VarNew h, type: int, value: 0\n"
         "Wait time: 80\n"
         "Calc done = @TickCount\n"},
        {"h.ksb",
         "Calc h = 1\n"
         "Wait time: 32\n"
         "Calc h = 2\n"}});
  Frame();  // 16: the main wait begins with 80 ms
  Queue("h.ksb");
  Frame();  // 32: the handler interrupts; its wait begins
  EXPECT_EQ(Int("h"), 1);
  Frames(2);  // 48, 64: the handler's wait ends and yields
  Frame();    // 80: the handler finishes; the main wait resumes: 80 - 16 = 64 left
  EXPECT_EQ(Int("h"), 2);
  EXPECT_EQ(Int("done"), -1);
  Frames(3);  // 96, 112, 128: 48, 32, 16 left
  EXPECT_EQ(Int("done"), -1);
  Frame();  // 144: 0 left
  EXPECT_EQ(Int("done"), 144);
}

TEST_F(InterpreterTest, ANewerEventNestsAtAHandlersYieldAndTheOuterHandlerResumesAfterIt) {
  Load({{"start.ksb",
         "VarNew log, type: str, value: \"\"\n"
         "Calc log = log ++ \"m\"\n"
         "Wait time: 1000\n"},
        {"a.ksb",
         "Calc log = log ++ \"a1\"\n"
         "DoEvent\n"
         "Calc log = log ++ \"a2\"\n"},
        {"b.ksb", "Calc log = log ++ \"b\"\n"}});
  Frame();
  Queue("a.ksb");
  Frame();
  EXPECT_EQ(Str("log"), "ma1");
  EXPECT_EQ(call_man_.State, 2);
  Queue("b.ksb");
  Frame();
  EXPECT_EQ(Str("log"), "ma1ba2");
  EXPECT_EQ(call_man_.State, 0);
  EXPECT_EQ(call_man_.EventDepth, 2);
  EXPECT_EQ(scene_.Events().Count(), 0u);
}

TEST_F(InterpreterTest, AnEventWhosePageIsNowhereIsDroppedAndTheNextOneRuns) {
  Load({{"start.ksb",
         "VarNew log, type: str, value: \"\"\n"
         "Wait time: 1000\n"},
        {"h.ksb", "Calc log = log ++ \"h\"\n"},
        {"bad.ksb", "Calc log = log ++ \"bad\"\n"}});
  host_.unreadable.insert("bad.ksb");
  host_.on_disk.insert("disk.ksb");
  Frame();
  Queue("gone.ksb:x");
  Queue("bad.ksb");
  Queue("h.ksb");
  Frames(3);
  EXPECT_EQ(Str("log"), "h");
  EXPECT_THAT(Lines(), ::testing::Contains("<Dropped>gone.ksb:x(0)"));
  EXPECT_THAT(Lines(), ::testing::Contains("<Dropped>bad.ksb(0)"));
  EXPECT_EQ(call_man_.Stack.Count(), 0u);  // a page that failed left no frame
  EXPECT_EQ(scene_.Events().Count(), 0u);
  // A page that lies on a disk not inserted stays queued for a later try.
  Queue("disk.ksb");
  Frames(2);
  EXPECT_EQ(scene_.Events().Count(), 1u);
}

TEST_F(InterpreterTest, ACommandThatFailsAfterMovingOnIsDoneAndTheNextOneStartsProperly) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 1\n"
         "VarNew \"\", type: int\n"
         "Wait time: 32\n"
         "Calc a = 2\n"}});
  Frame();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], Message(ParamsMessage::NoVariableName));
  Frame();
  EXPECT_EQ(Int("a"), 1);
  Frame();
  EXPECT_EQ(Int("a"), 2);
}

TEST_F(InterpreterTest, CommandsOfLaterSubsystemsMoveOnWithAClearError) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 1\n"
         "BoxNew PR_NAME: \"box\"\n"
         "Flip 0, 100\n"
         "Calc a = 2\n"}});
  Frame();
  EXPECT_EQ(Int("a"), 2);
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_THAT(errors_[0], HasSubstr("BoxNew: not available yet"));
  EXPECT_THAT(errors_[1], HasSubstr("Flip: not available yet"));
}

TEST_F(InterpreterTest, CallsNestedTooDeeplyFailWithAClearErrorAndUnwind) {
  Load({{"start.ksb",
         "VarNew n, type: int, value: 0\n"
         "VarNew back, type: int, value: 0\n"
         "Call rec.ksb\n"
         "Calc back = 1\n"},
        {"rec.ksb",
         "Calc n = n + 1\n"
         "Call rec.ksb\n"}});
  Frame();
  EXPECT_EQ(Int("n"), static_cast<int>(kMaxCallDepth));
  EXPECT_EQ(Int("back"), 1);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], HasSubstr("nested too deeply"));
}

TEST_F(InterpreterTest, ACallerPageThatCannotBeReadAgainEndsInsteadOfFailingTheReturn) {
  std::map<std::string, std::string> pages = {{"start.ksb",
                                               "VarNew after, type: int, value: 0\n"
                                               "Call sub.ksb\n"
                                               "Calc after = 1\n"},
                                              {"sub.ksb", "Jump p1.ksb\n"}};
  for (int i = 1; i <= 10; ++i)
    pages["p" + std::to_string(i) + ".ksb"] = i < 10 ? "Jump p" + std::to_string(i + 1) + ".ksb\n" : "Exit\n";
  Load(pages);
  host_.unreadable.insert("start.ksb");  // no longer readable; the cache loses it on the way
  Frame();
  EXPECT_FALSE(call_man_.Pages().Contains("start.ksb"));
  EXPECT_EQ(Int("after"), 0);
  EXPECT_TRUE(call_man_.MainScriptEnded());
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], HasSubstr("start.ksb: cannot be read"));
}

TEST_F(InterpreterTest, AFullPCResetFromAHandlerRestartsTheMainScriptAndEmptiesTheQueue) {
  Load({{"start.ksb",
         "VarNew runs, type: int, value: 0\n"
         "Label top\n"
         "Calc runs = runs + 1\n"
         "Wait time: 1000\n"},
        {"h.ksb",
         "PCReset start.ksb:top, full: 1\n"
         "Calc runs = 100\n"},
        {"later.ksb", "Calc runs = 1000\n"}});
  Frame();
  Queue("h.ksb");
  Queue("later.ksb");
  Frame();
  EXPECT_EQ(Int("runs"), 2);
  EXPECT_EQ(call_man_.Stack.Count(), 0u);
  EXPECT_EQ(call_man_.State, 0);
  EXPECT_EQ(scene_.Events().Count(), 0u);
}

TEST_F(InterpreterTest, APCResetWithoutItsFlagRewindsTheMainScriptAndLetsTheHandlerFinish) {
  Load({{"start.ksb",
         "VarNew runs, type: int, value: 0\n"
         "VarNew h, type: int, value: 0\n"
         "Label top\n"
         "Calc runs = runs + 1\n"
         "Wait time: 1000\n"},
        {"h.ksb",
         "PCReset start.ksb:top\n"
         "Calc h = 1\n"}});
  Frame();
  Queue("h.ksb", "button");
  Frame();
  EXPECT_EQ(Int("h"), 1);
  EXPECT_EQ(Int("runs"), 2);
  EXPECT_EQ(call_man_.Stack.Count(), 0u);
}

TEST_F(InterpreterTest, ResetClearsTheGameVariablesAndStartsAgain) {
  Load({{"start.ksb",
         "VarNew g, type: int, value: 5\n"
         "VarNew s, type: int, value: 6, scope: status\n"
         "Reset other.ksb\n"},
        {"other.ksb", "VarNew fresh, type: int, value: 1\n"}});
  Queue("nowhere-yet.ksb");
  Frame();
  EXPECT_FALSE(Exists("g"));
  EXPECT_EQ(Int("s"), 6);
  EXPECT_EQ(Int("fresh"), 1);
  EXPECT_EQ(call_man_.CurrentPage->Name, "other.ksb");
}

TEST_F(InterpreterTest, TerminateStopsTheRunAndSaveAndLoadOnlyRecordTheirRequests) {
  Load({{"start.ksb",
         "VarNew a, type: int, value: 0\n"
         "Label here\n"
         "GameSave 3, start.ksb:here, \"Chapter\"\n"
         "GameLoad 2\n"
         "Terminate\n"
         "Calc a = 1\n"}});
  Frame();
  EXPECT_THAT(host_.saves, ElementsAre("3 start.ksb 1 Chapter"));
  EXPECT_TRUE(host_.load_slots.empty());  // a save ends the frame
  Frame();
  EXPECT_THAT(host_.load_slots, ElementsAre(2));
  Frame();
  EXPECT_TRUE(host_.quit);
  EXPECT_EQ(Int("a"), 0);
}

TEST_F(InterpreterTest, ResultAndArgumentsReadAsNothingOutsideACall) {
  Load({{"start.ksb",
         "VarNew r, type: int, value: 9\n"
         "VarNew n, type: int, value: 9\n"
         "VarNew s, type: str, value: \"x\"\n"
         "Calc r = @Result\n"
         "Calc n = @ParamCount\n"
         "Calc s = @Sender\n"}});
  Frame();
  EXPECT_EQ(Int("r"), 0);
  EXPECT_EQ(Int("n"), 0);
  EXPECT_EQ(Str("s"), "");
}

}  // namespace
}  // namespace kest::testing
