#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "vfs/range_stream.h"

namespace kest {
namespace {

using testing::CountingBytes;

TEST(RangeStream, ShowsOnlyItsRegion) {
  testing::TempFolder folder;
  folder.Write("archive.dat", CountingBytes(300));
  TFileRangeStream range(folder.File("archive.dat"), 100, 100);
  EXPECT_EQ(range.Size(), 100);
  EXPECT_EQ(range.Seek(-5, SeekOrigin::Begin), 0);
  EXPECT_EQ(range.Seek(80, SeekOrigin::Begin), 80);
  Bytes buffer(50);
  EXPECT_EQ(range.Read(buffer.data(), 50), 20);
  buffer.resize(20);
  EXPECT_EQ(buffer, CountingBytes(20, 180));
  EXPECT_EQ(range.Read(buffer.data(), 5), 0);
}

TEST(RangeStream, SeeksFromEachOriginAndClamps) {
  const Bytes data = CountingBytes(64);
  struct { std::int64_t offset; SeekOrigin origin; std::int64_t expected; } cases[] = {
      {10, SeekOrigin::Begin, 10}, {5, SeekOrigin::Current, 15},  {-100, SeekOrigin::Current, 0},
      {-4, SeekOrigin::End, 16},   {50, SeekOrigin::End, 20},     {21, SeekOrigin::Begin, 20}};
  TResourceRangeStream range(data, "resource", 20, 30);  // bytes 30..49
  for (auto c : cases) EXPECT_EQ(range.Seek(c.offset, c.origin), c.expected);
  std::uint8_t byte = 0;
  range.Seek(3, SeekOrigin::Begin);
  EXPECT_EQ(range.Read(&byte, 1), 1);
  EXPECT_EQ(byte, data[33]);
  EXPECT_EQ(range.Write(&byte, 1), 0);
}

TEST(RangeStream, ZeroLengthFileRangeIsTheWholeFile) {
  testing::TempFolder folder;
  folder.Write("whole.bin", CountingBytes(77));
  TFileRangeStream range(folder.File("whole.bin"), 0, 0);
  EXPECT_EQ(range.Size(), 77);
  // A range made directly with length 0 is empty: an empty entry never shows the whole archive.
  TRangeStream empty(std::make_unique<TVxBigMemoryStream>(CountingBytes(10)), 3, 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(empty.Size(), 0);
  EXPECT_EQ(empty.Read(&byte, 1), 0);
}

}  // namespace
}  // namespace kest
