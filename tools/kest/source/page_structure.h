#pragma once
// The command indices that block structure implies, computed the same way when a page is
// compiled (to fill them in) and when it is decompiled (to leave them out where they agree).

#include <cstdint>

#include "scenario/command_types.h"
#include "scenario/page.h"

namespace kest::source {

// The index the compiler stores for a LoopExit, LoopStart, BreakTarget or ContinueTarget field
// of the command at `index`:
// - While: the first later command not indented deeper (the end of the page when none);
// - WhileLoop: its enclosing While, or -1 outside a loop (which the compiler refuses: such a
//   WhileLoop would jump to the top of the page);
// - Break: the enclosing While's exit, or -1 (end the page) outside a loop;
// - Continue: the enclosing loop's WhileLoop (the While itself when it has none), or -1.
// The enclosing While is the nearest earlier While indented less than the command.
std::int32_t ImpliedIndex(const TPage& page, std::size_t index, FieldRole role);

}  // namespace kest::source
