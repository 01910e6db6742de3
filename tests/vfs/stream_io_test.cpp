#include <gtest/gtest.h>

#include "core/errors.h"
#include "vfs/stream_io.h"

namespace kest {
namespace {

TEST(StreamIo, RoundTripsTheStoredForms) {
  TMemoryStream stream;
  WriteInt32(stream, -123456);
  WriteByte(stream, 0xAB);
  WriteBool(stream, true);
  WriteLString(stream, "\x95\x5c" "abc");
  WriteLString(stream, "");
  EXPECT_EQ(stream.Size(), 4 + 1 + 1 + 9 + 4);
  stream.SetPosition(0);
  EXPECT_EQ(ReadInt32(stream), -123456);
  EXPECT_EQ(ReadByte(stream), 0xAB);
  EXPECT_TRUE(ReadBool(stream));
  EXPECT_EQ(ReadLString(stream), "\x95\x5c" "abc");
  EXPECT_EQ(ReadLString(stream), "");
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST(StreamIo, ShortOrLyingDataIsAFormatErrorAtItsOffset) {
  struct { const char* name; Bytes bytes; std::uint64_t offset; } cases[] = {
      {"int32 cut", {1, 2, 3}, 0},
      {"string longer than the stream", {0, 0, 0, 0, 100, 0, 0, 0, 'a'}, 4},
      {"string of 2 GiB", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}, 4},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream(c.bytes, "broken.ksb");
    try {
      if (c.offset == 4) ReadInt32(stream);
      ReadLString(stream);
      FAIL() << "no error";
    } catch (const FormatError& error) {
      EXPECT_EQ(error.Offset(), c.offset);
      EXPECT_EQ(error.Source(), "broken.ksb");
    }
  }
}

}  // namespace
}  // namespace kest
