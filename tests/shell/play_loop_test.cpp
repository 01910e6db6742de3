// The frame loop on the headless platform, with a title compiled in the test: the exit
// question, the frame clock in the background, frame pacing, and the status data at the end.

#include "images/zelk_fixture.h"
#include "play_loop_harness.h"
#include "support/archive_builder.h"

namespace kest::shell {
namespace {

// A title that counts its frames in "ticks" (and keeps "@TickCount" in "clock") for ever: one
// pass per frame, since the 1 ms wait ends in the next frame.
constexpr char kCountingPage[] =
    "Calc ticks = ticks + 1\n"
    "Calc clock = @TickCount\n"
    "Wait time: 1\n"
    "Jump \"start.ksb\"\n";

TEST_F(PlayLoopTest, TheFrameClockStandsStillInTheBackground) {
  WriteTitle(kCountingPage);
  Start("3 deactivate\n53 activate\n");
  EXPECT_EQ(Run(60), LoopEnd::FrameLimit);
  // Frames 0-2 and 53-59 ran; the 50 frames in the background neither ran nor counted.
  EXPECT_EQ(Int("ticks"), 10);
  EXPECT_EQ(Int("clock"), 10 * 16);
}

TEST_F(PlayLoopTest, AnsweringNoToTheExitQuestionLeavesTheGameAsItWas) {
  WriteTitle(kCountingPage);
  // Ctrl+Q at frame 5, answered No; the title keeps counting.
  Start("5 keydown 17\n5 key 81\n5 keyup 17\n5 answer no\n100 answer no\n100 answer no\n");
  EXPECT_EQ(Run(20), LoopEnd::FrameLimit);
  EXPECT_EQ(Int("ticks"), 20);
  EXPECT_NE(log_.str().find("終了しますか"), std::string::npos) << log_.str();
  EXPECT_FALSE(session_->Project().QuitRequested());

  // A QuitRequested that was already set stays set through a No.
  for (const bool already_set : {false, true}) {
    platform_->BeginFrame(100);
    session_->Project().SetQuitRequested(already_set);
    EXPECT_FALSE(loop_->AskToQuit());
    EXPECT_EQ(session_->Project().QuitRequested(), already_set);
  }
}

TEST_F(PlayLoopTest, AnsweringYesClosesAndTheExitPageAndStatusDataFollow) {
  WriteTitle(kCountingPage);
  Start("0 keydown 17\n0 key 81\n0 answer yes\n");
  EXPECT_EQ(Run(20), LoopEnd::Closed);
  session_->Project().RunExitPage();
  EXPECT_EQ(Int("exited"), 1);
  session_.reset();  // ends the project: the status data is written
  ASSERT_TRUE(std::filesystem::exists(game_.File("save.dat")));
}

TEST_F(PlayLoopTest, ClosingTheWindowAsksNothing) {
  WriteTitle(kCountingPage);
  Start("3 quit\n");
  EXPECT_EQ(Run(20), LoopEnd::Closed);
  EXPECT_EQ(Int("ticks"), 3);
  EXPECT_EQ(log_.str().find("message box"), std::string::npos) << log_.str();
}

TEST_F(PlayLoopTest, StatusVariablesSurviveToTheNextRun) {
  WriteTitle(
      "VarNew runs, type: int, value: 0, scope: status\n"
      "Calc runs = runs + 1\n");
  for (int run = 1; run <= 3; ++run) {
    Start("");
    Run(5);
    EXPECT_EQ(Int("runs"), run);
    session_.reset();
  }
}

TEST_F(PlayLoopTest, WritingTheStatusDataKeepsTheGameSavesBesideIt) {
  WriteTitle("VarNew seen, type: str, value: \"yes\", scope: status\n");
  const Bytes game_save = testing::TextBytes("a game save the player cannot read yet");
  game_.Write("save.dat", testing::BuildArchive({{"GAMESAVEDATA3", game_save}}));
  Start("");
  Run(3);
  session_.reset();

  TVrFileCollection save;
  save.LoadFromFile(game_.File("save.dat"));
  EXPECT_EQ(save.ReadEntry("GAMESAVEDATA3"), game_save);
  const Bytes status = save.ReadEntry("STATUSSAVEDATA");
  ASSERT_GE(status.size(), 9u);
  EXPECT_EQ(std::string(status.begin(), status.begin() + 9), "Status103");
}

TEST_F(PlayLoopTest, SystemVariablesReadThePointerTheKeysAndTheScreen) {
  WriteTitle(
      "Calc mx = @MouseX\n"
      "Calc my = @MouseY\n"
      "If @LClick\n"
      "  Calc clicked_at = @MouseX\n"
      "If @KeyPush[32]\n"
      "  Calc space_frames = space_frames + 1\n"
      "If @KeyClick[32]\n"
      "  Calc space_presses = space_presses + 1\n"
      "Calc width = @ScrWidth * 1000 + @ScrHeight\n"
      "Calc title = @Title\n"
      "Calc modes = @DisplayModeCount\n"
      "Wait 1\n"
      "Jump \"start.ksb\"\n",
      "var int mx = 0\nvar int my = 0\nvar int clicked_at = -1\nvar int space_frames = 0\n"
      "var int space_presses = 0\nvar int width = 0\nvar str title = \"\"\nvar int modes = 0\n");
  Start("2 move 10 20\n4 click 30 40\n6 keydown 32\n8 keyup 32\n");
  Run(12);
  EXPECT_EQ(Int("mx"), 30);
  EXPECT_EQ(Int("my"), 40);
  EXPECT_EQ(Int("clicked_at"), 30);
  EXPECT_EQ(Int("space_frames"), 2);  // held in frames 6 and 7
  EXPECT_EQ(Int("space_presses"), 1);
  EXPECT_EQ(Int("width"), 64 * 1000 + 48);
  EXPECT_EQ(session_->Params().Find("title")->Value().AsStr(), "Loop");
  EXPECT_EQ(Int("modes"), screen_->ModeCount());
}

TEST_F(PlayLoopTest, WritingSystemVariablesMovesThePointerAndSwitchesFullScreen) {
  WriteTitle(
      "Calc @MouseX = 7\n"
      "Calc @FullScr = TRUE\n"
      "Calc full = @FullScr\n"
      "Wait 1\n"
      "Calc mx = @MouseX\n"
      "Calc @DisplayModeIndex = 99\n"
      "Calc @FullScr = FALSE\n"
      "Calc @FullScr = TRUE\n",
      "var int mx = 0\nvar bool full = false\n");
  Start("");
  Run(5);
  EXPECT_EQ(Int("full"), 1);
  EXPECT_EQ(Int("mx"), 7);  // the move the warp reported
  // A mode index that names no mode keeps full screen off.
  EXPECT_FALSE(screen_->FullScreen());
}

TEST_F(PlayLoopTest, FramePacingSleepsOutTheRestOfEachFrame) {
  for (const bool frame_wait : {true, false}) {
    WriteTitle(kCountingPage, frame_wait ? "frame-wait true\n" : "frame-wait false\n");
    Start("");
    Run(10);
    // On the virtual clock a frame takes no time: each paced frame sleeps the whole 16 ms.
    EXPECT_EQ(platform_->SleptMs(), frame_wait ? 10u * 16u : 0u) << "frame-wait " << frame_wait;
    session_.reset();
  }
}

TEST_F(PlayLoopTest, CGDitherReadsBackWhatWasWrittenAndImagesShowTheirPicture) {
  // A 4 x 2 picture, blue with a keyed first column, scrambled by the project's code.
  ZelkPicture picture = MakeZelkPicture(4, 2, 32, [](std::int32_t x, std::int32_t) { return x == 0 ? 0x00FF00u : 0x0000FFu; });
  ZelkFileSpec spec;
  spec.identification = 777;
  spec.scrambled = true;
  spec.compression = ZelkCompression::None;
  ZelkFrameSpec frame;
  frame.width = 4;
  frame.height = 2;
  frame.key = 0x00FF00;
  frame.layers.resize(1);
  frame.layers[0].picture = picture;
  spec.frames = {frame};
  WriteTitle(
      "BoxNew PR_NAME: \"back\", PR_LEFT: 0, PR_TOP: 0, PR_WIDTH: 64, PR_HEIGHT: 48, PR_COLOR: 0x000080\n"
      "ImgNew PR_NAME: \"pic\", PR_SOURCE: \"pic.zel\", PR_LEFT: 10, PR_TOP: 20\n"
      "Calc before = @CGDither\n"
      "Calc @CGDither = TRUE\n"
      "Calc after = @CGDither\n"
      "Wait 1\n",
      "image-seed 777\nvar bool before = true\nvar bool after = false\n");
  game_.Write("pic.zel", WriteZelkFile(spec));
  Start("");
  Run(4);
  EXPECT_EQ(Int("before"), 0);
  EXPECT_EQ(Int("after"), 1);
  EXPECT_TRUE(session_->Scene().Dither());
  EXPECT_TRUE(session_->ImageCache().Flag());
  TDIBX& shown = session_->Scene().Surface();
  EXPECT_EQ(shown.GetPixel(10, 20) & 0xFFFFFF, 0x800000u);  // the key shows the box behind
  EXPECT_EQ(shown.GetPixel(11, 21) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(shown.GetPixel(14, 20) & 0xFFFFFF, 0x800000u);
}

}  // namespace
}  // namespace kest::shell
