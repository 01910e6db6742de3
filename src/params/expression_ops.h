#pragma once
// Operator codes of compiled expressions (one byte in page files) and the reserved names of the
// compiler's temporaries.

#include <array>
#include <cstdint>
#include <string_view>

namespace kest {

enum OpCode : std::uint8_t {
  ocNone = 0,
  ocTo = 1,        // "="  destination := op0
  ocPlus = 2,      // "+"
  ocMinus = 3,     // "-"
  ocMul = 4,       // "*"
  ocDiv = 5,       // "/"
  ocMod = 6,       // "%"
  ocOr = 7,        // "|"  bitwise
  ocAnd = 8,       // "&"  bitwise
  ocXor = 9,       // "^"  bitwise
  ocDimTo = 10,    // (index) destination refers to element [op1, ...] of op0
  ocFunc = 11,     // (call) built-in function
  ocEqual = 12,    // "=="
  ocBig = 13,      // ">"
  ocSmall = 14,    // "<"
  ocEBig = 15,     // ">="
  ocESmall = 16,   // "<="
  ocShiftL = 17,   // "<<"
  ocShiftR = 18,   // ">>" logical
  ocComboStr = 19, // "++" concatenation
  ocNEqual = 20,   // "<>"
};
inline constexpr std::uint8_t kLastOpCode = ocNEqual;

// Names used by `kest expr` and in messages, by code.
inline constexpr std::array<std::string_view, kLastOpCode + 1> kOpCodeNames = {
    "ocNone", "ocTo", "ocPlus", "ocMinus", "ocMul", "ocDiv", "ocMod", "ocOr", "ocAnd", "ocXor", "ocDimTo",
    "ocFunc", "ocEqual", "ocBig", "ocSmall", "ocEBig", "ocESmall", "ocShiftL", "ocShiftR", "ocComboStr", "ocNEqual",
};

// Infix operators with their codes and precedence levels (1 binds tightest).
struct InfixOperator {
  std::string_view symbol;
  OpCode code;
  int level;
};
inline constexpr std::array<InfixOperator, 18> kInfixOperators = {{
    {"*", ocMul, 1},     {"/", ocDiv, 1},      {"%", ocMod, 1},     {"+", ocPlus, 2},    {"-", ocMinus, 2},
    {"<<", ocShiftL, 3}, {">>", ocShiftR, 3},  {"==", ocEqual, 4},  {">=", ocEBig, 4},   {"<=", ocESmall, 4},
    {">", ocBig, 4},     {"<", ocSmall, 4},    {"<>", ocNEqual, 4}, {"++", ocComboStr, 5}, {"&", ocAnd, 6},
    {"^", ocXor, 7},     {"|", ocOr, 8},       {"=", ocTo, 9},
}};

// Temporaries: "____N" for values, "____d_N" for element references, "____arg" for the value of
// the whole expression.
inline constexpr std::string_view kTempPrefix = "____";
inline constexpr std::string_view kRefTempPrefix = "____d_";
inline constexpr std::string_view kResultTemp = "____arg";

inline bool IsTempName(std::string_view name) { return name.starts_with(kTempPrefix); }

}  // namespace kest
