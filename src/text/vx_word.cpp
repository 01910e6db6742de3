#include "text/vx_word.h"

#include <algorithm>
#include <cstring>

#include "core/cp932.h"
#include "text/messages.h"
#include "text/tag.h"
#include "text/tag_val_list.h"
#include "text/tokenizer.h"

namespace kest {
namespace {

// HREF and EVENT values: backslash-quote, backslash-backslash and backslash-n (a carriage
// return and a line feed) resolved, stepping over double-byte characters whose trail byte is
// 0x5C.
std::string ResolveEscapes(std::string_view value) {
  std::string resolved;
  resolved.reserve(value.size());
  for (std::size_t at = 0; at < value.size();) {
    const std::size_t length = cp932::CharLength(value, at);
    if (length == 1 && value[at] == '\\' && at + 1 < value.size()) {
      const char next = value[at + 1];
      if (next == '"' || next == '\\') {
        resolved.push_back(next);
        at += 2;
        continue;
      }
      if (next == 'n') {
        resolved += "\r\n";
        at += 2;
        continue;
      }
    }
    resolved.append(value.substr(at, length));
    at += length;
  }
  return resolved;
}

// The longest prefix of whole characters that fits `limit` bytes.
std::string CutToCharacters(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t next = at + cp932::CharLength(text, at);
    if (next > limit) break;
    at = next;
  }
  text.resize(at);
  return text;
}

std::int32_t Clamp(std::int32_t value, std::int32_t low, std::int32_t high) { return std::clamp(value, low, high); }

// BORDER and SHADOW: present, the value (1 when unreadable or empty, a negative one 0, capped);
// absent, the current value.
std::int32_t Thickness(const TTag& tag, std::string_view name, std::int32_t current, std::int32_t cap) {
  if (!tag.Has(name)) return current;
  return Clamp(tag.IntValue(name).value_or(1), 0, cap);
}

// Tags that change how the characters after them look.
bool ChangesLook(TagKind kind) {
  switch (kind) {
    case TagKind::B: case TagKind::EndB: case TagKind::I: case TagKind::EndI: case TagKind::U:
    case TagKind::EndU: case TagKind::S: case TagKind::EndS: case TagKind::Font: case TagKind::EndFont:
    case TagKind::NoBr: case TagKind::EndNoBr: case TagKind::Ruby: case TagKind::EndRuby:
      return true;
    default:
      return false;
  }
}

class MarkupParser : public TokenSink {
 public:
  MarkupParser(std::vector<TWdElement>& elements, TDecorateList& decorations, std::vector<std::string>& links,
               std::int32_t text_delay)
      : elements_(elements), decorations_(decorations), links_(links), state_(text_delay) {}

  void Token(const MarkupToken& token) override {
    if (token.kind == TokenKind::Text) {
      Characters(token);
      return;
    }
    tag_.Parse(token.text, token.kind);
    const std::uint32_t offset = token.Offset();
    if (tag_.Kind() == TagKind::Text) {
      Characters(token);
      return;
    }
    if (ChangesLook(tag_.Kind())) look_valid_ = false;
    switch (tag_.Kind()) {
      case TagKind::A:
        if (!tag_.Has("HREF")) throw MarkupError(Message(TextMessage::LinkWithoutHref), offset);
        links_.push_back(ResolveEscapes(tag_.Value("HREF")));
        state_.link = static_cast<LinkIndex>(links_.size() - 1);
        break;
      case TagKind::EndA: state_.link = 0; break;
      case TagKind::B: state_.style |= kStyleBold; break;
      case TagKind::EndB: state_.style &= static_cast<std::uint8_t>(~kStyleBold); break;
      case TagKind::I: state_.style |= kStyleItalic; break;
      case TagKind::EndI: state_.style &= static_cast<std::uint8_t>(~kStyleItalic); break;
      case TagKind::U: state_.style |= kStyleUnderline; break;
      case TagKind::EndU: state_.style &= static_cast<std::uint8_t>(~kStyleUnderline); break;
      case TagKind::S: state_.style |= kStyleStrikeOut; break;
      case TagKind::EndS: state_.style &= static_cast<std::uint8_t>(~kStyleStrikeOut); break;
      case TagKind::Font: Font(); break;
      case TagKind::EndFont: EndFont(); break;
      case TagKind::NoBr: state_.no_break = 1; break;
      case TagKind::EndNoBr: state_.no_break = 0; break;
      case TagKind::Ruby: state_.ruby = CutToCharacters(tag_.Value("VALUE"), kMaxMarkupRuby); break;
      case TagKind::EndRuby: state_.ruby.clear(); break;
      case TagKind::Div: {
        const std::int32_t code = AlignmentCode(tag_.Value("ALIGN"));
        state_.alignment.Push(code >= kAlignLeft && code <= kAlignCenter ? static_cast<std::uint8_t>(code) : kAlignLeft);
        elements_.emplace_back(TWdOpeAlign{offset, state_.alignment.Top()});
        break;
      }
      case TagKind::EndDiv:
        state_.alignment.Pop();
        elements_.emplace_back(TWdOpeAlign{offset, state_.alignment.Top()});
        break;
      case TagKind::Indent: elements_.emplace_back(TWdOpeIndent{offset}); break;
      case TagKind::Undent: elements_.emplace_back(TWdOpeUndent{offset}); break;
      case TagKind::Br: elements_.emplace_back(TWdOpeReturn{offset, tag_.Has("CLEAR")}); break;
      case TagKind::Clear: elements_.emplace_back(TWdOpeReturn{offset, true}); break;
      case TagKind::Event:
        // An END attribute makes the event an end event, as one read from a stored glyph stream
        // is: the flag is set and the value is kept as written.
        elements_.emplace_back(std::make_unique<TWdOpeEvent>(
            TWdOpeEvent{offset, ResolveEscapes(tag_.Value("VALUE")), tag_.Has("END")}));
        break;
      case TagKind::Wait: state_.wait.Push(tag_.IntValue("VALUE").value_or(state_.wait.Top())); break;
      case TagKind::EndWait: state_.wait.Pop(); break;
      case TagKind::Var:
        if (tag_.Has("NAME"))
          elements_.emplace_back(std::make_unique<TWdOpeVar>(
              TWdOpeVar{offset, tag_.Value("NAME"), decorations_.Acquire(state_.CurrentLook()), state_.link,
                        state_.wait.Top()}));
        break;
      case TagKind::Img:
        if (tag_.Has("SRC")) {
          const std::int32_t code = AlignmentCode(tag_.Value("ALIGN"));
          const auto alignment = code >= kAlignCenter && code <= kAlignBottom ? static_cast<std::uint8_t>(code) : kAlignBottom;
          elements_.emplace_back(std::make_unique<TWdImg>(
              TWdImg{offset, tag_.Value("SRC"), alignment, state_.link, state_.wait.Top()}));
        }
        break;
      default:
        break;  // tags the markup does not know, comments and blocks change nothing
    }
  }

