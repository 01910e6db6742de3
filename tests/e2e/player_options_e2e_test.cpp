// kestplayer's command line: what it accepts, what it refuses, and its exit statuses.

#include <gmock/gmock.h>

#include "e2e_support.h"

namespace kest::testing {
namespace {

using ::testing::HasSubstr;

TEST(PlayerOptions, BadOptionsExitWithStatusTwo) {
  TempFolder work;
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--headless", "g", "--bogus"}, "unknown option --bogus"},
      {{"--headless", "g", "--frames"}, "--frames needs a value"},
      {{"--headless", "g", "--frames", "ten"}, "whole number"},
      {{"--headless", "g", "--frame-ms", "3001"}, "from 1 to 3000"},
      {{"--headless", "g", "--screenshot", "a.png"}, "--screenshot needs FRAME:FILE.png"},
      {{"--headless", "g", "--screenshot", "3:"}, "--screenshot needs FRAME:FILE.png"},
      {{"--headless", "g", "--scale", "9"}, "from 1 to 8"},
      {{"--headless", "g", "--date", "2001-02-30T04:05:06"}, "--date needs YYYY-MM-DDTHH:MM:SS"},
      {{"--headless", "g", "--date", "2001-02-03 04:05:06"}, "--date needs YYYY-MM-DDTHH:MM:SS"},
      {{"--headless", "g", "--screenshot-window", "a.png"}, "--screenshot-window needs FRAME:FILE.png"},
      {{"--headless", "g", "--glyphs", "pretty"}, "--glyphs needs fake or real"},
      {{"--headless", "g", "--ini"}, "--ini needs a value"},
      {{"--headless", "g", "--dialog-shots"}, "--dialog-shots needs a value"},
      {{"--headless", "g", "--font-dir"}, "--font-dir needs a value"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {KESTPLAYER_BINARY};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const ProgramRun run = RunProgram(argv, work.Path());
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_THAT(run.err, HasSubstr(c.message));
  }
}

TEST(PlayerOptions, HelpAndVersionAnswerOnStandardOutput) {
  TempFolder work;
  const ProgramRun help = RunProgram({KESTPLAYER_BINARY, "--help"}, work.Path());
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, HasSubstr("--dump-vars FILE"));
  EXPECT_THAT(help.out, HasSubstr("--screenshot N:FILE.png"));
  const ProgramRun version = RunProgram({KESTPLAYER_BINARY, "--version"}, work.Path());
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, HasSubstr("kestplayer "));
}

TEST_F(TitleRun, AScreenTooLargeOrMissingIsRefusedWithStatusOne) {
  for (const auto& [screen, message] : std::vector<std::pair<std::string, std::string>>{
           {"screen 5000 5000", "larger than the player can show"}, {"screen 0 0", "sets no screen size"}}) {
    WriteTitle({{"start.kss", "Calc 1\n"}});
    WriteFile("src/project.kest", "title \"E2E\"\n" + screen + "\nstart-page \"start.ksb\"\n");
    Compile();
    const ProgramRun run = Play({"--frames", "1"});
    EXPECT_EQ(run.status, 1) << screen;
    EXPECT_THAT(run.err, HasSubstr(message)) << screen;
  }
}

TEST_F(TitleRun, AFolderWithoutATitleFailsToStartWithStatusOne) {
  const ProgramRun run = RunProgram({KESTPLAYER_BINARY, "--headless", folder_.File("nothing"), "--frames", "1"},
                                    folder_.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr(": no such folder"));
}

TEST_F(TitleRun, AMissingStartPageFailsWithTheWarningsText) {
  WriteTitle({{"other.kss", "Calc 1\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("警告: スタートページがありません"));
}

TEST_F(TitleRun, TheTraceGoesToStandardOutputForADashAndPageNamesBecomeUtf8) {
  WriteTitle({{"start.kss", "Call \"ページ.ksb\"\n"}, {"ページ.kss", "Calc 1\n"}});
  Compile();
  const ProgramRun run = RunProgram({KESTPLAYER_BINARY, "--headless", folder_.File("game"), "--trace", "-",
                                     "--frame-ms", "20", "--frames", "5"},
                                    folder_.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "00000014 : start.ksb(1)\n00000014 : ページ.ksb(1)\n");
}

TEST_F(TitleRun, TheSeedMakesRandomNumbersRepeatable) {
  WriteTitle({{"start.kss", "VarNew r, type: int, value: 0\nCalc r = Random(1000000)\n"}});
  Compile();
  ASSERT_EQ(Play({"--seed", "7", "--frames", "2"}).status, 0);
  const std::string first = Value("r");
  ASSERT_EQ(Play({"--seed", "7", "--frames", "2"}).status, 0);
  EXPECT_EQ(Value("r"), first);
}

}  // namespace
}  // namespace kest::testing
