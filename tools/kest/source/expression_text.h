#pragma once
// Expressions in title source. An expression is written as the player's own expression text
// ("x = (a + b) * c") and compiled by the player's compiler, or, when no text compiles to the
// stored operations exactly, as the operation list itself in braces:
//   {ocFunc "____0" fn:56 i:1; ocTo "____arg" v:"____0"}
// Operands are i:INTEGER, f:TWENTY_HEX_DIGITS (the 10 stored bytes), b:0|1, s:"TEXT", v:"NAME";
// fn:NUMBER gives a function call's function. "{}" is an expression with no operations.

#include <string>
#include <string_view>

#include "core/byte_reader.h"
#include "params/kest_parser.h"
#include "source/source_text.h"

namespace kest::source {

// The stored record of an expression value (CP932 text), compiled or taken from the braces.
Bytes CompileExpression(std::string_view text, const Place& place);

// The record of a stored expression, as a page holds it.
Bytes ExpressionRecord(const TKestParser& expression);

// The source form of a stored expression (CP932): expression text when some text compiles back
// to the very same record, otherwise the braces form.
std::string DecompileExpression(const TKestParser& expression);

// The record of the text "TRUE": what an omitted condition compiles to.
const Bytes& AlwaysTrueRecord();

}  // namespace kest::source