 private:
  void Font() {
    const std::optional<std::int32_t> size = tag_.IntValue("SIZE");
    state_.size.Push(size ? Clamp(*size, kMinMarkupSize, kMaxMarkupSize) : state_.size.Top());
    state_.color.Push(tag_.ColorValue("COLOR", state_.color.Top()));
    state_.border_color.Push(tag_.ColorValue("BCOLOR", state_.border_color.Top()));
    state_.shadow_color.Push(tag_.ColorValue("SCOLOR", state_.shadow_color.Top()));
    state_.font_name.Push(CutToCharacters(tag_.Value("NAME", state_.font_name.Top()), kMaxMarkupFaceName));
    state_.border.Push(Thickness(tag_, "BORDER", state_.border.Top(), kMaxMarkupBorder));
    state_.shadow.Push(Thickness(tag_, "SHADOW", state_.shadow.Top(), kMaxMarkupShadow));
  }

  void EndFont() {
    state_.size.Pop();
    state_.color.Pop();
    state_.border_color.Pop();
    state_.shadow_color.Pop();
    state_.font_name.Pop();
    state_.border.Pop();
    state_.shadow.Pop();
  }

  // Every character of a text run becomes a TWdChar with the current look; a lead byte with its
  // trail byte is one character.
  void Characters(const MarkupToken& token) {
    const std::string& text = token.text;
    // The look is looked up once after a tag changed it; the characters after share it.
    std::int32_t shared_uses = 0;
    if (!look_valid_) {
      look_ = decorations_.Acquire(state_.CurrentLook());
      look_valid_ = true;
      shared_uses = -1;
    }
    TWdChar character{0, look_, state_.link, state_.wait.Top(), 0};
    // Room for the run at once (at most one element per byte), growing geometrically, so a huge
    // run moves the list once instead of at every doubling.
    const std::size_t needed = elements_.size() + text.size();
    if (needed > elements_.capacity()) elements_.reserve(std::max(needed, 2 * elements_.capacity()));
    for (std::size_t at = 0; at < text.size();) {
      const auto lead = static_cast<unsigned char>(text[at]);
      character.source_offset = token.offsets[at];
      if (at + 1 < text.size() && cp932::IsLeadByte(lead)) {
        character.code = static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[at + 1]));
        at += 2;
      } else {
        character.code = lead;
        at += 1;
      }
      elements_.emplace_back(character);
      ++shared_uses;
    }
    if (shared_uses > 0) decorations_.AddRef(look_, shared_uses);
  }

  std::vector<TWdElement>& elements_;
  TDecorateList& decorations_;
  std::vector<std::string>& links_;
  TTagValList state_;
  TTag tag_;
  TDecorateList::Index look_ = 0;
  bool look_valid_ = false;
};

}  // namespace

TVxWord::TVxWord() : DefaultFont(Message(TextMessage::DefaultFontName)), links_{std::string()} {}

void TVxWord::Clear() {
  elements_.clear();
  decorations_.Clear();
  links_.assign(1, std::string());
  line_starts_.clear();
  DecorationBase = 0;
}

void TVxWord::ParseMarkup(const std::vector<std::string>& lines, std::int32_t text_delay) {
  ParseMarkupSource(JoinMarkupLines(lines), text_delay);
}

void TVxWord::ParseMarkupSource(std::string_view source, std::int32_t text_delay) {
  Clear();
  line_starts_.push_back(0);
  if (!source.empty())
    for (const char* at = source.data(), *end = at + source.size();
       (at = static_cast<const char*>(std::memchr(at, '\r', static_cast<std::size_t>(end - at)))) != nullptr; ++at)
    line_starts_.push_back(static_cast<std::uint32_t>(at - source.data() + 1));
  MarkupParser parser(elements_, decorations_, links_, text_delay);
  Tokenize(source, parser);
}

std::size_t TVxWord::SourceLine(std::uint32_t offset) const {
  if (line_starts_.empty()) return 1;
  return static_cast<std::size_t>(std::upper_bound(line_starts_.begin(), line_starts_.end(), offset) - line_starts_.begin());
}

}  // namespace kest
