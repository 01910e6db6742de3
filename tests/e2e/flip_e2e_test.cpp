// The Flip command end to end: titles compiled by kest and run headless by kestplayer at 16 ms
// frames (frame F runs at frame clock 16 x (F + 1)), checked by trace, variables and screenshots.
// Every title puts a red screen in front and a green one behind it.

#include <gmock/gmock.h>

#include "e2e_support.h"
#include "platform/png_writer.h"
#include "render/image_codec.h"

namespace kest::testing {
namespace {

constexpr std::uint32_t kRedPixel = 0xFF0000, kGreenPixel = 0x00FF00, kBluePixel = 0x0000FF;

// Two full-screen boxes: "front" (red) on the shown screen, "back" (green) on the other.
const std::string kScreens =
    "BoxNew PR_NAME: \"front\", PR_WIDTH: 640, PR_HEIGHT: 480, PR_COLOR: 255\n"                     // 1
    "BoxNew PR_NAME: \"back\", PR_PARENT: \"BASE1\", PR_WIDTH: 640, PR_HEIGHT: 480, PR_COLOR: 65280\n";  // 2

class FlipRun : public TitleRun {
 protected:
  // The title with the project's string variable `snap` holding the snapshot's name.
  void WritePages(const std::map<std::string, std::string>& pages) {
    WriteTitle(pages);
    WriteFile("src/project.kest",
              "title \"E2E\"\nscreen 640 480\nstart-page \"start.ksb\"\nvar str snap = \"\\x01\\x01\"\n");
  }

  DecodedImage Shot(const std::string& name) {
    const std::string text = ReadText(folder_.File(name));
    return DecodePng(Bytes(text.begin(), text.end()), name);
  }

