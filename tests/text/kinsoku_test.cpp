#include <gtest/gtest.h>

#include "core/cp932.h"
#include "text/kinsoku.h"

namespace kest {
namespace {

std::uint16_t Code(std::string_view utf8) {
  const std::string bytes = cp932::FromUtf8(utf8);
  return bytes.size() == 1 ? static_cast<unsigned char>(bytes[0])
                           : static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                        static_cast<unsigned char>(bytes[1]));
}

TEST(Kinsoku, SetsHoldTheCharactersByCode) {
  for (const char* c : {"。", "、", "｣", "」", "』", ")", "）", "､", "｡", "!", "?", "！", "？", "】"}) {
    EXPECT_TRUE(CannotStartRow(Code(c))) << c;
    EXPECT_FALSE(CannotEndRow(Code(c))) << c;
  }
  for (const char* c : {"｢", "「", "『", "（", "(", "[", "<", "【"}) {
    EXPECT_TRUE(CannotEndRow(Code(c))) << c;
    EXPECT_FALSE(CannotStartRow(Code(c))) << c;
  }
}

TEST(Kinsoku, TrailBytesOfTheSetsAreFreeLetters) {
  // The sets' double-byte characters end in these ASCII letters; tested as byte strings they
  // would forbid the letters too.
  for (char c : std::string_view("ABHIjvxz")) EXPECT_FALSE(CannotStartRow(static_cast<std::uint16_t>(c))) << c;
  for (char c : std::string_view("iuwy")) EXPECT_FALSE(CannotEndRow(static_cast<std::uint16_t>(c))) << c;
  EXPECT_FALSE(CannotStartRow(0x0081));  // a lead byte alone is no member either
  EXPECT_FALSE(CannotStartRow(Code("あ")));
}

}  // namespace
}  // namespace kest
