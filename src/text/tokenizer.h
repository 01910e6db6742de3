#pragma once
// Message markup split into tokens: text runs, tags ("<" ... ">") and whole comment, script or
// style blocks. The source is read one character at a time (a double-byte character is never
// split, so its trail byte can not be taken for "\", "<" or a blank), blanks and line ends are
// folded as the markup's rules say, and every byte of a token remembers where in the source it
// came from.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kest {

enum class TokenKind : std::uint8_t {
  Text,   // a text run; it is shown even when it looks like a tag ("\<B\>" gives "<B>")
  Tag,    // ended by the ">" that closed the outermost "<"
  Block,  // a comment, script or style block, from its opening marker to its closing one
};

struct MarkupToken {
  std::string text;
  // Source offset of each byte of `text` (bytes the tokenizer adds itself, such as the blank
  // of a folded line end or a closing marker, take the offset of what produced them).
  std::vector<std::uint32_t> offsets;
  TokenKind kind = TokenKind::Text;

  std::uint32_t Offset() const { return offsets.empty() ? 0 : offsets.front(); }
};

// Receives the tokens one by one; the token is only valid during the call.
class TokenSink {
 public:
  virtual ~TokenSink() = default;
  virtual void Token(const MarkupToken& token) = 0;
};

// The lines of a message joined with a carriage return between each two (no line feed).
std::string JoinMarkupLines(const std::vector<std::string>& lines);

// The tokens of a source (joined lines). Linear in the source's length on any bytes; raises
// KestError when the source is too long for 32-bit offsets.
std::vector<MarkupToken> Tokenize(std::string_view source);
// The same, handing each token to `sink` as soon as it is complete (no token list is built).
void Tokenize(std::string_view source, TokenSink& sink);

}  // namespace kest
