#pragma once
// An expression text on its way to running, the way pages carry it: compiled, written as the
// stored record, and loaded back from that record. Going through the record, rather than handing
// the compiler's operations straight to the evaluator, means a text always runs exactly as the
// same text stored in a page would.

#include <memory>
#include <string>
#include <string_view>

#include "core/byte_reader.h"
#include "params/kest_parser.h"

namespace kest {

// The stored record of the text. Compile errors raise the compiler's KestError.
Bytes CompileExpressionRecord(std::string_view text);

// The text compiled, stored and loaded, ready to run. `source` names the record in a load
// error (which a record the compiler wrote never raises).
std::unique_ptr<TKestParser> CompileExpressionToRun(std::string_view text, std::string source = "expression");

}  // namespace kest
