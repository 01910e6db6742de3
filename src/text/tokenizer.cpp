#include "text/tokenizer.h"

#include <array>
#include <limits>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest {
namespace {

constexpr char kCr = '\r';

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view marker) {
  if (text.size() - at < marker.size()) return false;
  for (std::size_t i = 0; i < marker.size(); ++i) {
    char c = text[at + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != marker[i]) return false;
  }
  return true;
}

constexpr std::array<std::string_view, 3> kBlockOpen = {"<!--", "<SCRIPT", "<STYLE"};
constexpr std::array<std::string_view, 3> kBlockClose = {"-->", "</SCRIPT>", "</STYLE>"};

std::size_t MarkerAt(std::string_view text, std::size_t at, const std::array<std::string_view, 3>& markers) {
  for (std::string_view marker : markers)
    if (StartsWithNoCase(text, at, marker)) return marker.size();
  return 0;
}

inline std::size_t CharLengthAt(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && cp932::IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
}

// Bytes that need a look outside quotes and comments; every other single byte is appended as
// it is.
enum ByteClass : std::uint8_t { kPlain, kLead, kSignByte };
constexpr std::array<std::uint8_t, 256> kByteClass = [] {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c)
    if (cp932::IsLeadByte(static_cast<unsigned char>(c))) table[static_cast<std::size_t>(c)] = kLead;
  for (unsigned char c : {'<', '>', '\\', '\r', '\x14', '\t', '"', ' ', '-'}) table[c] = kSignByte;
  return table;
}();

// Tokens are handed on one step late: the token before "</PRE" or "</TEXTAREA" may still be
// dropped when the closing tag arrives.
class Tokenizer {
 public:
  Tokenizer(std::string_view source, TokenSink& sink) : source_(source), sink_(sink) {}

  void Run() {
    while (at_ < source_.size()) Step();
    Push(TokenKind::Text);
    if (has_pending_) sink_.Token(pending_);
  }

