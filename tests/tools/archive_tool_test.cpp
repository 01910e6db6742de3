#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "archive_tool.h"
#include "core/errors.h"
#include "support/archive_builder.h"
#include "support/temp_folder.h"

namespace kest::tool {
namespace {

using ::testing::HasSubstr;
using kest::testing::BuildArchive;
using kest::testing::CountingBytes;
using kest::testing::TempFolder;
using kest::testing::TextBytes;

TEST(ArchiveTool, PackThenUnpackGivesIdenticalFilesAtEveryVersion) {
  TempFolder work;
  work.Write("src/kest.kpb", TextBytes("project"));
  work.Write("src/BGM/title.ogg", CountingBytes(20'000));
  work.Write("src/ページ/表.ksb", CountingBytes(3000, 9));
  work.Write("src/empty", {});
  for (std::int32_t version : {0, 100, 101, 102}) {
    SCOPED_TRACE(version);
    const std::string archive = work.File("game" + std::to_string(version) + ".dat");
    EXPECT_EQ(PackFolder(work.File("src"), archive, version), 4u);
    const std::string out = work.File("out" + std::to_string(version));
    const Report unpacked = UnpackArchive(archive, out);
    EXPECT_EQ(unpacked.done, 4u);
    EXPECT_THAT(unpacked.problems, ::testing::IsEmpty());
    for (const char* file : {"kest.kpb", "BGM/title.ogg", "ページ/表.ksb", "empty"})
      EXPECT_EQ(TempFolder::ReadPath(out + "/" + file), work.Read(std::string("src/") + file)) << file;
    EXPECT_EQ(VerifyArchive(archive).done, 4u);

    const Listing listing = ListArchive(archive);
    EXPECT_EQ(listing.version, version);
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[0].name, "BGM\\title.ogg");  // sorted, "\" between folders, UTF-8
    EXPECT_EQ(listing.entries[3].name, "ページ\\表.ksb");
  }
}

TEST(ArchiveTool, UnpackRefusesNamesThatLeaveTheFolder) {
  TempFolder work;
  work.Write("hostile.dat", BuildArchive({{"..\\escape.txt", TextBytes("x")},
                                          {"sub\\..\\..\\escape2.txt", TextBytes("x")},
                                          {"\\abs.txt", TextBytes("x")},
                                          {"C:\\drive.txt", TextBytes("x")},
                                          {"fine\\ok.txt", TextBytes("ok")}}));
  const Report report = UnpackArchive(work.File("hostile.dat"), work.File("out"));
  EXPECT_EQ(report.done, 2u);
  ASSERT_EQ(report.problems.size(), 3u);
  EXPECT_THAT(report.problems[0], HasSubstr("..\\escape.txt: refused"));
  EXPECT_THAT(report.problems[2], HasSubstr("C:\\drive.txt: refused"));
  EXPECT_FALSE(std::filesystem::exists(work.File("escape.txt")));
  EXPECT_EQ(work.Read("out/fine/ok.txt"), TextBytes("ok"));
  EXPECT_EQ(work.Read("out/abs.txt"), TextBytes("x"));  // a leading "\" stays inside the folder
}

TEST(ArchiveTool, UnpackNeverWritesThroughALink) {
  TempFolder work, elsewhere;
  work.Write("a.dat", BuildArchive({{"link\\planted.txt", TextBytes("x")}}));
  std::filesystem::create_directories(work.File("out"));
  std::filesystem::create_directory_symlink(elsewhere.Path(), work.File("out/link"));
  const Report report = UnpackArchive(work.File("a.dat"), work.File("out"));
  EXPECT_EQ(report.done, 0u);
  EXPECT_THAT(report.problems.at(0), HasSubstr("symbolic link"));
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
}

TEST(ArchiveTool, VerifyNamesDamagedEntries) {
  TempFolder work;
  work.Write("src/good.txt", CountingBytes(4000));
  work.Write("src/raw.ogg", CountingBytes(4000, 3));
  ASSERT_EQ(PackFolder(work.File("src"), work.File("game.dat"), 102), 2u);
  Bytes archive = work.Read("game.dat");
  // Entries follow the directory in name order: good.txt (compressed), then raw.ogg (stored).
  archive[archive.size() - 100] ^= 0x55;  // inside raw.ogg's bytes
  work.Write("damaged.dat", archive);
  const Report report = VerifyArchive(work.File("damaged.dat"));
  EXPECT_EQ(report.done, 1u);
  ASSERT_EQ(report.problems.size(), 1u);
  EXPECT_THAT(report.problems[0], HasSubstr("raw.ogg: CRC"));
}

TEST(ArchiveTool, MissingInputsAreClearErrors) {
  TempFolder work;
  EXPECT_THROW(ListArchive(work.File("absent.dat")), KestError);
  EXPECT_THROW(PackFolder(work.File("absent"), work.File("x.dat"), 102), KestError);
}

}  // namespace
}  // namespace kest::tool
