#pragma once
// Type and scope codes of script variables, as pages and saves store them (one byte each).

#include <cstdint>

namespace kest {

enum ParamTypeCode : std::uint8_t {
  PT_NONE = 0,   // a reference to another variable's element (TParamVar)
  PT_INT = 1,    // 32-bit signed integer, "整数"
  PT_FLOAT = 2,  // 80-bit extended real, "実数"
  PT_BOOL = 3,   // one byte holding 0 or 1, "フラグ"
  PT_STR = 4,    // CP932 byte string, "文字列"
};

// Scope of a declaration: global, freed when the declaring call level ends, visible only at the
// declaring call level, or kept across games in the status block.
enum class ParamScope : std::uint8_t { Global = 0, AutoDestroy = 1, Local = 2, Status = 3 };

}  // namespace kest
