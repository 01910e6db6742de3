#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "support/temp_folder.h"
#include "vfs/big_stream.h"

namespace kest {
namespace {

using testing::CountingBytes;
using testing::TempFolder;

constexpr std::int64_t kTinySegment = 1024;

TEST(BigFileStream, SpreadsDataOverNumberedSegments) {
  TempFolder folder;
  const std::string path = folder.File("x.dat");
  const Bytes data = CountingBytes(kTinySegment * 2 + 10);
  {
    TVxBigFileStream out(path, kAccessWrite, kTinySegment);
    // Two writes whose boundary falls inside a segment, the second crossing two boundaries.
    EXPECT_EQ(out.Write(data.data(), 700), 700);
    EXPECT_EQ(out.Write(data.data() + 700, static_cast<std::int64_t>(data.size()) - 700),
              static_cast<std::int64_t>(data.size()) - 700);
  }
  EXPECT_EQ(std::filesystem::file_size(folder.File("x.dat")), 1024u);
  EXPECT_EQ(std::filesystem::file_size(folder.File("x.001")), 1024u);
  EXPECT_EQ(std::filesystem::file_size(folder.File("x.002")), 10u);

  TVxBigFileStream in(path, kAccessRead, kTinySegment);
  EXPECT_EQ(in.GetSize(), static_cast<std::int64_t>(data.size()));
  Bytes back(data.size());
  in.SetPosition(0);
  EXPECT_EQ(in.Read(back.data(), static_cast<std::int64_t>(back.size()) + 50), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(back, data);

  // A read that starts in one segment and ends in the next.
  Bytes middle(40);
  in.SetPosition(1004);
  EXPECT_EQ(in.Read(middle.data(), 40), 40);
  EXPECT_EQ(middle, Bytes(data.begin() + 1004, data.begin() + 1044));
}

TEST(BigFileStream, SegmentNamesReplaceTheExtension) {
  TempFolder folder;
  TVxBigFileStream stream(folder.File("game.dat"), kAccessWrite, kTinySegment);
  EXPECT_EQ(stream.SegmentFileName(0), folder.File("game.dat"));
  EXPECT_EQ(stream.SegmentFileName(1), folder.File("game.001"));
  EXPECT_EQ(stream.SegmentFileName(12), folder.File("game.012"));
  TVxBigFileStream bare(folder.File("archive"), kAccessWrite, kTinySegment);
  EXPECT_EQ(bare.SegmentFileName(2), folder.File("archive.002"));
}

TEST(BigFileStream, WriteModeDeletesOldSegments) {
  TempFolder folder;
  folder.Write("x.dat", CountingBytes(5));
  folder.Write("x.001", CountingBytes(5));
  folder.Write("x.002", CountingBytes(5));
  { TVxBigFileStream out(folder.File("x.dat"), kAccessWrite, kTinySegment); }
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.dat")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.001")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.002")));
}

TEST(BigFileStream, PositionsClampToTheData) {
  TempFolder folder;
  folder.Write("x.dat", CountingBytes(100));
  TVxBigFileStream in(folder.File("x.dat"), kAccessRead, kTinySegment);
  in.SetPosition(500);
  EXPECT_EQ(in.GetPosition(), 100);
  in.SetPosition(-5);
  EXPECT_EQ(in.GetPosition(), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(in.Read(&byte, -3), 0);
  EXPECT_EQ(in.Read(&byte, 0), 0);
}

TEST(BigFileStream, AShortSegmentThatIsNotTheLastEndsTheData) {
  TempFolder folder;
  folder.Write("x.dat", CountingBytes(300));            // should have been 1024 bytes
  folder.Write("x.001", CountingBytes(kTinySegment));   // unreachable after the short one
  TVxBigFileStream in(folder.File("x.dat"), kAccessRead, kTinySegment);
  EXPECT_EQ(in.GetSize(), 300);
  Bytes back(2000);
  EXPECT_EQ(in.Read(back.data(), 2000), 300);
  EXPECT_EQ(in.Read(back.data(), 2000), 0);
}

TEST(BigFileStream, AMissingFileNamesIt) {
  TempFolder folder;
  try {
    TVxBigFileStream in(folder.File("absent.dat"), kAccessRead, kTinySegment);
    FAIL() << "no error";
  } catch (const KestError& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr("absent.dat:"));
  }
}

TEST(BigStreams, CopyBetweenKindsPiecewise) {
  TempFolder folder;
  const Bytes data = CountingBytes(3000);
  TVxBigMemoryStream memory(data);
  {
    TVxBigFileStream out(folder.File("copy.dat"), kAccessWrite, kTinySegment);
    memory.SetPosition(1234);
    EXPECT_EQ(out.CopyFromBig(memory, 0), 3000);  // 0 copies the whole source from its start
  }
  EXPECT_EQ(folder.Read("copy.dat").size(), 1024u);

  TVxBigFileStream in(folder.File("copy.dat"), kAccessRead, kTinySegment);
  TMemoryStream target;
  in.SetPosition(10);
  EXPECT_EQ(in.CopyTo(target, 2000), 2000);
  EXPECT_EQ(target.Data(), Bytes(data.begin() + 10, data.begin() + 2010));

  TVxBigMemoryStream sink;
  TMemoryStream source(Bytes(data.begin(), data.begin() + 64));
  source.SetPosition(30);
  EXPECT_EQ(sink.CopyFrom(source, 0), 64);
  EXPECT_EQ(sink.Memory().Data(), Bytes(data.begin(), data.begin() + 64));
}

TEST(BigMemoryStream, SavesAtomicallyAndLoadsBack) {
  TempFolder folder;
  folder.Write("save.dat", CountingBytes(10));
  TVxBigMemoryStream stream(CountingBytes(77, 5));
  stream.SaveToFile(folder.File("save.dat"));
  EXPECT_EQ(folder.Read("save.dat"), CountingBytes(77, 5));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary left

  TVxBigMemoryStream loaded;
  loaded.LoadFromFile(folder.File("save.dat"));
  EXPECT_EQ(loaded.Memory().Data(), CountingBytes(77, 5));

  // A failed save leaves nothing behind and raises.
  EXPECT_THROW(stream.SaveToFile(folder.File("no/such/folder/save.dat")), KestError);
}

TEST(BuffBigStream, GivesBackWhatItDidNotHandOut) {
  TVxBigMemoryStream source(CountingBytes(300'000));
  source.SetPosition(1000);
  {
    TVxBuffBigStream buffer(source);
    Bytes ten(10);
    EXPECT_EQ(buffer.Read(ten.data(), 10), 10);
    EXPECT_EQ(ten, CountingBytes(10, 1000));
    EXPECT_EQ(source.GetPosition(), 1000 + 102'400);
  }
  EXPECT_EQ(source.GetPosition(), 1010);  // moved back by 102,390 bytes
}

TEST(BuffBigStream, ReadsAcrossRefillsAndStopsAtTheEnd) {
  const Bytes data = CountingBytes(250'000);
  TVxBigMemoryStream source(data);
  TVxBuffBigStream buffer(source);
  Bytes back(260'000);
  EXPECT_EQ(buffer.Read(back.data(), 150'000), 150'000);
  EXPECT_EQ(buffer.Read(back.data() + 150'000, 110'000), 100'000);
  back.resize(250'000);
  EXPECT_EQ(back, data);
}

}  // namespace
}  // namespace kest
