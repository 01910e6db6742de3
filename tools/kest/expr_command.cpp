// kest expr: compiles an expression as the player stores it in pages, and shows the operations
// and the stored record; with --run, runs it over an empty variable store and prints its value;
// with --functions, lists the built-in function table.

#include <cstdio>
#include <iostream>
#include <span>
#include <string>

#include "command.h"
#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "params/build_parser.h"
#include "params/conversions.h"
#include "params/function_table.h"
#include "params/kest_parser.h"
#include "params/param_collection.h"
#include "params/param_var.h"
#include "params/sys_func_man.h"

namespace kest::tool {
namespace {

constexpr std::string_view kTypeNames[] = {"prop", "int", "float", "bool", "str"};

std::string Utf8(std::string_view cp932_text) { return cp932::ToUtf8Lenient(cp932_text); }

// The expression's record; an error names the text it was found in.
Bytes Compile(const std::string& utf8_text) {
  try {
    TBuildKestParser builder;
    builder.Parse(cp932::FromUtf8(utf8_text));
    ByteWriter out;
    builder.SaveToStream(out);
    return out.Take();
  } catch (const KestError& error) {
    throw KestError(cp932::FromUtf8Lenient("\"" + utf8_text + "\": ") + error.what());
  }
}

std::string DescribeOperand(const TCustomParam& operand) {
  if (const auto* variable = dynamic_cast<const TParamVar*>(&operand)) return "var " + Utf8(variable->RefName());
  switch (operand.ParamType()) {
    case PT_INT: return "int " + operand.AsStr();
    case PT_FLOAT: return "float " + operand.AsStr();
    case PT_BOOL: return "bool " + operand.AsStr();
    default: return "str \"" + Utf8(operand.AsStr()) + "\"";
  }
}

void PrintOperations(const TKestParser& parser) {
  for (std::size_t i = 0; i < parser.Count(); ++i) {
    const TOpeData& op = parser[i];
    std::string line = std::to_string(i) + "  ";
    line += op.op_code <= kLastOpCode ? std::string(kOpCodeNames[op.op_code]) : "op" + std::to_string(op.op_code);
    line += "  " + Utf8(op.dest) + " :=";
    if (op.op_code == ocFunc) line += " " + std::string(kFunctions[op.func_index].name) + "#" + std::to_string(op.func_index);
    for (std::size_t k = 0; k < op.operands.size(); ++k) line += (k ? ", " : " ") + DescribeOperand(*op.operands[k]);
    std::cout << line << "\n";
  }
}

void PrintHex(const Bytes& bytes) {
  std::cout << "record (" << bytes.size() << " bytes):\n";
  for (std::size_t i = 0; i < bytes.size(); i += 16) {
    char line[80];
    int used = std::snprintf(line, sizeof line, "%06zx ", i);
    for (std::size_t k = i; k < i + 16 && k < bytes.size(); ++k)
      used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), " %02x", bytes[k]);
    std::cout << line << "\n";
  }
}

void PrintFunctions() {
  for (const FunctionInfo& function : kFunctions)
    std::cout << static_cast<int>(function.number) << " " << function.name << " " << static_cast<int>(function.min_args)
              << " " << static_cast<int>(function.max_args) << " " << kTypeNames[function.result] << "\n";
}

int RunExpr(std::span<const std::string> arguments) {
  if (arguments.size() == 1 && arguments[0] == "--functions") {
    PrintFunctions();
    return 0;
  }
  const bool run = arguments.size() == 2 && arguments[0] == "--run";
  if (!run && arguments.size() != 1) {
    std::cerr << "usage: kest expr [--run] TEXT | kest expr --functions\n";
    return 2;
  }
  const Bytes record = Compile(arguments.back());
  ByteReader in(record, "expression");
  TKestParser parser;
  parser.LoadFromStream(in);
  if (!run) {
    PrintOperations(parser);
    PrintHex(record);
    return 0;
  }
  TParamCollection store;
  TSysFuncMan functions;
  parser.Execute(store, functions);
  if (const TCustomParam* result = parser.Result()) std::cout << Utf8(result->AsStr()) << "\n";
  return 0;
}

}  // namespace

extern const Command kExprCommand{
    "expr",
    "compile an expression and list its operations and stored record, or run it (--run); "
    "--functions lists the built-in functions",
    "kest expr [--run] TEXT | kest expr --functions",
    RunExpr,
};

}  // namespace kest::tool