 private:
  void Append(char byte, std::size_t offset) {
    buffer_.text.push_back(byte);
    buffer_.offsets.push_back(static_cast<std::uint32_t>(offset));
  }
  void AppendSource(std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) Append(source_[at_ + i], at_ + i);
  }
  bool EndsWithBlank() const { return !buffer_.text.empty() && buffer_.text.back() == ' '; }

  // The buffer becomes the pending token (the one pending before is handed on); the buffers
  // swap, so their memory is reused.
  void Push(TokenKind kind) {
    if (buffer_.text.empty()) return;
    buffer_.kind = kind;
    if (kind == TokenKind::Tag) TagEffects();
    if (has_pending_) sink_.Token(pending_);
    std::swap(pending_, buffer_);
    has_pending_ = true;
    buffer_.text.clear();
    buffer_.offsets.clear();
  }

  // After "</PRE" or "</TEXTAREA": the line break that the preformatted block's last line end
  // produced, just before the closing tag, is dropped.
  void DropBreakBeforeClosingTag() {
    if (has_pending_ && pending_.kind == TokenKind::Tag && cp932::SameText(pending_.text, "<BR>"))
      has_pending_ = false;
  }

  void PushBreak(std::uint32_t offset) {
    buffer_.text = "<BR>";
    buffer_.offsets.assign(4, offset);
    buffer_.kind = TokenKind::Tag;
    if (has_pending_) sink_.Token(pending_);
    std::swap(pending_, buffer_);
    has_pending_ = true;
    buffer_.text.clear();
    buffer_.offsets.clear();
  }

  // What a tag just closed does to the states; the tag is still in the buffer.
  void TagEffects() {
    const std::string& tag = buffer_.text;
    bool skip_line_end = false;
    if (!text_area_ && StartsWithNoCase(tag, 0, "<PRE")) {
      preformatted_ = true;
      skip_line_end = true;
    } else if (!text_area_ && StartsWithNoCase(tag, 0, "</PRE")) {
      preformatted_ = false;
      DropBreakBeforeClosingTag();
    }
    if (!preformatted_ && StartsWithNoCase(tag, 0, "<TEXTAREA")) {
      text_area_ = true;
      skip_line_end = true;
    } else if (!preformatted_ && StartsWithNoCase(tag, 0, "</TEXTAREA")) {
      text_area_ = false;
      DropBreakBeforeClosingTag();
    }
    skip_line_end_ = skip_line_end;
  }

  // A run of plain characters outside quotes and comments, appended at once.
  void AppendPlainRun() {
    std::size_t end = at_;
    while (end < source_.size()) {
      const std::uint8_t kind = kByteClass[static_cast<unsigned char>(source_[end])];
      if (kind == kPlain) {
        ++end;
      } else if (kind == kLead) {
        end += end + 1 < source_.size() ? 2 : 1;
      } else {
        break;
      }
    }
    buffer_.text.append(source_.data() + at_, end - at_);
    const std::size_t first = buffer_.offsets.size();
    buffer_.offsets.resize(first + (end - at_));
    std::uint32_t* offsets = buffer_.offsets.data() + first;
    for (std::size_t i = at_; i < end; ++i) *offsets++ = static_cast<std::uint32_t>(i);
    at_ = end;
  }

  void Step() {
    const char c = source_[at_];
    if (!quoted_ && comment_depth_ == 0 && kByteClass[static_cast<unsigned char>(c)] != kSignByte) {
      AppendPlainRun();  // double-byte characters are text wherever they stand
      return;
    }
    const std::size_t length = CharLengthAt(source_, at_);
    if (length == 2) {
      AppendSource(2);
      at_ += 2;
      return;
    }
    if (quoted_) {
      if (c == '"') quoted_ = false;
      if (c != kCr && c != '\n' && c != '\t') Append(c, at_);
      ++at_;
      return;
    }
    if (c == '<') {
      if (const std::size_t marker = MarkerAt(source_, at_, kBlockOpen)) {
        if (comment_depth_ == 0) Push(TokenKind::Text);
        AppendSource(marker);
        ++comment_depth_;
        at_ += marker;
        return;
      }
    }
    if (c == '-' || c == '<') {
      if (const std::size_t marker = MarkerAt(source_, at_, kBlockClose)) {
        const bool was_inside = comment_depth_ > 0;
        if (comment_depth_ > 0) --comment_depth_;
        AppendSource(marker);
        at_ += marker;
        if (comment_depth_ == 0) Push(was_inside ? TokenKind::Block : TokenKind::Text);
        return;
      }
    }
    if (comment_depth_ > 0) {
      Append(c, at_);
      if (c == kCr) Append('\n', at_);
      ++at_;
      return;
    }
    ++at_;
    switch (c) {
      case '<':
        if (tag_depth_ == 0) Push(TokenKind::Text);
        Append(c, at_ - 1);
        ++tag_depth_;
        return;
      case '>':
        if (tag_depth_ == 0) break;
        if (--tag_depth_ > 0) return;  // a ">" of a nested "<" is dropped
        Append(c, at_ - 1);
        Push(TokenKind::Tag);
        if (skip_line_end_ && at_ < source_.size() && source_[at_] == kCr) ++at_;
        skip_line_end_ = false;
        return;
      case '\\':
        if (at_ < source_.size()) {
          const char next = source_[at_];
          if (next == '%' || next == '<' || next == '>' || next == '\\' || next == '{' || next == '}') {
            Append(next, at_);
            ++at_;
          }
          return;  // any other following character is read normally, the backslash dropped
        }
        break;  // a backslash as the last byte stays
      case kCr:
        if ((preformatted_ || text_area_) && tag_depth_ == 0) {
          Push(TokenKind::Text);
          if (preformatted_) PushBreak(static_cast<std::uint32_t>(at_ - 1));
        } else if (!buffer_.text.empty() && !EndsWithBlank()) {
          Append(' ', at_ - 1);
        }
        return;
      case '\x14':
        if (!(EndsWithBlank() && !preformatted_ && !text_area_)) Append(' ', at_ - 1);
        return;
      case '\t':
        if (preformatted_ || text_area_)
          for (int i = 0; i < 8; ++i) Append(' ', at_ - 1);
        return;
      case '"':
        quoted_ = true;
        break;
      case ' ':
        if (EndsWithBlank()) return;  // runs of blanks become one
        break;
      default:
        break;
    }
    Append(c, at_ - 1);
  }

  std::string_view source_;
  TokenSink& sink_;
  std::size_t at_ = 0;
  MarkupToken buffer_;
  MarkupToken pending_;
  bool has_pending_ = false;
  bool skip_line_end_ = false;
  std::size_t comment_depth_ = 0;
  std::size_t tag_depth_ = 0;
  bool quoted_ = false;
  bool preformatted_ = false;
  bool text_area_ = false;
};

}  // namespace

std::string JoinMarkupLines(const std::vector<std::string>& lines) {
  std::size_t total = lines.empty() ? 0 : lines.size() - 1;
  for (const std::string& line : lines) total += line.size();
  std::string joined;
  joined.reserve(total);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined.push_back(kCr);
    joined += lines[i];
  }
  return joined;
}

void Tokenize(std::string_view source, TokenSink& sink) {
  if (source.size() >= std::numeric_limits<std::uint32_t>::max())
    throw KestError("message text of " + std::to_string(source.size()) + " bytes is too long");
  Tokenizer(source, sink).Run();
}

std::vector<MarkupToken> Tokenize(std::string_view source) {
  struct Collector : TokenSink {
    std::vector<MarkupToken> tokens;
    void Token(const MarkupToken& token) override { tokens.push_back(token); }
  } collector;
  Tokenize(source, collector);
  return std::move(collector.tokens);
}

}  // namespace kest
