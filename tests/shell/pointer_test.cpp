// The pointer over the scene: an object's cursor file shows while the pointer is over it, the
// title's default stands in elsewhere, animated cursors step at their rates, and a bad file
// leaves the standard pointer with one note.

#include <gtest/gtest.h>

#include "play_loop_harness.h"
#include "platform/headless/headless_display.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

namespace kest::shell {
namespace {

using testing::IconDib32;
using testing::IconEntrySpec;
using testing::WriteAni;
using testing::WriteIcon;

// A 4 x 4 cursor of one colour whose top-left pixel is transparent, with its hot spot.
Bytes CursorFile(std::uint32_t colour, std::uint16_t hot_x, std::uint16_t hot_y) {
  std::vector<std::uint8_t> transparent(16, 0);
  transparent[0] = 1;
  IconEntrySpec entry;
  entry.width = 4;
  entry.height = 4;
  entry.planes_or_x = hot_x;
  entry.bits_or_y = hot_y;
  entry.body = IconDib32(4, 4, std::vector<std::uint32_t>(16, colour), {}, transparent);
  return WriteIcon(2, {entry});
}

// The red of a pointer picture's second pixel (B, G, R, A bytes).
int RedOf(const platform::PointerImage& image) { return image.bgra.at(4 + 2); }

class PointerTest : public PlayLoopTest {
 protected:
  // A box at (0, 0, 20, 20) with the cursor file `cursor`, and a page that sets "@Cursor".
  void WriteScene(const std::string& cursor, const std::string& default_cursor = "") {
    std::string page = "BoxNew PR_NAME: \"box\", PR_LEFT: 0, PR_TOP: 0, PR_WIDTH: 20, PR_HEIGHT: 20, "
                       "PR_COLOR: 0x808080, PR_CURSOR: \"" + cursor + "\"\n";
    if (!default_cursor.empty()) page += "Calc @Cursor = \"" + default_cursor + "\"\n";
    WriteTitle(page + "While TRUE\n  Wait 1\n  WhileLoop\n");
    game_.Write("hand.cur", CursorFile(0xFF0000, 1, 2));
    game_.Write("arrow.cur", CursorFile(0x0000FF, 0, 0));
    // Two frames: red for 3/60 s (50 ms), green for 6/60 s (100 ms).
    game_.Write("spin.ani", WriteAni({CursorFile(0xFF0000, 0, 0), CursorFile(0x00FF00, 0, 0)}, 0, {3, 6}, {}));
    game_.Write("bad.cur", Bytes{0, 0, 2, 0, 1, 0, 9, 9});
  }

  void Play(const std::string& input, std::uint32_t frames) {
    Start(input);
    session_->Scene().SetNotice([this](const std::string& note) { notes_.push_back(note); });
    ASSERT_EQ(Run(frames), LoopEnd::FrameLimit) << log_.str();
  }

  const std::optional<platform::PointerImage>& Pointer() {
    return static_cast<platform::HeadlessDisplay*>(display_)->Pointer();
  }

  std::vector<std::string> notes_;
};

TEST_F(PointerTest, AnObjectsCursorShowsOverItAndTheStandardPointerElsewhere) {
  WriteScene("hand.cur");
  Play("2 move 5 5\n", 4);
  ASSERT_TRUE(Pointer().has_value());
  EXPECT_EQ(Pointer()->size, (platform::Size{4, 4}));
  EXPECT_EQ(Pointer()->hot_spot, (platform::Point{1, 2}));
  EXPECT_EQ(Pointer()->bgra[3], 0);    // the AND mask's transparent pixel
  EXPECT_EQ(Pointer()->bgra[7], 255);
  EXPECT_EQ(RedOf(*Pointer()), 255);
  session_.reset();

  Play("2 move 5 5\n4 move 40 40\n", 6);
  EXPECT_FALSE(Pointer().has_value());
  EXPECT_TRUE(notes_.empty());
}

TEST_F(PointerTest, TheTitlesDefaultCursorStandsInForObjectsThatNameNone) {
  WriteScene("hand.cur", "arrow.cur");
  Play("2 move 40 40\n", 4);
  ASSERT_TRUE(Pointer().has_value());
  EXPECT_EQ(RedOf(*Pointer()), 0);  // the blue default
  session_.reset();
  Play("2 move 40 40\n4 move 5 5\n", 6);
  ASSERT_TRUE(Pointer().has_value());
  EXPECT_EQ(RedOf(*Pointer()), 255);  // the box's own
}

TEST_F(PointerTest, AnAnimatedCursorStepsAtItsOwnRates) {
  WriteScene("spin.ani");
  Start("");
  TPointerShow pointer(session_->Files(), {});
  // Red for 50 ms, green for 100 ms, at 16 ms a frame: red in the frame it appears and the three
  // after it, green in the next six, then red again. A frame of 200 ms passes a whole cycle.
  std::string seen;
  for (int frame = 0; frame < 12; ++frame) {
    pointer.Show("spin.ani", 16, *display_);
    ASSERT_TRUE(Pointer().has_value());
    seen += RedOf(*Pointer()) == 255 ? 'R' : 'G';
  }
  EXPECT_EQ(seen, "RRRRGGGGGGRR");
  pointer.Show("spin.ani", 200, *display_);
  EXPECT_EQ(RedOf(*Pointer()), 0);
  pointer.Show("", 16, *display_);
  EXPECT_FALSE(Pointer().has_value());
}

TEST_F(PointerTest, AMissingOrBrokenCursorFileLeavesTheStandardPointerAndIsReportedOnce) {
  for (const std::string name : {"bad.cur", "missing.cur"}) {
    WriteScene(name);
    notes_.clear();
    Play("2 move 5 5\n4 move 40 40\n6 move 5 5\n", 8);
    EXPECT_FALSE(Pointer().has_value()) << name;
    ASSERT_EQ(notes_.size(), 1u) << name;
    EXPECT_EQ(notes_[0].rfind(name + ": the standard pointer shows instead: ", 0), 0u) << notes_[0];
    session_.reset();
  }
}

}  // namespace
}  // namespace kest::shell
