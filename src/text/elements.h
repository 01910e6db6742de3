#pragma once
// The layout elements that message markup becomes: one per character, plus images, line
// breaks, alignment and indent changes, events and expression fields. Each keeps the byte
// offset in the joined source it came from, for messages and tools. Characters are the bulk of
// a page and are stored by value; the rarer elements with texts of their own are held by
// pointer, so an element costs a few dozen bytes.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "text/decorate.h"

namespace kest {

// The stored kind codes of the elements.
enum class WdKind : std::uint8_t {
  Char = 1, Align = 2, Return = 3, Indent = 4, Undent = 5, Event = 6, Var = 7, VarChar = 8, Img = 9,
};

// Vertical alignment of an image; text alignment of a row.
inline constexpr std::uint8_t kAlignLeft = 1;
inline constexpr std::uint8_t kAlignRight = 2;
inline constexpr std::uint8_t kAlignCenter = 3;
inline constexpr std::uint8_t kAlignTop = 4;
inline constexpr std::uint8_t kAlignBottom = 5;

// Link texts are kept once per word (TVxWord::Link); an element holds its link's number, 0 for
// none.
using LinkIndex = std::uint32_t;

struct TWdChar {
  std::uint32_t source_offset = 0;
  TDecorateList::Index decoration = 0;
  LinkIndex link = 0;
  std::int32_t wait = 0;  // per-character delay in milliseconds
  std::uint16_t code = 0;  // lead * 256 + trail, or the single byte
};

struct TWdOpeReturn {
  std::uint32_t source_offset = 0;
  bool page_break = false;
};

struct TWdOpeAlign {
  std::uint32_t source_offset = 0;
  std::uint8_t alignment = kAlignLeft;
};

struct TWdOpeIndent {
  std::uint32_t source_offset = 0;
};

struct TWdOpeUndent {
  std::uint32_t source_offset = 0;
};

struct TWdOpeEvent {
  std::uint32_t source_offset = 0;
  std::string value;
  bool end_event = false;
};

// An expression whose value is shown in place; it carries the look of the characters it will
// produce.
struct TWdOpeVar {
  std::uint32_t source_offset = 0;
  std::string expression;
  TDecorateList::Index decoration = 0;
  LinkIndex link = 0;
  std::int32_t wait = 0;
};

struct TWdImg {
  std::uint32_t source_offset = 0;
  std::string file_name;
  std::uint8_t vertical_alignment = kAlignBottom;  // kAlignCenter, kAlignTop or kAlignBottom
  LinkIndex link = 0;
  std::int32_t wait = 0;
};

using TWdElement = std::variant<TWdChar, TWdOpeReturn, TWdOpeAlign, TWdOpeIndent, TWdOpeUndent,
                                std::unique_ptr<TWdOpeEvent>, std::unique_ptr<TWdOpeVar>, std::unique_ptr<TWdImg>>;

WdKind KindOf(const TWdElement& element);
std::uint32_t SourceOffsetOf(const TWdElement& element);

}  // namespace kest
