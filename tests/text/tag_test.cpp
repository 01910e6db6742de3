#include <gtest/gtest.h>

#include <string>

#include "markup_support.h"
#include "text/tag.h"

namespace kest {
namespace {

TEST(TTag, KindsByNameIgnoringCase) {
  struct Case {
    const char* token;
    TagKind kind;
    const char* text;
  } cases[] = {
      {"hello", TagKind::Text, "hello"},
      {"<>", TagKind::Text, "<>"},
      {"<", TagKind::Text, "<"},
      {"<a>", TagKind::A, "<a>"},
      {"</a>", TagKind::EndA, "</a>"},
      {"<Font size=2>", TagKind::Font, "<Font>"},
      {"<IMG=x>", TagKind::Img, "<IMG>"},
      {"</WAIT>", TagKind::EndWait, "</WAIT>"},
      {"<undent>", TagKind::Undent, "<undent>"},
      {"<P>", TagKind::Unknown, "<P>"},
      {"<!-- x -->", TagKind::Unknown, "<!-- x -->"},
      {"<SCRIPT>a</SCRIPT>", TagKind::Unknown, "<SCRIPT>a</SCRIPT>"},
      {"< B>", TagKind::Unknown, "<>"},
  };
  for (const Case& c : cases) {
    const TTag tag(c.token);
    EXPECT_EQ(tag.Kind(), c.kind) << c.token;
    EXPECT_EQ(tag.Text(), c.text) << c.token;
  }
  EXPECT_EQ(TTag("<B>", TokenKind::Text).Kind(), TagKind::Text);  // an escaped tag stays text
  const TTag block("<style>x</style>", TokenKind::Block);
  EXPECT_EQ(block.Kind(), TagKind::Unknown);
  EXPECT_EQ(block.Text(), "<style>x</style>");
}

TEST(TTag, ReadsAttributes) {
  const TTag tag("<FONT  size=24 NAME=\"a b\" Empty= flag  x='c d' y=\"open z=1 =v>");
  ASSERT_EQ(tag.Kind(), TagKind::Font);
  EXPECT_EQ(tag.Value("SIZE"), "24");
  EXPECT_EQ(tag.Value("name"), "a b");
  EXPECT_EQ(tag.IndexOf("EMPTY"), 2);
  EXPECT_EQ(tag.Value("empty", "d"), "");  // present without a value: empty, not the default
  EXPECT_TRUE(tag.Has("FLAG"));
  EXPECT_FALSE(tag.Attributes()[3].has_value);
  EXPECT_EQ(tag.Value("X"), "c d");
  EXPECT_EQ(tag.Value("Y"), "open");  // no closing quote: to the next blank
  EXPECT_EQ(tag.Value("Z"), "1");
  EXPECT_EQ(tag.Value("v"), "");      // a "=" without a name is dropped
  EXPECT_EQ(tag.IndexOf("absent"), -1);
  EXPECT_EQ(tag.Value("absent", "d"), "d");
}

TEST(TTag, AttributeNamesAndValuesKeepDoubleByteCharacters) {
  const std::string so = Sjis("ソ");  // trail byte 0x5C
  const TTag tag("<RUBY VALUE=" + so + so + " HREF=" + Sjis("表") + ">");
  EXPECT_EQ(tag.Value("VALUE"), so + so);
  EXPECT_EQ(tag.Value("HREF"), Sjis("表"));
}

TEST(TTag, ColourValues) {
  struct Case {
    const char* value;
    std::int32_t colour;
  } cases[] = {
      {"#FF0000", 0x0000FF}, {"#00ff00", 0x00FF00}, {"#0000FF", 0xFF0000}, {"#123456", 0x563412},
      {"#FFF", 0xFF0F00},    // three digits read as the number 0x000FFF
      {"#1234567", 0x563412},  // only six digits are read
      {"#", -7},  {"#12G", -7}, {"red", -7}, {"", -7},
  };
  for (const Case& c : cases) {
    const TTag tag(std::string("<FONT COLOR=") + c.value + ">");
    EXPECT_EQ(tag.ColorValue("COLOR", -7), c.colour) << c.value;
  }
  EXPECT_EQ(TTag("<FONT>").ColorValue("COLOR", 5), 5);
}

TEST(TTag, IntegersAndAlignmentNames) {
  EXPECT_EQ(ReadMarkupInteger("42"), 42);
  EXPECT_EQ(ReadMarkupInteger("-7"), -7);
  EXPECT_EQ(ReadMarkupInteger("+3"), 3);
  EXPECT_EQ(ReadMarkupInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ReadMarkupInteger("2147483648"), std::nullopt);
  for (const char* bad : {"", "-", "1x", " 1", "0x10"}) EXPECT_EQ(ReadMarkupInteger(bad), std::nullopt) << bad;
  EXPECT_EQ(AlignmentCode("center"), 3);
  EXPECT_EQ(AlignmentCode("Bottom"), 5);
  EXPECT_EQ(AlignmentCode("MIDDLE"), 0);
}

}  // namespace
}  // namespace kest
