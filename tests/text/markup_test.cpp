#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup_support.h"
#include "text/messages.h"

namespace kest {
namespace {

std::vector<std::string> SjisLines(const std::vector<std::string>& utf8_lines) {
  std::vector<std::string> lines;
  for (const std::string& line : utf8_lines) lines.push_back(Sjis(line));
  return lines;
}

std::string Parsed(const std::vector<std::string>& utf8_lines, std::int32_t text_delay = 0) {
  TVxWord word;
  word.ParseMarkup(SjisLines(utf8_lines), text_delay);
  return Describe(word);
}

const TWdChar& CharAt(const TVxWord& word, std::size_t index) {
  return std::get<TWdChar>(word.Elements().at(index));
}

TEST(ParseMarkup, SourcesBecomeElements) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string elements;
  } cases[] = {
      {"two lines join with a blank", {"今日は", "晴れ"}, "今日は 晴れ"},
      {"a line end after a blank adds none", {"a ", "b"}, "a b"},
      {"PRE keeps lines apart", {"<PRE>今日は", "晴れ</PRE>"}, "今日は{BR}晴れ"},
      {"PRE drops the break before its end tag", {"<PRE>", "今日は", "晴れ", "</PRE>"}, "今日は{BR}晴れ"},
      {"PRE expands tabs", {"<PRE>a\tb</PRE>"}, "a        b"},
      {"TEXTAREA splits runs without breaks", {"<TEXTAREA>", "a", "b", "</TEXTAREA>"}, "ab"},
      {"blanks fold", {"a   b"}, "a b"},
      {"quoted blanks stay", {"\"a   b\""}, "\"a   b\""},
      {"an open quote runs to the end", {"\"a   <B>", "c"}, "\"a   <B>c"},
      {"escaped brackets are characters", {"\\<B\\>"}, "<B>"},
      {"escapes", {"\\%\\\\\\{\\}\\a"}, "%\\{}a"},
      {"a trailing backslash stays", {"a\\"}, "a\\"},
      {"tabs outside PRE go", {"a\tb"}, "ab"},
      {"0x14 is a blank", {"a\x14" "b"}, "a b"},
      {"<> is text", {"<>"}, "<>"},
      {"a lone > is text", {"a>b"}, "a>b"},
      {"nested < drops the inner >", {"<<B>x"}, "<<Bx"},
      {"an open tag is text", {"ab<FONT"}, "ab<FONT"},
      {"comments are dropped", {"a<!-- x", "y -->b"}, "ab"},
      {"an unterminated comment is shown", {"<!-- x"}, "<!-- x"},
      {"script blocks are dropped", {"a<script>if (a<b) x;</SCRIPT>b"}, "ab"},
      {"unknown tags change nothing", {"<P>a</P><PRE/>"}, "a"},
      {"DIV pushes and pops alignment", {"<DIV ALIGN=CENTER>x</DIV>"}, "{ALIGN 3}x{ALIGN 1}"},
      {"DIV accepts only row alignments", {"<DIV ALIGN=TOP><DIV align=right></DIV></DIV></DIV>"},
       "{ALIGN 1}{ALIGN 2}{ALIGN 1}{ALIGN 1}{ALIGN 1}"},
      {"IMG alignment", {"<IMG SRC=a.png ALIGN=LEFT><IMG SRC='b c.png' ALIGN=top><IMG ALIGN=TOP>"},
       "{IMG a.png 5}{IMG b c.png 4}"},
      {"BR CLEAR and CLEAR break pages", {"<BR CLEAR><CLEAR><BR><br clear=no>"}, "{BR CLEAR}{BR CLEAR}{BR}{BR CLEAR}"},
      {"indent and undent", {"<INDENT>a<UNDENT>"}, "{INDENT}a{UNDENT}"},
      // Inside quotes the tokenizer keeps backslashes; the event value then resolves them.
      {"events resolve escapes", {"<EVENT VALUE=\"a\\\\b\"><EVENT VALUE=x END>"}, "{EVENT a\\b}{EVENT x END}"},
      {"VAR needs NAME", {"<VAR NAME=\"a + 1\"><VAR>"}, "{VAR a + 1}"},
      // Trail bytes 0x5C ("表", "ソ") and 0x7B ("ボ") are parts of characters, not escapes.
      {"trail 0x5C is no escape", {"表<B>示\\<"}, "表示<"},
      {"trail 0x5C then {", {"ソ{ボ}"}, "ソ{ボ}"},
      {"trail 0x5C before a line end", {"ソ", "表"}, "ソ 表"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.lines), c.elements) << c.name;
}

