#include "text/elements.h"

namespace kest {
namespace {

template <typename T>
const T& Deref(const T& element) { return element; }
template <typename T>
const T& Deref(const std::unique_ptr<T>& element) { return *element; }

WdKind KindOfElement(const TWdChar&) { return WdKind::Char; }
WdKind KindOfElement(const TWdOpeReturn&) { return WdKind::Return; }
WdKind KindOfElement(const TWdOpeAlign&) { return WdKind::Align; }
WdKind KindOfElement(const TWdOpeIndent&) { return WdKind::Indent; }
WdKind KindOfElement(const TWdOpeUndent&) { return WdKind::Undent; }
WdKind KindOfElement(const TWdOpeEvent&) { return WdKind::Event; }
WdKind KindOfElement(const TWdOpeVar&) { return WdKind::Var; }
WdKind KindOfElement(const TWdImg&) { return WdKind::Img; }

}  // namespace

WdKind KindOf(const TWdElement& element) {
  return std::visit([](const auto& held) { return KindOfElement(Deref(held)); }, element);
}

std::uint32_t SourceOffsetOf(const TWdElement& element) {
  return std::visit([](const auto& held) { return Deref(held).source_offset; }, element);
}

}  // namespace kest
