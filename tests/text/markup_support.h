#pragma once
// Helpers for the markup tests: CP932 from UTF-8 literals, and a word's elements written out as
// one line (characters as themselves, other elements in braces) so that a table of sources and
// expected lines shows what each source became.

#include <string>
#include <string_view>
#include <variant>

#include "core/cp932.h"
#include "text/vx_word.h"

namespace kest {

inline std::string Sjis(std::string_view utf8) { return cp932::FromUtf8(utf8); }

inline std::string CodeBytes(std::uint16_t code) {
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFF));
  return bytes;
}

// Characters in UTF-8 (a byte with no character form as \xNN), other elements as {BR},
// {BR CLEAR}, {ALIGN n}, {INDENT}, {UNDENT}, {EVENT value}, {EVENT value END}, {VAR text},
// {IMG file n}.
inline std::string Describe(const TVxWord& word) {
  std::string line;
  for (const TWdElement& element : word.Elements()) {
    if (const auto* c = std::get_if<TWdChar>(&element)) {
      line += cp932::ToUtf8Lenient(CodeBytes(c->code));
    } else if (const auto* r = std::get_if<TWdOpeReturn>(&element)) {
      line += r->page_break ? "{BR CLEAR}" : "{BR}";
    } else if (const auto* a = std::get_if<TWdOpeAlign>(&element)) {
      line += "{ALIGN " + std::to_string(a->alignment) + "}";
    } else if (std::holds_alternative<TWdOpeIndent>(element)) {
      line += "{INDENT}";
    } else if (std::holds_alternative<TWdOpeUndent>(element)) {
      line += "{UNDENT}";
    } else if (const auto* e = std::get_if<std::unique_ptr<TWdOpeEvent>>(&element)) {
      line += "{EVENT " + cp932::ToUtf8Lenient((*e)->value) + ((*e)->end_event ? " END}" : "}");
    } else if (const auto* v = std::get_if<std::unique_ptr<TWdOpeVar>>(&element)) {
      line += "{VAR " + cp932::ToUtf8Lenient((*v)->expression) + "}";
    } else if (const auto* i = std::get_if<std::unique_ptr<TWdImg>>(&element)) {
      line += "{IMG " + cp932::ToUtf8Lenient((*i)->file_name) + " " + std::to_string((*i)->vertical_alignment) + "}";
    }
  }
  return line;
}

}  // namespace kest
