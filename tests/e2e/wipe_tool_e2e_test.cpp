// kest wipe: the kind table, and one step drawn between two pictures.

#include <gmock/gmock.h>

#include "e2e_support.h"
#include "platform/png_writer.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "render/row_engine.h"

namespace kest::testing {
namespace {

void WritePicture(const std::string& path, std::uint32_t colour) {
  TDIBX picture(128, 64, 32);
  picture.Fill(colour);
  kest::SurfaceView pixels(picture);
  platform::SurfaceView view;
  view.pixels = pixels.At(0, 0);
  view.pitch = picture.Pitch();
  view.size = {picture.Width(), picture.Height()};
  platform::WritePngFile(path, view);
}

TEST_F(TitleRun, KestWipeListsTheKindsAndDrawsOneStep) {
  const ProgramRun list = RunProgram({KEST_BINARY, "wipe", "--list"}, folder_.Path());
  ASSERT_EQ(list.status, 0) << list.err;
  const std::vector<std::string> lines = SplitLines(list.out);
  ASSERT_EQ(lines.size(), 41u);  // 39 kinds and the two keep modes
  EXPECT_THAT(lines[11], ::testing::StartsWith("11\tWP_DITHER\t"));
  EXPECT_THAT(lines[40], ::testing::StartsWith("1\tFL_STAY\t"));

  WritePicture(folder_.File("from.png"), 0x00FF0000);
  WritePicture(folder_.File("to.png"), 0x000000FF);
  const ProgramRun step = RunProgram({KEST_BINARY, "wipe", "WP_DITHER", folder_.File("from.png"), folder_.File("to.png"),
                                      "--at", "500/1000", "-o", folder_.File("out.png")},
                                     folder_.Path());
  ASSERT_EQ(step.status, 0) << step.err;
  const std::string text = ReadText(folder_.File("out.png"));
  const DecodedImage out = DecodePng(Bytes(text.begin(), text.end()), "out.png");
  int blue = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) blue += (out.pixels[static_cast<std::size_t>(y * out.width + x)] & 0xFFFFFF) == 0x0000FFu;
  EXPECT_EQ(blue, 2048);

  const ProgramRun none = RunProgram({KEST_BINARY, "wipe", "0", folder_.File("from.png"), folder_.File("to.png"), "--at",
                                      "1/2", "-o", folder_.File("none.png")},
                                     folder_.Path());
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(RunProgram({KEST_BINARY, "wipe", "WP_FADE", "--at", "x"}, folder_.Path()).status, 2);
}

}  // namespace
}  // namespace kest::testing
