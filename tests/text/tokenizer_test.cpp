#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup_support.h"
#include "text/tokenizer.h"

namespace kest {
namespace {

// Tokens written as "T:text", "G:tag" or "K:block", joined by "|".
std::string Tokens(std::string_view source) {
  std::string line;
  for (const MarkupToken& token : Tokenize(source)) {
    if (!line.empty()) line += "|";
    line += token.kind == TokenKind::Text ? "T:" : token.kind == TokenKind::Tag ? "G:" : "K:";
    line += token.text;
    EXPECT_EQ(token.offsets.size(), token.text.size()) << token.text;
  }
  return line;
}

TEST(Tokenize, SplitsRunsTagsAndBlocks) {
  struct Case {
    std::string source, tokens;
  } cases[] = {
      {"ab<B>cd</B>", "T:ab|G:<B>|T:cd|G:</B>"},
      {"a<!-- x\ry -->b", "T:a|K:<!-- x\r\ny -->|T:b"},  // a comment's line end gains a line feed
      {"<!--<!--a-->b-->c", "K:<!--<!--a-->b-->|T:c"},  // comments nest
      {"a-->b", "T:a-->|T:b"},                          // a closing marker outside pushes
      {"x<style>p{}</STYLE>", "T:x|K:<style>p{}</STYLE>"},
      {"<A HREF=\"a > b\">", "G:<A HREF=\"a > b\">"},   // ">" inside quotes does not end the tag
      {"<A\rB>", "G:<A B>"},                           // a line end inside a tag is a blank
      {"<PRE>\ra\rb\r</PRE>", "G:<PRE>|T:a|G:<BR>|T:b|G:</PRE>"},
      {"<pre>a</pre>\rb", "G:<pre>|T:a|G:</pre>|T:b"},
      {"<PRE>a  \r</PRE>", "G:<PRE>|T:a |G:</PRE>"},  // blanks fold in PRE too
      {"<TEXTAREA>\ra\r</TEXTAREA>", "G:<TEXTAREA>|T:a|G:</TEXTAREA>"},
      // No text area starts inside PRE, so the line end after it is not skipped.
      {"<PRE><TEXTAREA>\ra\r</PRE>", "G:<PRE>|G:<TEXTAREA>|G:<BR>|T:a|G:</PRE>"},
      {"\\<B\\>", "T:<B>"},
      {" a", "T: a"},
      {"\r\ra", "T:a"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.source), c.tokens) << c.source;
}

TEST(Tokenize, DoubleByteCharactersAreNeverSplit) {
  // "ソ" is 0x83 0x5C and "ー" 0x81 0x5B: read byte by byte, the first would escape the "<"
  // after it and the second would look like "[".
  const std::string source = Sjis("ソ<B>ー") + "\x81";
  EXPECT_EQ(Tokens(source), "T:" + Sjis("ソ") + "|G:<B>|T:" + Sjis("ー") + "\x81");
  // A lead byte pairs with whatever byte follows it, even one that is no valid trail byte: the
  // quote after it opens no quoted string.
  EXPECT_EQ(Tokens("\x82\"<B>"), "T:\x82\"|G:<B>");
}

TEST(Tokenize, JoinsLinesWithCarriageReturns) {
  EXPECT_EQ(JoinMarkupLines({"a", "", "b"}), "a\r\rb");
  EXPECT_EQ(JoinMarkupLines({}), "");
}

TEST(Tokenize, TenMegabytesWithoutAClosingBracketIsOneToken) {
  const std::string source = "<" + std::string(10 << 20, 'a');
  const std::vector<MarkupToken> tokens = Tokenize(source);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].kind, TokenKind::Text);
  EXPECT_EQ(tokens[0].text.size(), source.size());
  EXPECT_EQ(tokens[0].offsets.back(), source.size() - 1);
}

}  // namespace
}  // namespace kest
