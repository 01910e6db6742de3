#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"

namespace kest {
namespace {

using ::testing::HasSubstr;

TEST(ByteIo, EveryKindRoundTrips) {
  ByteWriter writer;
  writer.U8(0xFE);
  writer.I8(-2);
  writer.U16(0xBEEF);
  writer.I16(-12345);
  writer.U32(0xDEADBEEF);
  writer.I32(std::numeric_limits<std::int32_t>::min());
  writer.U64(0x0123456789ABCDEFull);
  writer.I64(-9'000'000'000'000'000'000ll);
  writer.Bool(true);
  writer.Bool(false);
  writer.Extended(1.0L / 3.0L);
  writer.LString("\x95\x5c\x83\x5c");  // two double-byte characters whose trail bytes are "\"
  writer.LString("");
  writer.StringList({"a", "", "bc"});

  ByteReader reader(writer.Data(), "mixed.bin");
  EXPECT_EQ(reader.U8(), 0xFE);
  EXPECT_EQ(reader.I8(), -2);
  EXPECT_EQ(reader.U16(), 0xBEEF);
  EXPECT_EQ(reader.I16(), -12345);
  EXPECT_EQ(reader.U32(), 0xDEADBEEFu);
  EXPECT_EQ(reader.I32(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(reader.U64(), 0x0123456789ABCDEFull);
  EXPECT_EQ(reader.I64(), -9'000'000'000'000'000'000ll);
  EXPECT_TRUE(reader.Bool());
  EXPECT_FALSE(reader.Bool());
  EXPECT_EQ(reader.Extended(), 1.0L / 3.0L);
  EXPECT_EQ(reader.LString(), "\x95\x5c\x83\x5c");
  EXPECT_EQ(reader.LString(), "");
  EXPECT_THAT(reader.StringList(), ::testing::ElementsAre("a", "", "bc"));
  EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteIo, LayoutIsLittleEndianWithTenByteReals) {
  ByteWriter writer;
  writer.I32(0x01020304);
  writer.Extended(1.0L);  // x87: significand 0x8000000000000000, biased exponent 0x3FFF
  writer.LString("ab");
  EXPECT_THAT(writer.Data(), ::testing::ElementsAre(0x04, 0x03, 0x02, 0x01,                          //
                                                    0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F,           //
                                                    2, 0, 0, 0, 'a', 'b'));
}

TEST(ByteIo, NonPositiveStringLengthsReadAsEmpty) {
  const Bytes bytes = {0xFF, 0xFF, 0xFF, 0xFF, 'x'};  // length -1, then a byte that is not part of it
  ByteReader reader(bytes);
  EXPECT_EQ(reader.LString(), "");
  EXPECT_EQ(reader.Position(), 4u);
}

TEST(ByteIo, ExtendedKeepsSpecialValues) {
  for (long double value : {0.0L, -0.0L, 1e4000L, -1e-4000L, std::numeric_limits<long double>::infinity()}) {
    ByteWriter writer;
    writer.Extended(value);
    ByteReader reader(writer.Data());
    const long double back = reader.Extended();
    EXPECT_EQ(back, value);
    EXPECT_EQ(std::signbit(back), std::signbit(value));
  }
  ByteWriter writer;
  writer.Extended(std::numeric_limits<long double>::quiet_NaN());
  ByteReader reader(writer.Data());
  EXPECT_TRUE(std::isnan(reader.Extended()));
}

struct TruncatedCase {
  const char* name;
  Bytes bytes;
  std::function<void(ByteReader&)> read;
  std::size_t failing_offset;
};

TEST(ByteIo, TruncatedOrLyingInputThrowsNamingTheOffset) {
  const std::vector<TruncatedCase> cases = {
      {"u16 with one byte", {1}, [](ByteReader& r) { r.U16(); }, 0},
      {"i32 after a byte", {1, 2, 3, 4}, [](ByteReader& r) { r.U8(); r.I32(); }, 1},
      {"u64 with seven bytes", {1, 2, 3, 4, 5, 6, 7}, [](ByteReader& r) { r.U64(); }, 0},
      {"extended with nine bytes", Bytes(9, 0), [](ByteReader& r) { r.Extended(); }, 0},
      {"string longer than the data", {5, 0, 0, 0, 'a', 'b'}, [](ByteReader& r) { r.LString(); }, 0},
      {"string of 2 GiB", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, [](ByteReader& r) { r.LString(); }, 0},
      {"list count beyond the data", {0x00, 0x00, 0x00, 0x40}, [](ByteReader& r) { r.StringList(); }, 4},
      {"negative list count", {0xFE, 0xFF, 0xFF, 0xFF}, [](ByteReader& r) { r.StringList(); }, 4},
      {"second list string cut", {2, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'x'}, [](ByteReader& r) { r.StringList(); }, 8},
      {"block past the end", {1, 2}, [](ByteReader& r) { r.Take(3); }, 0},
      {"seek past the end", {1, 2}, [](ByteReader& r) { r.Seek(3); }, 0},
  };
  for (const TruncatedCase& c : cases) {
    SCOPED_TRACE(c.name);
    ByteReader reader(c.bytes, "broken.dat");
    try {
      c.read(reader);
      ADD_FAILURE() << "no error";
    } catch (const FormatError& error) {
      EXPECT_EQ(error.Offset(), c.failing_offset);
      EXPECT_THAT(error.what(), HasSubstr("broken.dat: offset " + std::to_string(c.failing_offset)));
    }
  }
}

TEST(ByteIo, CountChecksAgainstTheBytesLeft) {
  const Bytes bytes(12, 0);
  ByteReader reader(bytes, "items.bin");
  EXPECT_EQ(reader.Count(3, 4, "items"), 3u);
  EXPECT_THROW(reader.Count(4, 4, "items"), FormatError);
  EXPECT_THROW(reader.Count(-1, 1, "items"), FormatError);
  EXPECT_THROW(reader.Count(std::int64_t{1} << 40, 1, "items"), FormatError);
}

}  // namespace
}  // namespace kest
