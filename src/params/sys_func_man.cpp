#include "params/sys_func_man.h"

#include <cmath>

#include "core/errors.h"
#include "core/text_format.h"
#include "params/messages.h"
#include "params/param_var.h"

namespace kest {

namespace {

const FunctionHandlers& Handlers() {
  static const FunctionHandlers handlers = [] {
    FunctionHandlers table{};
    AddStringFunctions(table);
    AddNumberFunctions(table);
    AddVariableFunctions(table);
    AddObjectFunctions(table);
    return table;
  }();
  return handlers;
}

}  // namespace

TCustomParam& FunctionCall::Variable(std::size_t i) const {
  if (Has(i) && args[i]->IsReference() && static_cast<const TParamVar*>(args[i])->Target()) return *args[i];
  throw KestError(std::string(info.name) + Message(ParamsMessage::VariableNotFound));
}

TCustomParam& FunctionCall::Modifiable(std::size_t i) const {
  if (args[i]->IsReference()) return *args[i];
  scratch.push_back(args[i]->Clone());
  return *scratch.back();
}

void FunctionCall::ResultFloat(long double value) const {
  if (!std::isfinite(value)) throw KestError(Message(ParamsMessage::InvalidFloat));
  dest.SetFloat(value);
}

bool TSysFuncMan::IsAvailable(std::uint8_t number) { return number < kFunctionCount && Handlers()[number]; }

void TSysFuncMan::CallFunction(std::uint8_t number, TCustomParam& dest, std::span<TCustomParam* const> args,
                               TParamCollection& store) {
  if (number >= kFunctionCount) return;
  const FunctionInfo& info = kFunctions[number];
  const FunctionHandler handler = Handlers()[number];
  if (!handler) throw KestError(FillMessage(Message(ParamsMessage::NotAvailableYet), {info.name}));
  handler(FunctionCall{info, dest, args, store, *this, {}});
}

std::int32_t TSysFuncMan::Random(std::int32_t n) {
  random_seed_ = random_seed_ * 134775813u + 1u;
  const std::uint64_t product = static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * random_seed_;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

void TSysFuncMan::EnterCalc() {
  if (calc_depth_ >= kMaxCalcDepth)
    throw KestError(FillMessage(Message(ParamsMessage::CalcTooDeep), {std::to_string(kMaxCalcDepth)}));
  ++calc_depth_;
}

}  // namespace kest
