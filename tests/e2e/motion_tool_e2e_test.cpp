// kest motion info through the real binary: the listing, and the exit status of each fault.

#include <gmock/gmock.h>

#include "e2e_support.h"
#include "images/motion_fixture.h"

namespace kest::testing {
namespace {

TEST_F(TitleRun, KestMotionInfoListsAFileAndNamesItsFaults) {
  MotionFile file = SampleMotionFile(106);
  folder_.Write("clip.kmt", WriteMotionFile(file));
  const ProgramRun json =
      RunProgram({KEST_BINARY, "motion", "info", folder_.File("clip.kmt"), "--json", "--at", "0", "12"}, folder_.Path());
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_THAT(json.out, ::testing::StartsWith("{\"type\": \"motion\", \"version\": 106,"));
  EXPECT_THAT(json.out, ::testing::HasSubstr("\"at\": [{\"time\": 0, \"tracks\": [{\"index\": 0, \"active\": true"));
  EXPECT_THAT(json.out, ::testing::HasSubstr("{\"time\": 12, "));

  const ProgramRun text = RunProgram({KEST_BINARY, "motion", "info", folder_.File("clip.kmt")}, folder_.Path());
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_THAT(text.out, ::testing::HasSubstr("\ntrack\n  index: 7\n  kind: \"fire\"\n"));

  // A kind byte outside the kinds: status 1, the file and the offset named.
  Bytes bad = WriteMotionFile(file);
  bad[42] = 9;
  folder_.Write("bad.kmt", bad);
  const ProgramRun broken = RunProgram({KEST_BINARY, "motion", "info", folder_.File("bad.kmt")}, folder_.Path());
  EXPECT_EQ(broken.status, 1);
  EXPECT_THAT(broken.err, ::testing::HasSubstr("bad.kmt"));
  EXPECT_THAT(broken.err, ::testing::HasSubstr("offset 42"));
  EXPECT_THAT(broken.err, ::testing::HasSubstr("kind 9"));

  const std::string words = "not a motion file";
  folder_.Write("text.kmt", Bytes(words.begin(), words.end()));
  const ProgramRun foreign = RunProgram({KEST_BINARY, "motion", "info", folder_.File("text.kmt")}, folder_.Path());
  EXPECT_EQ(foreign.status, 1);
  EXPECT_THAT(foreign.err, ::testing::HasSubstr("text.kmt"));

  const ProgramRun missing = RunProgram({KEST_BINARY, "motion", "info", folder_.File("none.kmt")}, folder_.Path());
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.err, ::testing::HasSubstr("none.kmt"));

  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"motion"}, {"motion", "list"}, {"motion", "info"}, {"motion", "info", "a", "b"},
        {"motion", "info", "clip.kmt", "--at"}, {"motion", "info", "clip.kmt", "--at", "x"},
        {"motion", "info", "clip.kmt", "--frames"}}) {
    std::vector<std::string> argv = {KEST_BINARY};
    argv.insert(argv.end(), options.begin(), options.end());
    const ProgramRun run = RunProgram(argv, folder_.Path());
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(options) << run.err;
  }
}

}  // namespace
}  // namespace kest::testing