TEST(ParseMarkup, LoneTrailingLeadByteIsOneCharacter) {
  TVxWord word;
  word.ParseMarkupSource("a\x82", 0);
  ASSERT_EQ(word.Elements().size(), 2u);
  EXPECT_EQ(CharAt(word, 1).code, 0x82);
}

TEST(ParseMarkup, FontStacksNestAndPop) {
  TVxWord word;
  word.ParseMarkupSource("<FONT SIZE=24><FONT COLOR=#00FF00>x</FONT>y</FONT>z", 0);
  ASSERT_EQ(Describe(word), "xyz");
  const TDecorate& x = word.DecorationOf(CharAt(word, 0));
  const TDecorate& y = word.DecorationOf(CharAt(word, 1));
  const TDecorate& z = word.DecorationOf(CharAt(word, 2));
  EXPECT_EQ(x.size, 24);
  EXPECT_EQ(x.color, 0x00FF00);
  EXPECT_EQ(y.size, 24);
  EXPECT_EQ(y.color, -1);
  EXPECT_EQ(z.size, 0);
  EXPECT_EQ(z.color, -1);
  EXPECT_EQ(z.border, -1);
  EXPECT_EQ(z.face_name, "");
}

TEST(ParseMarkup, FontAttributes) {
  TVxWord word;
  word.ParseMarkupSource(
      "<FONT COLOR=#FF0000 BCOLOR=#0000FF SCOLOR=#123456 NAME=\"MS Mincho\" BORDER=2 SHADOW=3>a"
      "<FONT COLOR=red BCOLOR=#12G>b</FONT></FONT>"
      "<FONT SIZE=24><FONT SIZE=>c<FONT SIZE=abc>d",
      0);
  ASSERT_EQ(Describe(word), "abcd");
  const TDecorate& a = word.DecorationOf(CharAt(word, 0));
  EXPECT_EQ(a.color, 255);  // red in the low byte
  EXPECT_EQ(a.border_color, 0xFF0000);
  EXPECT_EQ(a.shadow_color, 0x563412);
  EXPECT_EQ(a.face_name, "MS Mincho");
  EXPECT_EQ(a.border, 2);
  EXPECT_EQ(a.shadow, 3);
  const TDecorate& b = word.DecorationOf(CharAt(word, 1));  // unreadable colours keep the current ones
  EXPECT_EQ(b.color, 255);
  EXPECT_EQ(b.border_color, 0xFF0000);
  EXPECT_EQ(b.face_name, "MS Mincho");
  EXPECT_EQ(word.DecorationOf(CharAt(word, 2)).size, 24);  // SIZE= keeps the size
  EXPECT_EQ(word.DecorationOf(CharAt(word, 3)).size, 24);
}

TEST(ParseMarkup, CapsSizeBorderAndShadow) {
  struct Case {
    const char* attributes;
    std::int32_t size, border, shadow;
  } cases[] = {
      {"SIZE=0", 1, -1, -1},
      {"SIZE=-5", 1, -1, -1},
      {"SIZE=256", 256, -1, -1},
      {"SIZE=99999999999", 0, -1, -1},  // does not read: the current size
      {"SIZE=100000", 256, -1, -1},
      {"BORDER=16 SHADOW=17", 0, 16, 16},
      {"BORDER=2000000000 SHADOW=-3", 0, 16, 0},
      {"BORDER SHADOW=", 0, 1, 1},  // present without a value: 1
      {"BORDER=x SHADOW=0", 0, 1, 0},
  };
  for (const Case& c : cases) {
    TVxWord word;
    word.ParseMarkupSource(std::string("<FONT ") + c.attributes + ">a", 0);
    const TDecorate& look = word.DecorationOf(CharAt(word, 0));
    EXPECT_EQ(look.size, c.size) << c.attributes;
    EXPECT_EQ(look.border, c.border) << c.attributes;
    EXPECT_EQ(look.shadow, c.shadow) << c.attributes;
  }
}

