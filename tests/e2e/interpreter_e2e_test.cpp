// Titles that show the interpreter's scheduling end to end: compiled by kest, run headless by
// kestplayer at 16 ms frames (frame F runs at frame clock 16 × (F + 1)), compared by trace
// and variables.

#include <gmock/gmock.h>

#include "e2e_support.h"

namespace kest::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(TitleRun, TheMainScriptRunsCommandsThatContinueTheFrameUntilAWait) {
  WriteTitle({{"start.kss",
               "VarNew a, type: int, value: 0\n"
               "Calc a = a + 1\n"
               "Calc a = a + 1\n"
               "Wait time: 32\n"
               "Calc a = a * 100 + @TickCount\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(Trace(), ElementsAre("00000010 : start.ksb(1)", "00000010 : start.ksb(2)", "00000010 : start.ksb(3)",
                                   "00000010 : start.ksb(4)", "00000030 : start.ksb(5)"));
  EXPECT_EQ(Variables()["a"], (DumpedVariable{"global", "int", "248"}));
}

TEST_F(TitleRun, AnEndedMainScriptStaysEndedWhileHandlersStillRun) {
  WriteTitle({{"start.kss",
               "VarNew n, type: int, value: 0\n"
               "VarNew h, type: str, value: \"\"\n"
               "Calc n = n + 1\n"},
              {"h.kss", "Calc h = h ++ @Sender ++ \";\"\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "20"}, "5 event h.ksb btn\n8 event h.ksb\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(Trace(), ElementsAre("00000010 : start.ksb(1)", "00000010 : start.ksb(2)", "00000010 : start.ksb(3)",
                                   "00000060 : <Event>h.ksb(1)", "00000060 : h.ksb(1)",
                                   "00000090 : <Event>h.ksb(1)"));
  EXPECT_EQ(Value("n"), "1");
  EXPECT_EQ(Value("h"), "btn;;");
}

TEST_F(TitleRun, AnEventQueuedDuringAWaitThatHoldsEventsStartsOnlyAfterTheWait) {
  for (const auto& [hold, started_at] : std::vector<std::pair<std::string, std::string>>{{"TRUE", "80"}, {"FALSE", "32"}}) {
    WriteTitle({{"start.kss",
                 "VarNew seen, type: int, value: -1\n"
                 "Wait time: 64, hold: " + hold + "\n"
                 "Wait time: 1000\n"},
                {"h.kss", "Calc seen = @TickCount\n"}});
    Compile();
    const ProgramRun run = Play({"--frames", "10"}, "1 event h.ksb x\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Value("seen"), started_at) << "hold " << hold;
  }
}

TEST_F(TitleRun, AHandlerThatYieldsReturnsToTheWaitItInterruptedWithItsRemainingTime) {
  WriteTitle({{"start.kss",
               "VarNew done, type: int, value: -1\n"
               "VarNew h, type: int, value: 0\n"
               "Wait time: 80\n"
               "Calc done = @TickCount\n"},
              {"h.kss",
               "Calc h = 1\n"
               "Wait time: 32\n"
               "Calc h = 2\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "20"}, "1 event h.ksb b\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // The main wait had 80 ms left when the handler took frames 32 to 80; it goes on with them.
  EXPECT_EQ(Value("done"), "144");
  EXPECT_EQ(Value("h"), "2");
  EXPECT_THAT(Commands(), ElementsAre("start.ksb(1)", "start.ksb(2)", "start.ksb(3)", "<Event>h.ksb(1)", "h.ksb(1)",
                                      "h.ksb(2)", "h.ksb(3)", "start.ksb(3)", "start.ksb(4)"));
}

TEST_F(TitleRun, ACallSeesTheArgumentsThatHadAResultAndTheCallerGetsItsOwnBack) {
  WriteTitle({{"start.kss",
               "VarNew r, type: str, value: \"\"\n"
               "VarNew inner, type: str, value: \"\"\n"
               "VarNew outer, type: str, value: \"\"\n"
               "Call mid.ksb, args: (\"a\", \"b\", \"c\")\n"},
              {"mid.kss",
               "Call sub.ksb, result: r, args: (1 + 1, \"two\", nothing + 1)\n"
               "Calc outer = @ParamCount ++ @ParamStr[2]\n"},
              {"sub.kss",
               "result-type str\n"
               "Calc inner = @ParamCount ++ @ParamStr[0] ++ @ParamStr[1]\n"
               "Calc @Result = \"done\"\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Value("inner"), "22two");
  EXPECT_EQ(Value("outer"), "3c");
  EXPECT_EQ(Value("r"), "done");
}

TEST_F(TitleRun, BreakOutsideALoopReturnsLikeExitAndALastCallEndsItsPage) {
  WriteTitle({{"start.kss",
               "VarNew a, type: int, value: 0\n"
               "Call sub.ksb\n"},
              {"sub.kss",
               "Calc a = 1\n"
               "Break\n"
               "Calc a = 2\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "50"});
  ASSERT_EQ(run.status, 0) << run.err;
  // The run ends in the first frame: returning from sub.ksb ended start.ksb too.
  EXPECT_THAT(Trace(), ElementsAre("00000010 : start.ksb(1)", "00000010 : start.ksb(2)", "00000010 : sub.ksb(1)",
                                   "00000010 : sub.ksb(2)"));
  EXPECT_EQ(Value("a"), "1");
}

TEST_F(TitleRun, CallsThroughElevenPagesReturnIntoTheCallerThatLeftTheCache) {
  std::map<std::string, std::string> pages = {{"start.kss",
                                               "VarNew back, type: int, value: 0\n"
                                               "Call p1.ksb\n"
                                               "Calc back = 1\n"}};
  std::vector<std::string> expected = {"start.ksb(1)", "start.ksb(2)"};
  for (int i = 1; i <= 11; ++i) {
    pages["p" + std::to_string(i) + ".kss"] = i < 11 ? "Call p" + std::to_string(i + 1) + ".ksb\n" : "Calc back = -1\n";
    expected.push_back("p" + std::to_string(i) + ".ksb(1)");
  }
  expected.push_back("start.ksb(3)");
  WriteTitle(pages);
  Compile();
  const ProgramRun run = Play({"--frames", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Commands(), expected);
  EXPECT_EQ(Value("back"), "1");
}

TEST_F(TitleRun, CommandsOfLaterSubsystemsNeitherSpinNorRepeatTheirMessage) {
  WriteTitle({{"start.kss",
               "VarNew i, type: int, value: 0\n"
               "WhileInit i = 0\n"
               "While i < 3\n"
               "  TextIns \"hello\", box: \"mes\", wait: TRUE\n"
               "  MenuClose \"no such menu\"\n"
               "  [frame-end] WhileLoop i = i + 1\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Value("i"), "3");
  const std::string message = "start.ksb(4): TextIns: not available yet";
  const std::size_t first = run.err.find(message);
  ASSERT_NE(first, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(message, first + 1), std::string::npos) << "logged more than once:\n" << run.err;
  EXPECT_THAT(run.err, HasSubstr("start.ksb(5): MenuClose: not available yet"));
}

TEST_F(TitleRun, ACommandThatFailedAfterMovingOnLetsTheNextCommandStartProperly) {
  WriteTitle({{"start.kss",
               "VarNew a, type: int, value: 0\n"
               "VarNew \"\", type: int\n"
               "Wait time: 32\n"
               "Calc a = @TickCount\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Value("a"), "48");
}

TEST_F(TitleRun, EventsWhosePagesAreMissingOrBrokenAreDroppedWithATraceLine) {
  WriteTitle({{"start.kss",
               "VarNew log, type: str, value: \"\"\n"
               "Wait time: 200\n"},
              {"h.kss", "Calc log = log ++ \"h\"\n"}});
  // Copied into the title as it is: version 104, then the page breaks off.
  WriteFile("src/bad.ksb", std::string("\x68\0\0\0\x01\xff", 6));
  Compile();
  const ProgramRun run = Play({"--frames", "8"}, "1 event gone.ksb:x a\n1 event bad.ksb b\n1 event h.ksb c\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Value("log"), "h");
  EXPECT_THAT(Commands(), ::testing::IsSupersetOf({"<Dropped>gone.ksb:x(0)", "<Dropped>bad.ksb(0)", "<Event>h.ksb(1)"}));
}

TEST_F(TitleRun, CallsNestedTooDeeplyStopWithAClearErrorAndTheScriptGoesOn) {
  WriteTitle({{"start.kss",
               "VarNew n, type: int, value: 0\n"
               "VarNew back, type: int, value: 0\n"
               "Call rec.ksb\n"
               "Calc back = 1\n"},
              {"rec.kss",
               "Calc n = n + 1\n"
               "Call rec.ksb\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Value("n"), "1000");
  EXPECT_EQ(Value("back"), "1");
  EXPECT_THAT(run.err, HasSubstr("nested too deeply"));
}

TEST_F(TitleRun, TerminateEndsTheRunAndTheExitPageRunsBeforeTheVariablesAreDumped) {
  WriteTitle({{"start.kss",
               "VarNew a, type: int, value: 1\n"
               "Terminate\n"
               "Calc a = 2\n"},
              {"exit.kss", "VarNew bye, type: bool, value: TRUE\n"}},
             /*exit_page=*/true);
  Compile();
  const ProgramRun run = Play({"--frames", "100"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(Commands(), ElementsAre("start.ksb(1)", "start.ksb(2)", "exit.ksb(1)"));
  EXPECT_EQ(Value("a"), "1");
  EXPECT_EQ(Variables()["bye"], (DumpedVariable{"global", "bool", "TRUE"}));
}

TEST_F(TitleRun, SaveAndLoadRequestsAreRecordedAndThenReportedAsNotAvailable) {
  WriteTitle({{"start.kss",
               "VarNew a, type: int, value: 0\n"
               "GameSave 1, start.ksb, caption: \"\"\n"
               "GameSave 2, start.ksb, caption: \"slot two\"\n"
               "GameLoad 3\n"
               "Calc a = @UpdateCount\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  // A save request ends the frame; each request is answered at the end of its frame.
  EXPECT_EQ(Value("a"), "3");
  EXPECT_THAT(run.err, HasSubstr("GameSave: not available yet"));
  EXPECT_THAT(run.err, HasSubstr("GameLoad: not available yet"));
  EXPECT_EQ(run.err.find("GameSave, "), std::string::npos);  // the first save had no caption: nothing to write
}

TEST_F(TitleRun, VariablesAreDumpedSortedWithScopeTypeAndText) {
  WriteTitle({{"start.kss",
               "VarNew zed, type: str, value: \"line\\nnext\"\n"
               "VarNew arr, type: int, value: 0\n"
               "Calc SetArray(arr, 3)\n"
               "Calc arr[1] = 5\n"
               "VarNew f, type: float, value: 2.5\n"
               "VarNew kept, type: int, value: 4, scope: status\n"
               "Wait time: 1000\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = SplitLines(ReadText(folder_.File("vars.txt")));
  EXPECT_THAT(lines, ElementsAre("arr\tglobal\tint\t[0,5,0]", "f\tglobal\tfloat\t2.5", "kept\tstatus\tint\t4",
                                 "zed\tglobal\tstr\tline\\r\\nnext"));
}

}  // namespace
}  // namespace kest::testing
