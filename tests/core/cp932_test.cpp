#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest {
namespace {

// "表ソー": each character's trail byte is an ASCII byte ("\", "\", "[").
constexpr char kHyouSoBar[] = "\x95\x5c\x83\x5c\x81\x5b";
// Full-width "Ｂ" (0x82 0x61): its trail byte is the letter "a".
constexpr char kFullWidthB[] = "\x82\x61";

TEST(Cp932, LeadBytesAreTheTwoRanges) {
  struct { unsigned char byte; bool lead; } cases[] = {
      {0x7F, false}, {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false},
      {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}, {'a', false}};
  for (auto c : cases) EXPECT_EQ(cp932::IsLeadByte(c.byte), c.lead) << int(c.byte);
}

TEST(Cp932, StepsOverWholeCharacters) {
  EXPECT_EQ(cp932::CharCount(kHyouSoBar), 3u);
  EXPECT_EQ(cp932::CharCount("a\x95\x5c" "b"), 3u);
  EXPECT_EQ(cp932::CharLength("\x95", 0), 1u);  // a lead byte at the very end stands alone
  EXPECT_EQ(cp932::CharCount("ab\x95"), 3u);
}

TEST(Cp932, CaseFoldingLeavesTrailBytesAlone) {
  EXPECT_EQ(cp932::UpperCase(std::string(kFullWidthB) + "b"), std::string(kFullWidthB) + "B");
  EXPECT_EQ(cp932::LowerCase("\x82\x41Z"), "\x82\x41z");
  EXPECT_TRUE(cp932::SameText("Var_One", "vAR_oNE"));
  EXPECT_FALSE(cp932::SameText("\x82\x61", "\x82\x41"));  // trail bytes "a" and "A" differ
  EXPECT_FALSE(cp932::SameText("ab", "abc"));
  EXPECT_LT(cp932::CompareText("abc", "ABD"), 0);
  EXPECT_GT(cp932::CompareText("abc", "AB"), 0);
  EXPECT_EQ(cp932::CompareText(kHyouSoBar, kHyouSoBar), 0);
}

TEST(Cp932, ConvertsToAndFromUtf8) {
  EXPECT_EQ(cp932::ToUtf8(kHyouSoBar), "表ソー");
  EXPECT_EQ(cp932::FromUtf8("表ソー"), kHyouSoBar);
  EXPECT_EQ(cp932::FromUtf8("C:\\ゲーム"), "C:\\\x83\x51\x81\x5b\x83\x80");
  EXPECT_EQ(cp932::ToUtf8(""), "");
}

TEST(Cp932, UnmappableTextIsAClearError) {
  try {
    cp932::FromUtf8("ok \xF0\x9F\x98\x80");  // an emoji has no CP932 form
    FAIL() << "no error";
  } catch (const KestError& error) {
    EXPECT_NE(std::string(error.what()).find("at byte 3"), std::string::npos) << error.what();
  }
  EXPECT_THROW(cp932::ToUtf8("abc\x81"), KestError);  // a lead byte without its trail byte
}

}  // namespace
}  // namespace kest