TEST(ParseMarkup, LongFaceNamesAndRubyTextsAreCutAtWholeCharacters) {
  TVxWord word;
  std::string long_name;
  for (int i = 0; i < 20; ++i) long_name += Sjis("表");  // 40 bytes
  std::string long_ruby = "x";
  for (int i = 0; i < 200; ++i) long_ruby += Sjis("ソ");  // 401 bytes
  word.ParseMarkupSource("<FONT NAME=" + long_name + "><RUBY VALUE=" + long_ruby + ">a", 0);
  const TDecorate& look = word.DecorationOf(CharAt(word, 0));
  EXPECT_EQ(look.face_name.size(), 30u);
  EXPECT_EQ(look.face_name, long_name.substr(0, 30));
  EXPECT_EQ(look.ruby.size(), 255u);
  EXPECT_EQ(look.ruby, long_ruby.substr(0, 255));
}

TEST(ParseMarkup, StylesRubyNoBreakAndLinks) {
  TVxWord word;
  word.ParseMarkupSource(
      Sjis("<B><I>a</B><U><S>b</I></U></S>c<NOBR><RUBY VALUE=かソ{>d</RUBY></NOBR>"
           "<A HREF=\"表\\\\n\\n\">e</A>f<A HREF=ソ{>g"),
      0);
  ASSERT_EQ(Describe(word), "abcdefg");
  EXPECT_EQ(word.DecorationOf(CharAt(word, 0)).style, kStyleBold | kStyleItalic);
  EXPECT_EQ(word.DecorationOf(CharAt(word, 1)).style, kStyleItalic | kStyleUnderline | kStyleStrikeOut);
  EXPECT_EQ(word.DecorationOf(CharAt(word, 2)).style, 0);
  const TDecorate& d = word.DecorationOf(CharAt(word, 3));
  EXPECT_EQ(d.no_break, 1);
  EXPECT_EQ(d.ruby, Sjis("かソ{"));
  EXPECT_EQ(word.DecorationOf(CharAt(word, 4)).ruby, "");
  EXPECT_EQ(word.DecorationOf(CharAt(word, 4)).no_break, 0);
  // "表" ends in 0x5C: it is no escape, and "\\" and "\n" after it are.
  EXPECT_EQ(word.Link(CharAt(word, 4).link), Sjis("表") + "\\n\r\n");
  EXPECT_EQ(CharAt(word, 5).link, 0u);
  EXPECT_EQ(word.Link(CharAt(word, 6).link), Sjis("ソ{"));
}

TEST(ParseMarkup, WaitDefaultsToTheTextDelay) {
  TVxWord word;
  word.ParseMarkupSource("a<WAIT VALUE=5>b<WAIT VALUE=x>c</WAIT>d</WAIT></WAIT>e<IMG SRC=i><VAR NAME=v>", 37);
  ASSERT_EQ(Describe(word), "abcde{IMG i 5}{VAR v}");
  const std::int32_t expected[] = {37, 5, 5, 5, 37};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(CharAt(word, i).wait, expected[i]) << i;
  EXPECT_EQ(std::get<std::unique_ptr<TWdImg>>(word.Elements()[5])->wait, 37);
  EXPECT_EQ(std::get<std::unique_ptr<TWdOpeVar>>(word.Elements()[6])->wait, 37);
}

TEST(ParseMarkup, VarAndImageCarryTheCurrentLookAndLink) {
  TVxWord word;
  word.ParseMarkupSource("<A HREF=h><FONT SIZE=20 BORDER=2><B><VAR NAME=n><IMG SRC=p ALIGN=center>", 0);
  const auto& var = std::get<std::unique_ptr<TWdOpeVar>>(word.Elements().at(0));
  EXPECT_EQ(var->expression, "n");
  EXPECT_EQ(word.Decorations()[var->decoration].size, 20);
  EXPECT_EQ(word.Decorations()[var->decoration].border, 2);
  EXPECT_EQ(word.Decorations()[var->decoration].style, kStyleBold);
  EXPECT_EQ(word.Link(var->link), "h");
  const auto& image = std::get<std::unique_ptr<TWdImg>>(word.Elements().at(1));
  EXPECT_EQ(image->vertical_alignment, kAlignCenter);
  EXPECT_EQ(word.Link(image->link), "h");
}

TEST(ParseMarkup, LinkWithoutHrefStopsTheParseKeepingWhatCameBefore) {
  TVxWord word;
  try {
    word.ParseMarkupSource("ab\r<A>cd", 0);
    FAIL() << "no error";
  } catch (const MarkupError& error) {
    EXPECT_EQ(std::string(error.what()), Sjis("<A>タグにHREF値がありません"));
    EXPECT_EQ(error.Offset(), 3u);
    EXPECT_EQ(word.SourceLine(error.Offset()), 2u);
  }
  EXPECT_EQ(Describe(word), "ab ");
  // HREF without a value is present: an empty link, no error.
  word.ParseMarkupSource("<A HREF>x", 0);
  EXPECT_EQ(Describe(word), "x");
}

