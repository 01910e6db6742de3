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

void SkipOperand(ByteReader& in) {
  switch (in.U8()) {
    case PT_INT: in.Skip(4); break;
    case PT_FLOAT: in.Skip(10); break;
    case PT_BOOL: in.Skip(1); break;
    default: {  // a string literal or a variable name
      const std::int32_t length = in.I32();
      if (length > 0) in.Skip(static_cast<std::size_t>(length));
    }
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

// The pool of temporaries is made on the first run: most parsers of a loaded page never run
// more than a few times, and many never do.
TKestParser::TKestParser() = default;
TKestParser::~TKestParser() = default;

void TKestParser::Clear() {
  record_.clear();
  ops_.clear();
  materialized_ = true;
  plan_.reset();
  pool_.reset();
  has_result_ = false;
}

// Walks one stored record, checking every count and function number. With `ops` it builds the
// operations; without, it only checks and skips, allocating nothing.
void TKestParser::ReadOperations(ByteReader& in, std::vector<TOpeData>* ops) {
  const std::size_t count = in.Count(in.I32(), kMinOperationBytes, "expression operations");
  if (ops) ops->resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    TOpeData scratch;
    TOpeData& op = ops ? (*ops)[i] : scratch;
    op.op_code = static_cast<OpCode>(in.U8());
    if (ops) {
      op.dest = in.LString();
    } else {
      const std::int32_t length = in.I32();
      if (length > 0) in.Skip(static_cast<std::size_t>(length));
    }
    const std::size_t operands = in.Count(in.I32(), kMinOperandBytes, "expression operands");
    if (op.op_code == ocFunc) {
      op.func_index = in.U8();
      if (op.func_index >= kFunctionCount)
        in.Fail("function number " + std::to_string(op.func_index) + " is past the table of " +
                std::to_string(kFunctionCount));
      // The compiler checks argument counts; a stored call outside the range would make the
      // function read arguments that are not there.
      const FunctionInfo& function = kFunctions[op.func_index];
      const auto arguments = static_cast<std::int64_t>(operands);
      if (arguments < function.min_args || (function.max_args != -1 && arguments > function.max_args))
        in.Fail(std::string(function.name) + " called with " + std::to_string(arguments) + " arguments");
    }
    if (!ops) {
      for (std::size_t k = 0; k < operands; ++k) SkipOperand(in);
      continue;
    }
    op.operands.reserve(operands);
    for (std::size_t k = 0; k < operands; ++k) op.operands.push_back(ReadOperand(in));
  }
}

// Pages hold thousands of expressions and run few of them at a time, so loading only checks a
// record and keeps its bytes; the operations are built when the expression is first used.
void TKestParser::LoadFromStream(ByteReader& in) {
  Clear();
  const std::size_t start = in.Position();
  ReadOperations(in, nullptr);
  const std::size_t end = in.Position();
  in.Seek(start);
  const ByteSpan record = in.Take(end - start);
  record_.assign(record.begin(), record.end());
  materialized_ = false;
}

const std::vector<TOpeData>& TKestParser::Ops() const {
  if (!materialized_) {
    ByteReader in(record_, "expression");
    ReadOperations(in, &ops_);
    materialized_ = true;
  }
  return ops_;
}

void TKestParser::SaveToStream(ByteWriter& out) const {
  if (!materialized_) {
    out.Raw(record_);
    return;
  }
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
  const std::vector<TOpeData>& source_ops = other.Ops();
  ops_.reserve(source_ops.size());
  for (const TOpeData& source : source_ops) {
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
  for (const TOpeData& op : Ops()) {
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
