#include "params/kest_parser.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "params/expression_plan.h"
#include "params/function_table.h"
#include "params/param_values.h"
#include "params/param_var.h"

namespace kest {

namespace {

// Op code, destination length and operand count.
constexpr std::size_t kMinOperationBytes = 1 + 4 + 4;
// A kind byte and the smallest payload (a flag byte).
constexpr std::size_t kMinOperandBytes = 2;

std::unique_ptr<TCustomParam> ReadOperand(ByteReader& in) {
  const std::uint8_t kind = in.U8();
  switch (kind) {
    case PT_INT: {
      auto value = std::make_unique<TParamInt>();
      value->SetInt(in.I32());
      return value;
    }
    case PT_FLOAT: {
      auto value = std::make_unique<TParamFloat>();
      value->SetFloat(in.Extended());
      return value;
    }
    case PT_BOOL: {
      auto value = std::make_unique<TParamFlag>();
      value->SetBool(in.U8() != 0);
      return value;
    }
    case PT_STR: {
      auto value = std::make_unique<TParamStr>();
      value->SetStr(in.LString());
      return value;
    }
    default:  // kind 0, and any other kind, names a variable
      return std::make_unique<TParamVar>(in.LString());
  }
}

void WriteOperand(ByteWriter& out, const TCustomParam& operand) {
  if (const auto* reference = dynamic_cast<const TParamVar*>(&operand)) {
    out.U8(PT_NONE);
    out.LString(reference->RefName());
    return;
  }
  const ParamTypeCode kind = operand.ParamType();
  out.U8(kind);
  switch (kind) {
    case PT_INT: out.I32(operand.AsInt()); break;
    case PT_FLOAT: out.Extended(operand.AsFloat()); break;
    case PT_BOOL: out.U8(operand.AsBool() ? 1 : 0); break;
    default: out.LString(operand.AsStr()); break;
  }
}

std::unique_ptr<TCustomParam> CopyOperand(const TCustomParam& operand) {
  if (const auto* reference = dynamic_cast<const TParamVar*>(&operand))
    return std::make_unique<TParamVar>(reference->RefName());
  return operand.Clone();
}

}  // namespace

TKestParser::TKestParser() : pool_(std::make_unique<Pool>()) {}
TKestParser::~TKestParser() = default;

void TKestParser::Clear() {
  ops_.clear();
  plan_.reset();
  pool_ = std::make_unique<Pool>();
  has_result_ = false;
}

void TKestParser::LoadFromStream(ByteReader& in) {
  Clear();
  const std::size_t count = in.Count(in.I32(), kMinOperationBytes, "expression operations");
  std::vector<TOpeData> ops(count);
  for (TOpeData& op : ops) {
    op.op_code = static_cast<OpCode>(in.U8());
    op.dest = in.LString();
    const std::size_t operands = in.Count(in.I32(), kMinOperandBytes, "expression operands");
    if (op.op_code == ocFunc) {
      op.func_index = in.U8();
      if (op.func_index >= kFunctionCount)
        in.Fail("function number " + std::to_string(op.func_index) + " is past the table of " +
                std::to_string(kFunctionCount));
      // The compiler checks argument counts; a stored call outside the range would make the
      // function read arguments that are not there.
      const FunctionInfo& function = kFunctions[op.func_index];
      const auto count = static_cast<std::int64_t>(operands);
      if (count < function.min_args || (function.max_args != -1 && count > function.max_args))
        in.Fail(std::string(function.name) + " called with " + std::to_string(count) + " arguments");
    }
    op.operands.reserve(operands);
    for (std::size_t k = 0; k < operands; ++k) op.operands.push_back(ReadOperand(in));
  }
  ops_ = std::move(ops);
}

void TKestParser::SaveToStream(ByteWriter& out) const {
  out.I32(static_cast<std::int32_t>(ops_.size()));
  for (const TOpeData& op : ops_) {
    out.U8(op.op_code);
    out.LString(op.dest);
    out.I32(static_cast<std::int32_t>(op.operands.size()));
    if (op.op_code == ocFunc) out.U8(op.func_index);
    for (const auto& operand : op.operands) WriteOperand(out, *operand);
  }
}

void TKestParser::Assign(const TKestParser& other) {
  Clear();
  ops_.reserve(other.ops_.size());
  for (const TOpeData& source : other.ops_) {
    TOpeData op{source.op_code, source.dest, source.func_index, {}};
    for (const auto& operand : source.operands) op.operands.push_back(CopyOperand(*operand));
    ops_.push_back(std::move(op));
  }
}

void TKestParser::BuildPlan() {
  plan_ = std::make_unique<Plan>();
  std::unordered_map<std::string, int> slots;
  const auto slot_of = [&](const std::string& name) {
    if (!IsTempName(name)) return -1;
    const auto [it, added] = slots.emplace(name, static_cast<int>(plan_->temp_names.size()));
    if (added) plan_->temp_names.push_back(name);
    return it->second;
  };
  for (const TOpeData& op : ops_) {
    OperationPlan operation;
    for (const auto& operand : op.operands) {
      const auto* reference = dynamic_cast<const TParamVar*>(operand.get());
      operation.operands.push_back({operand.get(), reference != nullptr, reference ? slot_of(reference->RefName()) : -1, {}});
    }
    operation.dest_slot = slot_of(op.dest);
    plan_->operations.push_back(std::move(operation));
  }
  const auto result = slots.find(std::string(kResultTemp));
  plan_->result_slot = result == slots.end() ? -1 : result->second;
}

}  // namespace kest
