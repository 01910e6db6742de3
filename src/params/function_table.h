#pragma once
// The 142 built-in functions as one table: number (the byte compiled expressions store), name
// (matched case-sensitively by the compiler), the range of argument counts (maximum -1: no
// limit) and the result type, which is the type of the temporary that receives the result.
// GetProp's result has the type of the property asked for, so its entry says PT_NONE.

#include <array>
#include <cstdint>
#include <string_view>

#include "params/param_types.h"

namespace kest {

// The subsystem a function belongs to; the families that need only values are built here, the
// others arrive with their subsystems.
enum class FunctionFamily : std::uint8_t {
  Strings, FileNames, Numbers, Variables,  // built in the expression library
  Dates, Objects, Saves, Files, Tables, System,  // not available yet
};

struct FunctionInfo {
  std::uint8_t number;
  std::string_view name;
  std::int8_t min_args;
  std::int8_t max_args;
  ParamTypeCode result;
  FunctionFamily family;
};

inline constexpr std::size_t kFunctionCount = 142;

extern const std::array<FunctionInfo, kFunctionCount> kFunctions;

// The entry with that exact name, or none.
const FunctionInfo* FindFunction(std::string_view name);

// Function numbers the code refers to by name.
enum FunctionNumber : std::uint8_t { FN_GETPROP = 2, FN_SETPROP = 3, FN_CALC = 136 };

}  // namespace kest
