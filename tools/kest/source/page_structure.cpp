#include "source/page_structure.h"

#include <algorithm>

namespace kest::source {

namespace {

bool IsType(const TCommand& command, std::string_view name) { return command.Spec().name == name; }

std::int32_t LoopExit(const TPage& page, std::size_t loop) {
  const std::int32_t indent = page.Commands[loop]->Indent;
  for (std::size_t i = loop + 1; i < page.Commands.size(); ++i)
    if (page.Commands[i]->Indent <= indent) return static_cast<std::int32_t>(i);
  return static_cast<std::int32_t>(page.Commands.size());
}

std::int32_t EnclosingWhile(const TPage& page, std::size_t index) {
  const std::int32_t indent = page.Commands[index]->Indent;
  for (std::size_t i = index; i-- > 0;) {
    const TCommand& command = *page.Commands[i];
    if (IsType(command, "While") && command.Indent < indent && LoopExit(page, i) > static_cast<std::int32_t>(index))
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace

std::int32_t ImpliedIndex(const TPage& page, std::size_t index, FieldRole role) {
  switch (role) {
    case FieldRole::LoopExit: return LoopExit(page, index);
    case FieldRole::LoopStart: return EnclosingWhile(page, index);
    case FieldRole::BreakTarget: {
      const std::int32_t loop = EnclosingWhile(page, index);
      return loop < 0 ? -1 : LoopExit(page, static_cast<std::size_t>(loop));
    }
    case FieldRole::ContinueTarget: {
      const std::int32_t loop = EnclosingWhile(page, index);
      if (loop < 0) return -1;
      const std::int32_t end = LoopExit(page, static_cast<std::size_t>(loop));
      std::int32_t step = loop;
      for (std::int32_t i = loop + 1; i < end; ++i)
        if (IsType(*page.Commands[static_cast<std::size_t>(i)], "WhileLoop") &&
            EnclosingWhile(page, static_cast<std::size_t>(i)) == loop)
          step = i;
      return step;
    }
    default: return 0;
  }
}

}  // namespace kest::source