TEST(ParseMarkup, ElementsKnowWhereInTheSourceTheyCameFrom) {
  TVxWord word;
  word.ParseMarkup({Sjis("a  表"), "<BR><B>  \\<b"}, 0);
  ASSERT_EQ(Describe(word), "a 表 {BR} <b");
  const std::uint32_t expected[] = {0, 1, 3, 5, 6, 13, 16, 17};
  ASSERT_EQ(word.Elements().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(SourceOffsetOf(word.Elements()[i]), expected[i]) << i;
  EXPECT_EQ(word.SourceLine(0), 1u);
  EXPECT_EQ(word.SourceLine(6), 2u);
}

TEST(ParseMarkup, ParsingAgainReplacesElementsAndDecorations) {
  TVxWord word;
  word.ParseMarkupSource("<B>a</B>b<A HREF=x>c", 0);
  EXPECT_EQ(word.Decorations().Count(), 2u);
  word.ParseMarkupSource("d", 0);
  EXPECT_EQ(Describe(word), "d");
  EXPECT_EQ(word.Decorations().Count(), 1u);
  EXPECT_EQ(word.Decorations()[CharAt(word, 0).decoration].ref_count, 1);
  word.DecorationBase = 4;
  word.Clear();
  EXPECT_TRUE(word.Elements().empty());
  EXPECT_EQ(word.Decorations().Count(), 0u);
  EXPECT_EQ(word.DecorationBase, 0);
}

TEST(ParseMarkup, ThousandCharactersInThreeStylesHoldThreeDecorations) {
  std::string source;
  for (int i = 0; i < 1000; ++i) {
    switch (i % 3) {
      case 0: source += "a"; break;
      case 1: source += "<B>b</B>"; break;
      default: source += "<FONT COLOR=#FF0000>c</FONT>"; break;
    }
  }
  TVxWord word;
  word.ParseMarkupSource(source, 0);
  ASSERT_EQ(word.Elements().size(), 1000u);
  EXPECT_EQ(word.Decorations().Count(), 3u);
  std::int32_t total = 0;
  for (std::size_t i = 0; i < word.Decorations().SlotCount(); ++i)
    if (word.Decorations().InUse(static_cast<TDecorateList::Index>(i))) total += word.Decorations()[static_cast<TDecorateList::Index>(i)].ref_count;
  EXPECT_EQ(total, 1000);
  EXPECT_EQ(word.Decorations()[CharAt(word, 0).decoration].ref_count, 334);
}

TEST(ParseMarkup, DefaultsOfTheTextArea) {
  const TVxWord word;
  EXPECT_EQ(word.DefaultSize, 12);
  EXPECT_EQ(word.DefaultFont, Sjis("ＭＳ ゴシック"));
  EXPECT_EQ(word.LinkColor, 0xFF0000);
  EXPECT_EQ(word.HoverColor, 0x008000);
  EXPECT_EQ(word.BorderColor, 0x808080);
}

// Sources that once made scanners go back or loop: each must finish, and quickly.
TEST(ParseMarkup, HostileSourcesFinish) {
  const std::size_t n = 1 << 20;
  const std::string sources[] = {
      "<" + std::string(n, 'a'),
      std::string(n, '<'),
      std::string(n, '>'),
      std::string(n, '"'),
      "<!--" + std::string(n, '-'),
      std::string(n / 4, '\0') + std::string(n / 4, '\x82') + "<!--<!--<SCRIPT",
      std::string(n, '\\'),
      [&] {
        std::string s;
        while (s.size() < n) s += "<FONT SIZE= NAME=\"x BORDER='y =>";
        return s;
      }(),
      [&] {
        std::string s = "<RUBY VALUE=" + std::string(n, 'r') + ">";
        while (s.size() < 2 * n) s += "x<B>y</B>";
        return s;
      }(),
  };
  for (const std::string& source : sources) {
    TVxWord word;
    word.ParseMarkupSource(source, 0);
    EXPECT_LE(word.Elements().size(), source.size());
  }
}

}  // namespace
}  // namespace kest