  // The frame clock of the first trace line of `page(line)`, or -1.
  long ClockOf(const std::string& page_line) {
    for (const std::string& line : Trace())
      if (line.size() > 11 && line.substr(11) == page_line) return std::stol(line.substr(0, 8), nullptr, 16);
    return -1;
  }
};

std::uint32_t PixelAt(const DecodedImage& shot, int x, int y) {
  return shot.pixels[static_cast<std::size_t>(y * shot.width + x)] & 0xFFFFFF;
}

TEST_F(FlipRun, AFlipOf500msSwapsAndGoesOnInItsThirtyFourthExecution) {
  WritePages({{"start.kss", kScreens +
                                "Flip 1, 500\n"        // 3: begins in frame 0
                                "Wait 1000\n"}});       // 4
  Compile();
  const ProgramRun run = Play({"--frames", "40", "--screenshot", "34:" + folder_.File("end.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ClockOf("start.ksb(3)"), 16);
  EXPECT_EQ(ClockOf("start.ksb(4)"), 16 * 34);  // frame 33
  EXPECT_EQ(PixelAt(Shot("end.png"), 320, 240), kGreenPixel);
}

TEST_F(FlipRun, HalfwayADitherShowsHalfOfEachTileAndWhiteIsWhite) {
  WritePages({{"start.kss", kScreens + "Flip 11, 512\nWait 1000\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "20", "--screenshot", "17:" + folder_.File("dither.png")}).status, 0);
  const DecodedImage dither = Shot("dither.png");
  for (const auto& [tx, ty] : {std::pair{0, 0}, std::pair{64, 128}, std::pair{576, 384}}) {
    int green = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const std::uint32_t p = PixelAt(dither, tx + x, ty + y);
        ASSERT_TRUE(p == kGreenPixel || p == kRedPixel) << std::hex << p;
        green += p == kGreenPixel;
        EXPECT_EQ(p, PixelAt(dither, x, y)) << "tile " << tx << "," << ty;
      }
    EXPECT_EQ(green, 2048);
  }

  WritePages({{"start.kss", kScreens + "Flip 12, 512\nWait 1000\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "20", "--screenshot", "17:" + folder_.File("white.png")}).status, 0);
  const DecodedImage white = Shot("white.png");
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{320, 240}, std::pair{639, 479}})
    EXPECT_EQ(PixelAt(white, x, y), 0xFFFFFFu);
}

TEST_F(FlipRun, KindsAreTheLowByteAndKindsWithoutATransitionSwapAtTheThirdExecution) {
  // 257 is a fade: at half of 512 ms the new picture is drawn at alpha 128 over the old.
  WritePages({{"start.kss", kScreens + "Flip 257, 512\nWait 1000\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "20", "--screenshot", "17:" + folder_.File("fade.png")}).status, 0);
  EXPECT_EQ(PixelAt(Shot("fade.png"), 100, 100), 0x7E7F00u);

  for (const std::string kind : {"0", "39", "300"}) {
    SCOPED_TRACE(kind);
    WritePages({{"start.kss", kScreens + "Flip " + kind + ", 500\nWait 1000\n"}});
    Compile();
    ASSERT_EQ(Play({"--frames", "5", "--screenshot", "2:" + folder_.File("swap.png")}).status, 0);
    EXPECT_EQ(ClockOf("start.ksb(4)"), 16 * 3);  // frame 2
    EXPECT_EQ(PixelAt(Shot("swap.png"), 320, 240), kGreenPixel);
  }
}

// A blue background on the back screen (its name sorts first, so it is drawn first), and boxes
// A, B and C in front; the variable `seen` for what the flip leaves.
const std::string kKeepScene =
    "VarNew seen, type: bool, value: TRUE\n"                                                          // 1
    "BoxNew PR_NAME: \"0sky\", PR_PARENT: \"BASE1\", PR_WIDTH: 640, PR_HEIGHT: 480, PR_COLOR: 16711680\n"  // 2
    "BoxNew PR_NAME: \"A\", PR_LEFT: 0, PR_WIDTH: 100, PR_HEIGHT: 100, PR_COLOR: 255\n"                   // 3
    "BoxNew PR_NAME: \"B\", PR_LEFT: 200, PR_WIDTH: 100, PR_HEIGHT: 100, PR_COLOR: 255\n"                 // 4
    "BoxNew PR_NAME: \"C\", PR_LEFT: 400, PR_WIDTH: 100, PR_HEIGHT: 100, PR_COLOR: 255\n";                // 5

TEST_F(FlipRun, KeepModesChooseWhatStaysVisible) {
  struct Case {
    std::string flip;
    bool a, b, c;
  };
  const Case cases[] = {
      {"Flip 1, 100, keep: 1, names: (\"A\\nB\")", true, true, false},  // FL_STAY with A, CR LF, B
      {"Flip 1, 100, keep: 0, names: (\"A\")", false, true, true},      // FL_OUT leaves A behind
      {"Flip 1, 100, keep: 1, names: (\"A\", \"C\")", true, false, true},
  };
  // 32 ms into 100 the fade's alpha is 81: a box left behind fades from red to the blue sky,
  // (255 * 174) >> 8 = 173 red and (255 * 81) >> 8 = 80 blue; a box kept stays red.
  constexpr std::uint32_t kFadingOut = 0xAD0050;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flip);
    WritePages({{"start.kss", kKeepScene + c.flip +
                                  "\n"
                                  "Calc seen = Exists(snap)\n"  // 7: after the swap
                                  "Wait 1000\n"}});
    Compile();
    ASSERT_EQ(Play({"--frames", "20", "--screenshot", "3:" + folder_.File("during.png"), "--screenshot",
                    "15:" + folder_.File("after.png")})
                  .status,
              0);
    const DecodedImage after = Shot("after.png");
    EXPECT_EQ(PixelAt(after, 50, 50), c.a ? kRedPixel : kBluePixel);
    EXPECT_EQ(PixelAt(after, 250, 50), c.b ? kRedPixel : kBluePixel);
    EXPECT_EQ(PixelAt(after, 450, 50), c.c ? kRedPixel : kBluePixel);
    EXPECT_EQ(PixelAt(after, 600, 400), kBluePixel);
    const DecodedImage during = Shot("during.png");
    EXPECT_EQ(PixelAt(during, 50, 50), c.a ? kRedPixel : kFadingOut);
    EXPECT_EQ(PixelAt(during, 450, 50), c.c ? kRedPixel : kFadingOut);
    EXPECT_EQ(Value("seen"), "FALSE");
  }
}

TEST_F(FlipRun, KeepModeWithDurationZeroSwapsAtOnceInTheSameFrame) {
  WritePages({{"start.kss", kKeepScene +
                                "Flip 1, 0, keep: 1, names: (\"A\")\n"  // 6
                                "Calc seen = Exists(snap)\n"          // 7
                                "Wait 1000\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "3", "--screenshot", "0:" + folder_.File("now.png")}).status, 0);
  EXPECT_EQ(ClockOf("start.ksb(7)"), 16);
  const DecodedImage now = Shot("now.png");
  EXPECT_EQ(PixelAt(now, 50, 50), kRedPixel);
  EXPECT_EQ(PixelAt(now, 250, 50), kBluePixel);
  EXPECT_EQ(Value("seen"), "FALSE");
}

TEST_F(FlipRun, TheSnapshotExistsDuringTheFlipOnly) {
  WritePages({{"start.kss", kScreens +
                                "VarNew during, type: bool, value: FALSE\n"  // 3
                                "VarNew after, type: bool, value: TRUE\n"    // 4
                                "Flip 1, 200, keep: 1, names: (\"x\")\n"     // 5
                                "Calc after = Exists(snap)\n"                // 6
                                "Wait 1000\n"},
              {"probe.kss", "Calc during = Exists(snap)\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "20"}, "5 event probe.ksb\n").status, 0);
  EXPECT_EQ(Value("during"), "TRUE");
  EXPECT_EQ(Value("after"), "FALSE");
}

TEST_F(FlipRun, ClearOldEmptiesTheNewBackScreen) {
  WritePages({{"start.kss", kScreens +
                                "VarNew front, type: bool, value: TRUE\n"
                                "VarNew back, type: bool, value: FALSE\n"
                                "Flip 0, 100, clear: 1\n"
                                "Calc front = Exists(\"front\")\n"
                                "Calc back = Exists(\"back\")\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "5"}).status, 0);
  EXPECT_EQ(Value("front"), "FALSE");
  EXPECT_EQ(Value("back"), "TRUE");
}

// A box in front whose click handler records the frame clock; the flip takes 500 ms.
std::map<std::string, std::string> ClickDuringFlip(const std::string& hold) {
  return {{"start.kss",
           "BoxNew PR_NAME: \"front\", PR_WIDTH: 640, PR_HEIGHT: 480, PR_COLOR: 255, PR_ONLBTNDOWN: \"click.ksb\"\n"
           "BoxNew PR_NAME: \"back\", PR_PARENT: \"BASE1\", PR_WIDTH: 640, PR_HEIGHT: 480, PR_COLOR: 65280\n"
           "VarNew clicked, type: int, value: 0\n"
           "VarNew after, type: int, value: 0\n"
           "Flip 1, 500" + hold + "\n"
           "Calc after = @TickCount\n"
           "Wait 1000\n"},
          {"click.kss", "Calc clicked = @TickCount\n"}};
}

TEST_F(FlipRun, HeldEventsWaitForTheSwapAndOthersRunDuringTheFlipWhichStillEndsOnTime) {
  WritePages(ClickDuringFlip(", hold: 1"));
  Compile();
  ASSERT_EQ(Play({"--frames", "40"}, "5 click 320 240\n").status, 0);
  EXPECT_EQ(Value("clicked"), std::to_string(16 * 34));
  EXPECT_EQ(Value("after"), std::to_string(16 * 34));

  WritePages(ClickDuringFlip(""));
  Compile();
  ASSERT_EQ(Play({"--frames", "40"}, "5 click 320 240\n").status, 0);
  EXPECT_EQ(Value("clicked"), std::to_string(16 * 6));
  EXPECT_EQ(Value("after"), std::to_string(16 * 34));  // the handler lost the flip nothing
}

TEST_F(FlipRun, PCResetDuringAFlipSwapsAtOnceAndLeavesNoSnapshot) {
  WritePages({{"start.kss", "VarNew never, type: int, value: 0\n"
                            "VarNew seen, type: bool, value: TRUE\n" +
                                kScreens +
                                "Flip 1, 1000, keep: 1, names: (\"none\")\n"
                                "Calc never = 1\n"},
              {"reset.kss", "PCReset after.ksb, full: 1\n"},
              {"after.kss", "Calc seen = Exists(snap)\nWait 1000\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "12", "--screenshot", "10:" + folder_.File("reset.png")}, "5 event reset.ksb\n").status,
            0);
  EXPECT_EQ(Value("seen"), "FALSE");
  EXPECT_EQ(Value("never"), "0");
  EXPECT_EQ(PixelAt(Shot("reset.png"), 320, 240), kGreenPixel);
}

// A reset with its flag clear rewinds the main script from a handler; the flip it was in ends as
// in a full reset, so its snapshot does not stay over the screen.
TEST_F(FlipRun, APartialPCResetDuringAFlipAlsoSwapsAndLeavesNoSnapshot) {
  WritePages({{"start.kss", "VarNew never, type: int, value: 0\n"
                            "VarNew seen, type: bool, value: TRUE\n" +
                                kScreens +
                                "Flip 1, 1000, keep: 1, names: (\"none\")\n"
                                "Calc never = 1\n"},
              {"reset.kss", "PCReset after.ksb\n"},
              {"after.kss", "Calc seen = Exists(snap)\nWait 1000\n"}});
  Compile();
  // The handler has a sender, as an object's event would, so the reset tells it from the main script.
  ASSERT_EQ(Play({"--frames", "12", "--screenshot", "10:" + folder_.File("reset.png")},
                 "5 event reset.ksb front\n")
                .status,
            0);
  EXPECT_EQ(Value("seen"), "FALSE");
  EXPECT_EQ(Value("never"), "0");
  EXPECT_EQ(PixelAt(Shot("reset.png"), 320, 240), kGreenPixel);
}

TEST_F(FlipRun, AFlipWithoutKeepModeInAHandlerEndsTheFrameWhileItStays) {
  WritePages({{"start.kss", "VarNew done, type: int, value: 0\n" + kScreens + "Wait 1000\n"},
              {"flip.kss", "Flip 0, 100\nCalc done = @TickCount\n"}});
  Compile();
  ASSERT_EQ(Play({"--frames", "10"}, "2 event flip.ksb\n").status, 0);
  // The handler starts in frame 2 and its flip ends that frame; its second execution comes in
  // the handler's next turn, its third (the swap, as kind 0 has no transition) in the turn after:
  // frame 5, as a Wait 32 in a handler started in frame 2 ends there too.
  const std::vector<std::string> trace = Trace();
  const auto flip = std::find(trace.begin(), trace.end(), "00000030 : flip.ksb(1)");
  ASSERT_NE(flip, trace.end());
  ASSERT_NE(flip + 1, trace.end());
  EXPECT_NE((flip + 1)->substr(0, 8), "00000030");  // nothing more in frame 2
  EXPECT_EQ(Value("done"), std::to_string(16 * 6));
}

// The mask picture reaches the transition; until the images library reads pictures it is
// missing, which is said once, and every pixel turns together: 128 ms into 512 the mask is
// T(128 + 255) = 127 everywhere.
TEST_F(FlipRun, AMaskFlipWithAMissingPictureSaysSoOnceAndTurnsEveryPixelTogether) {
  WritePages({{"start.kss", kScreens + "Flip 19, 512, mask: \"mask.png\"\nWait 1000\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "12", "--screenshot", "9:" + folder_.File("mask.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = SplitLines(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  EXPECT_NE(lines[0].find("mask.png"), std::string::npos);
  const DecodedImage shot = Shot("mask.png");
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{320, 240}, std::pair{639, 479}})
    EXPECT_EQ(PixelAt(shot, x, y), 0x7F7E00u);  // (255 * 128) >> 8 red, (255 * 127) >> 8 green
}

// A mask picture from the title's files: white on the left, black on the right. Bright pixels
// turn first: halfway through, the left is the new picture and the right nearly the old one.
TEST_F(FlipRun, AMaskFlipReadsItsPictureFromTheTitleAndBrightPixelsTurnFirst) {
  platform::Image mask{{640, 480}, std::vector<std::uint8_t>(640 * 480 * 4)};
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 320; ++x)
      for (int c = 0; c < 3; ++c) mask.bgrx[static_cast<std::size_t>((y * 640 + x) * 4 + c)] = 255;
  const Bytes png = platform::EncodePng(mask.View());
  WritePages({{"start.kss", kScreens + "Flip 19, 512, mask: \"wipemask.png\"\nWait 1000\n"}});
  folder_.Write("src/wipemask.png", png);
  Compile();
  const ProgramRun run = Play({"--frames", "20", "--screenshot", "17:" + folder_.File("half.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");  // the picture was found
  const DecodedImage shot = Shot("half.png");
  EXPECT_EQ(PixelAt(shot, 100, 240), kGreenPixel);
  const std::uint32_t right = PixelAt(shot, 500, 240);
  EXPECT_GE((right >> 16) & 0xFF, 0xF0u) << std::hex << right;  // still red
  EXPECT_LE((right >> 8) & 0xFF, 0x10u) << std::hex << right;
}

}  // namespace
}  // namespace kest::testing
