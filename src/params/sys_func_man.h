#pragma once
// TSysFuncMan: runs the built-in functions by number for compiled expressions. The functions
// that need only values (strings, file names, numbers, variables and arrays, Calc) are built;
// the others raise "<name>: not available yet" until the subsystem they serve exists. GetProp
// and SetProp work once the display objects are connected (SetObjects).

#include <cstdint>
#include <span>
#include <memory>
#include <string>
#include <vector>

#include "params/custom_param.h"
#include "params/function_table.h"

namespace kest {

class TObjectProperties;
class TParamCollection;
class TSysFuncMan;

// Deepest nesting of Calc inside Calc; deeper calls fail with a clear error instead of
// exhausting the stack.
inline constexpr int kMaxCalcDepth = 16;

// One call: the function's entry, its destination (the temporary of the result type) and its
// operands, literals or references already tied to their variables.
struct FunctionCall {
  const FunctionInfo& info;
  TCustomParam& dest;
  std::span<TCustomParam* const> args;
  TParamCollection& store;
  TSysFuncMan& functions;

  bool Has(std::size_t i) const { return i < args.size(); }
  TCustomParam& Arg(std::size_t i) const { return *args[i]; }
  std::int32_t Int(std::size_t i) const { return args[i]->AsInt(); }
  long double Float(std::size_t i) const { return args[i]->AsFloat(); }
  bool Bool(std::size_t i) const { return args[i]->AsBool(); }
  std::string Str(std::size_t i) const { return args[i]->AsStr(); }
  // An operand that must name an existing variable; otherwise "<name>:変数が見つかりません".
  TCustomParam& Variable(std::size_t i) const;
  // An operand the function changes: the variable it names, or, for a literal, a scratch copy,
  // so that no call ever changes the compiled expression's own literals.
  TCustomParam& Modifiable(std::size_t i) const;

  mutable std::vector<std::unique_ptr<TCustomParam>> scratch;

  void ResultInt(std::int32_t value) const { dest.SetInt(value); }
  void ResultBool(bool value) const { dest.SetBool(value); }
  void ResultStr(const std::string& value) const { dest.SetStr(value); }
  // A result that is not a finite real raises "浮動小数点演算が不正です".
  void ResultFloat(long double value) const;
};

using FunctionHandler = void (*)(const FunctionCall& call);

// The handlers by function number; families fill in theirs (sys_funcs_*.cpp).
using FunctionHandlers = std::array<FunctionHandler, kFunctionCount>;
void AddStringFunctions(FunctionHandlers& handlers);
void AddNumberFunctions(FunctionHandlers& handlers);
void AddVariableFunctions(FunctionHandlers& handlers);
void AddObjectFunctions(FunctionHandlers& handlers);

class TSysFuncMan {
 public:
  // Runs function `number` (below kFunctionCount; others do nothing).
  void CallFunction(std::uint8_t number, TCustomParam& dest, std::span<TCustomParam* const> args,
                    TParamCollection& store);

  // Whether the function is built (the rest raise "not available yet"); GetProp and SetProp
  // still raise it while no objects are connected.
  static bool IsAvailable(std::uint8_t number);

  // Random: one 32-bit seed; each call replaces it by seed * 134775813 + 1 and answers the
  // upper 32 bits of n * seed, both taken as unsigned.
  void SetRandomSeed(std::uint32_t seed) { random_seed_ = seed; }
  std::uint32_t RandomSeed() const { return random_seed_; }
  std::int32_t Random(std::int32_t n);

  // Calc's nesting, kept while an inner expression runs.
  int CalcDepth() const { return calc_depth_; }
  void EnterCalc();
  void LeaveCalc() { --calc_depth_; }

  // The display objects that GetProp and SetProp reach; none until the scene connects them.
  TObjectProperties* Objects() const { return objects_; }
  void SetObjects(TObjectProperties* objects) { objects_ = objects; }

 private:
  TObjectProperties* objects_ = nullptr;
  std::uint32_t random_seed_ = 0;
  int calc_depth_ = 0;
};

}  // namespace kest
