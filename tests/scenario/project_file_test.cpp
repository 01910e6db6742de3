#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "scenario/project_file.h"

namespace kest {
namespace {

ProjectFile SampleProject(std::int32_t version) {
  ProjectFile p;
  p.version = version;
  p.Title = "\x83\x51\x81\x5b\x83\x80";  // "ゲーム"
  p.ScreenWidth = 800;
  p.ScreenHeight = 600;
  p.FullScreenWidth = 1024;
  p.FullScreenHeight = 768;
  p.StartPage = "start.ksb";
  p.RegistryKey = "Kest\\Demo";
  p.ImageSeed = -7;
  p.DiskPrompt = "disk %d";
  p.ExitMessage = "bye";
  p.Variables = {{1, "count", std::int32_t{3}}, {2, "ratio", 0.25L}, {3, "seen", true},
                 {4, "name", std::string("abc")}, {9, "odd", std::monostate{}}};
  p.FolderDisks = {{"CG", 2}, {"CG\\sub", 3}};
  if (version >= 110) p.ExitPage = "exit.ksb";
  if (version >= 104) p.WriteStatusFile = false;
  if (version >= 106) p.FrameWait = true;
  if (version >= 109) p.SoundExtensions = "wav.ogg";
  return p;
}

TEST(ProjectFile, EveryVersionRoundTripsByteForByte) {
  for (std::int32_t version = kOldestProjectVersion; version <= kNewestProjectVersion; ++version) {
    SCOPED_TRACE(version);
    const ProjectFile project = SampleProject(version);
    const Bytes bytes = WriteProjectFile(project);
    const ProjectFile back = ReadProjectFile(bytes, "kest.kpb");
    EXPECT_EQ(back, project);
    EXPECT_EQ(WriteProjectFile(back), bytes);
  }
}

TEST(ProjectFile, FieldsAVersionLacksTakeTheirDefaults) {
  struct { std::int32_t version; bool write_status; bool frame_wait; const char* sounds; bool exit_page; } cases[] = {
      {103, true, false, ".wav.wma.ogg.mid", false}, {105, false, false, ".wav.wma.ogg.mid", false},
      {106, false, true, ".wav.wma.ogg.mid", false}, {108, false, true, ".wav.wma.ogg.mid", false},
      {109, false, true, "wav.ogg", false},          {110, false, true, "wav.ogg", true}};
  for (auto c : cases) {
    SCOPED_TRACE(c.version);
    ProjectFile written = SampleProject(c.version);
    // Whatever the writer is given, a version without a field cannot carry it.
    written.WriteStatusFile = false;
    written.FrameWait = true;
    written.SoundExtensions = "wav.ogg";
    written.ExitPage = "exit.ksb";
    const ProjectFile read = ReadProjectFile(WriteProjectFile(written), "kest.kpb");
    EXPECT_EQ(read.WriteStatusFile, c.write_status);
    EXPECT_EQ(read.FrameWait, c.frame_wait);
    EXPECT_EQ(read.SoundExtensions, c.sounds);
    EXPECT_EQ(read.ExitPage.empty(), !c.exit_page);
  }
}

TEST(ProjectFile, NewerVersionsAreNotRead) {
  ByteWriter out;
  out.I32(111);
  out.Raw(std::string_view("whatever follows"));
  const ProjectFile project = ReadProjectFile(out.Data(), "kest.kpb");
  EXPECT_EQ(project.version, 111);
  EXPECT_TRUE(project.Title.empty());
}

TEST(ProjectFile, LyingCountsAndTruncationAreFormatErrors) {
  Bytes bytes = WriteProjectFile(SampleProject(110));
  // The declared-variable count sits right after the exit message; find it by writing a project
  // without variables and comparing lengths would be fragile, so cut the file instead.
  for (std::size_t keep : {std::size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(keep);
    EXPECT_THROW(ReadProjectFile(ByteSpan(bytes.data(), keep), "kest.kpb"), FormatError);
  }
  ProjectFile empty_lists = SampleProject(110);
  empty_lists.Variables.clear();
  empty_lists.FolderDisks.clear();
  Bytes lying = WriteProjectFile(empty_lists);
  // The last eight bytes are the two counts (variables, folder disks): claim 2^31 - 1 variables.
  lying[lying.size() - 8] = 0xFF;
  lying[lying.size() - 7] = 0xFF;
  lying[lying.size() - 6] = 0xFF;
  lying[lying.size() - 5] = 0x7F;
  EXPECT_THROW(ReadProjectFile(lying, "kest.kpb"), FormatError);
}

}  // namespace
}  // namespace kest
