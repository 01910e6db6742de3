#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup_support.h"
#include "text/word_runs.h"

namespace kest {
namespace {

struct Parsed {
  TVxWord word;
  std::vector<ElementSize> sizes;

  explicit Parsed(const std::string& utf8, const ImageSizeOf& images = {}) {
    word.ParseMarkupSource(Sjis(utf8), 0);
    sizes = MeasureElements(word.Elements(), word.Decorations(), {.size = 12, .border = 1, .shadow = 0}, images);
  }
  const std::vector<TWdElement>& Elements() const { return word.Elements(); }
};

TEST(MeasureElements, CharactersImagesAndTheRest) {
  const auto images = [](const std::string& name) -> std::optional<ElementSize> {
    if (name == "face.png") return ElementSize{40, 30};
    return std::nullopt;
  };
  struct Case {
    const char* markup;
    std::vector<ElementSize> sizes;
  } cases[] = {
      {"a", {{14, 14}}},                                          // the default size and border
      {"<FONT SIZE=20 BORDER=0>a</FONT>", {{20, 20}}},
      {"<FONT BORDER=0><I>a</I></FONT>", {{14, 12}}},            // italic: a fifth wider
      {"<FONT SIZE=20 BORDER=3 SHADOW=2>a</FONT>", {{28, 28}}},  // 2 x border + shadow
      {"<FONT BORDER=0><RUBY VALUE=x>a</RUBY></FONT>", {{12, 18}}},
      {"<FONT SIZE=1 BORDER=0><RUBY VALUE=x>a</RUBY></FONT>", {{1, 2}}},  // ruby room at least 1
      {"<IMG SRC=face.png><IMG SRC=none.png>", {{40, 30}, {0, 0}}},
      {"a<BR>", {{14, 14}, {0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markup);
    const Parsed parsed(c.markup, images);
    ASSERT_EQ(parsed.sizes.size(), c.sizes.size());
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      EXPECT_EQ(parsed.sizes[i].width, c.sizes[i].width) << i;
      EXPECT_EQ(parsed.sizes[i].height, c.sizes[i].height) << i;
    }
  }
}

TEST(LineBreaking, WhereARowMayBreak) {
  // Each case: the markup and, for every element after the first, whether a row may break
  // before it.
  struct Case {
    const char* markup;
    std::vector<bool> breaks;
  } cases[] = {
      {"あい", {true}},
      {"ab", {false}},                  // an ASCII word stays whole
      {"a b", {false, true}},           // the blank stays with the word before it
      {"あ。", {false}},                // closing punctuation never starts a row
      {"a!", {false}},
      {"「あ", {true}},                 // a break after an opening bracket is the run's business
      {"<NOBR>あい</NOBR>う", {false, true}},
      {"<RUBY VALUE=かんじ>漢字</RUBY>", {false}},
      {"<RUBY VALUE=a>漢</RUBY><RUBY VALUE=b>字</RUBY>", {true}},
      // Trail bytes are not characters: "表" ends in 0x5C and "ソ" in 0x5C, "B" is 。's trail.
      {"表示ソB", {true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markup);
    const Parsed parsed(c.markup);
    const auto& elements = parsed.Elements();
    ASSERT_EQ(elements.size(), c.breaks.size() + 1);
    EXPECT_TRUE(CanBreak(elements[0], nullptr, parsed.word.Decorations()));
    for (std::size_t i = 1; i < elements.size(); ++i)
      EXPECT_EQ(CanBreak(elements[i], &elements[i - 1], parsed.word.Decorations()), c.breaks[i - 1]) << i;
  }
  const Parsed brackets("「」(a");
  EXPECT_FALSE(CanEndRow(brackets.Elements()[0]));
  EXPECT_TRUE(CanEndRow(brackets.Elements()[1]));
  EXPECT_FALSE(CanEndRow(brackets.Elements()[2]));
  EXPECT_TRUE(CanEndRow(brackets.Elements()[3]));
}

TEST(LineBreaking, RunsThatStayOnOneRow) {
  struct Case {
    const char* markup;
    std::size_t first;
    std::size_t count;
  } cases[] = {
      {"あい", 0, 1},
      {"abc def", 0, 4},          // the word and its blank
      {"abc def", 4, 3},
      {"あ。」い", 0, 3},          // closing punctuation joins the character before it
      {"「あい", 0, 2},            // the bracket travels with the next character
      {"「abc」い", 0, 5},         // and with everything that cannot be parted from it
      {"「<BR>あ", 0, 1},          // but not with a line break
      {"あ<BR>い", 1, 1},          // a line break is a run of its own
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.markup) + " from " + std::to_string(c.first));
    const Parsed parsed(c.markup);
    const RowRun run = RunWidth(parsed.Elements(), parsed.sizes, c.first, parsed.word.Decorations());
    EXPECT_EQ(run.count, c.count);
    std::int32_t width = 0;
    for (std::size_t i = c.first; i < c.first + c.count; ++i) width += parsed.sizes[i].width;
    EXPECT_EQ(run.width, width);
  }
  const Parsed empty("");
  EXPECT_EQ(RunWidth(empty.Elements(), empty.sizes, 0, empty.word.Decorations()).count, 0u);
}

}  // namespace
}  // namespace kest
