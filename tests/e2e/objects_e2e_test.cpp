// A title with boxes, end to end: compiled by kest, run headless by kestplayer at 16 ms frames
// (frame F runs at frame clock 16 × (F + 1)) with scripted clicks, compared by trace, variables
// and a screenshot.

#include <gmock/gmock.h>

#include "e2e_support.h"
#include "render/image_codec.h"

namespace kest::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A box slides right in steps of 50 pixels, one step every 32 ms; a click on it runs its
// PR_ONLBTNDOWN handler, which moves the box down by 100 pixels.
const std::map<std::string, std::string> kSlidingBox = {
    {"start.kss",
     "VarNew clicks, type: int, value: 0\n"                                   // 1
     "VarNew top, type: int, value: 0\n"                                      // 2
     "VarNew x, type: int, value: -1\n"                                       // 3
     "VarNew y, type: int, value: -1\n"                                       // 4
     "BoxNew PR_NAME: \"mover\", PR_LEFT: 0, PR_TOP: 100, PR_WIDTH: 40, PR_HEIGHT: 40, PR_COLOR: 255, "
     "PR_ONLBTNDOWN: \"click.ksb\"\n"                                         // 5
     "BoxNew PR_NAME: \"floor\", PR_TOP: 460, PR_WIDTH: 640, PR_HEIGHT: 20, PR_COLOR: 65280\n"  // 6
     "VarNew steps, type: int, value: 0\n"                                    // 7
     "WhileInit steps = 0\n"                                                  // 8
     "While steps < 5\n"                                                      // 9
     "  SetProp \"mover\", 3, steps * 50\n"                                   // 10
     "  Wait 32\n"                                                            // 11
     "  WhileLoop steps = steps + 1\n"                                        // 12
     "GetProp \"mover\", 3, x\n"                                              // 13
     "GetProp \"mover\", 4, y\n"},                                            // 14
    {"click.kss",
     "Calc clicks = clicks + 1\n"                                             // 1
     "GetProp @Sender, 4, top\n"                                              // 2
     "SetProp @Sender, 4, top + 100\n"},                                      // 3
};

TEST_F(TitleRun, ABoxMovedByTheScriptAndByItsClickHandler) {
  WriteTitle(kSlidingBox);
  Compile();
  // Frame 3: the box is at 50,100 (set in frame 2). Frame 5: a click where it was before the
  // handler moved it down finds nothing. Frame 7: the box is at 150,200 (set in frame 6).
  const ProgramRun run = Play({"--frames", "20", "--screenshot", "10:" + folder_.File("end.png")},
                              "3 click 60 120\n"
                              "5 click 60 120\n"
                              "7 click 160 220\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.err, IsEmpty());

  std::vector<std::string> expected = {
      "00000010 : start.ksb(1)",  "00000010 : start.ksb(2)",  "00000010 : start.ksb(3)",
      "00000010 : start.ksb(4)",  "00000010 : start.ksb(5)",  "00000010 : start.ksb(6)",
      "00000010 : start.ksb(7)",  "00000010 : start.ksb(8)",  "00000010 : start.ksb(9)",
      "00000010 : start.ksb(10)", "00000010 : start.ksb(11)",
      // steps 1 after the first wait (frame 2, clock 48)
      "00000030 : start.ksb(12)", "00000030 : start.ksb(9)",  "00000030 : start.ksb(10)",
      "00000030 : start.ksb(11)",
      // frame 3: the click's handler runs before the main script's wait goes on
      "00000040 : <Event>click.ksb(1)", "00000040 : click.ksb(1)", "00000040 : click.ksb(2)",
      "00000040 : click.ksb(3)", "00000040 : start.ksb(11)",
      // frame 4
      "00000050 : start.ksb(12)", "00000050 : start.ksb(9)",  "00000050 : start.ksb(10)",
      "00000050 : start.ksb(11)",
      // frame 6
      "00000070 : start.ksb(12)", "00000070 : start.ksb(9)",  "00000070 : start.ksb(10)",
      "00000070 : start.ksb(11)",
      // frame 7: the second hit
      "00000080 : <Event>click.ksb(1)", "00000080 : click.ksb(1)", "00000080 : click.ksb(2)",
      "00000080 : click.ksb(3)", "00000080 : start.ksb(11)",
      // frame 8
      "00000090 : start.ksb(12)", "00000090 : start.ksb(9)",  "00000090 : start.ksb(10)",
      "00000090 : start.ksb(11)",
      // frame 10: the loop ends
      "000000b0 : start.ksb(12)", "000000b0 : start.ksb(9)",  "000000b0 : start.ksb(13)",
      "000000b0 : start.ksb(14)"};
  EXPECT_THAT(Trace(), ElementsAreArray(expected));

  EXPECT_EQ(Variables()["clicks"], (DumpedVariable{"global", "int", "2"}));
  EXPECT_EQ(Value("top"), "200");  // what the second click read before it moved the box again
  EXPECT_EQ(Value("x"), "200");
  EXPECT_EQ(Value("y"), "300");

  // The last picture: the box at 200,300, the floor, and nothing left where the box was.
  const Bytes png = [&] {
    const std::string text = ReadText(folder_.File("end.png"));
    return Bytes(text.begin(), text.end());
  }();
  const DecodedImage shot = DecodePng(png, "end.png");
  ASSERT_EQ(shot.width, 640);
  ASSERT_EQ(shot.height, 480);
  const auto pixel = [&](int x, int y) { return shot.pixels[static_cast<std::size_t>(y * shot.width + x)]; };
  EXPECT_EQ(pixel(200, 300), 0xFF0000u);
  EXPECT_EQ(pixel(239, 339), 0xFF0000u);
  EXPECT_EQ(pixel(240, 300), 0u);
  EXPECT_EQ(pixel(160, 220), 0u);
  EXPECT_EQ(pixel(60, 120), 0u);
  EXPECT_EQ(pixel(320, 470), 0x00FF00u);
}

TEST_F(TitleRun, ObjectCommandsThatFailReportTheirErrorAndTheScriptGoesOn) {
  WriteTitle({{"start.kss",
               "VarNew v, type: int, value: 1\n"
               "BoxNew PR_NAME: \"b\"\n"
               "GetProp \"b\", {}, v\n"
               "SetProp \"b\", 999, 1\n"
               "MesNew PR_NAME: \"i\"\n"
               "ObjDel \"b\"\n"
               "Calc v = v + GetProp(\"b\", 3) + 1\n"}});
  Compile();
  const ProgramRun run = Play({"--frames", "5"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(SplitLines(run.err),
              ElementsAre("kestplayer: start.ksb(3): プロパティ指定が不正です", "kestplayer: start.ksb(4): SetPropエラー",
                          "kestplayer: start.ksb(5): MesNew: not available yet (its subsystem is not built)"));
  // The deleted box is not found: GetProp leaves its result unset (0).
  EXPECT_EQ(Value("v"), "2");
}

}  // namespace
}  // namespace kest::testing
