// Running a compiled expression: operands are found (temporaries in the parser's pool, other
// variables in the store), the destination is found or made, and the operation is evaluated.

#include <cmath>

#include "core/arith.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/expression_plan.h"
#include "params/messages.h"
#include "params/param_var.h"
#include "params/property_types.h"
#include "params/sys_func_man.h"

namespace kest {

namespace expression_detail {

// An operand found for one operation: the variable (or literal) and, when the variable is itself
// a reference, the element it stands for.
struct Bound {
  TCustomParam* value = nullptr;
  std::int32_t element = 0;
  bool element_ref = false;
  const AnchorPtr* anchor = nullptr;

  std::int32_t Int() const { return element_ref ? value->GetIntAt(element) : value->AsInt(); }
  long double Float() const { return element_ref ? value->GetFloatAt(element) : value->AsFloat(); }
  bool Bool() const { return element_ref ? value->GetBoolAt(element) : value->AsBool(); }
  std::string Str() const { return element_ref ? value->GetStrAt(element) : value->AsStr(); }
  ParamTypeCode Type() const { return value->ParamType(); }
};

}  // namespace expression_detail

using expression_detail::Bound;

namespace {

[[noreturn]] void MissingVariable(const std::string& name) {
  throw KestError(FillMessage(Message(ParamsMessage::NoSuchVariable), {name}));
}

[[noreturn]] void BadOperation(const TOpeData& op) {
  const std::string what = (op.op_code <= kLastOpCode ? std::string(kOpCodeNames[op.op_code])
                                                       : "op " + std::to_string(op.op_code)) +
                           " " + op.dest;
  throw KestError(FillMessage(Message(ParamsMessage::BadExpression), {what}));
}

long double CheckedReal(long double value) {
  if (!std::isfinite(value)) throw KestError(Message(ParamsMessage::InvalidFloat));
  return value;
}

template <typename T>
int Compare(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool Compared(OpCode code, int order, bool unordered) {
  if (unordered) return code == ocNEqual;  // a NaN equals nothing
  switch (code) {
    case ocEqual: return order == 0;
    case ocBig: return order > 0;
    case ocSmall: return order < 0;
    case ocEBig: return order >= 0;
    case ocESmall: return order <= 0;
    default: return order != 0;
  }
}

// Restores a flag when a run ends, also when it ends by an exception.
struct FlagScope {
  FlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = saved_; }
  bool& flag_;
  bool saved_;
};

}  // namespace

namespace {

class Run {
 public:
  Run(const std::vector<TOpeData>& ops, TKestParser::Plan& plan, std::vector<TempSlot>& slots,
      std::vector<Bound>& bounds, std::vector<TCustomParam*>& args, TParamCollection& store, TSysFuncMan& functions)
      : ops_(ops), plan_(plan), slots_(slots), bounds_(bounds), args_(args), store_(store), functions_(functions) {}

  void Operation(std::size_t index) {
    const TOpeData& op = ops_[index];
    OperationPlan& plan = plan_.operations[index];
    bounds_.resize(plan.operands.size());
    for (std::size_t k = 0; k < plan.operands.size(); ++k) bounds_[k] = Resolve(plan.operands[k]);

    TCustomParam* dest;
    if (plan.dest_slot >= 0 && slots_[static_cast<std::size_t>(plan.dest_slot)].live) {
      dest = slots_[static_cast<std::size_t>(plan.dest_slot)].value.get();
    } else if (TParamCollectionItem* item = plan.dest_cache.Find(store_, op.dest)) {
      dest = &item->Value();  // an existing variable of that name is the destination
    } else if (plan.dest_slot >= 0) {
      dest = &MakeDestination(op, plan.dest_slot);
    } else {
      MissingVariable(op.dest);
    }
    Evaluate(op, plan, *dest);
  }

 private:
  Bound Resolve(OperandPlan& operand) {
    if (!operand.is_variable) return {operand.value};
    TCustomParam* found;
    const AnchorPtr* anchor;
    if (operand.slot >= 0 && slots_[static_cast<std::size_t>(operand.slot)].live) {
      TempSlot& slot = slots_[static_cast<std::size_t>(operand.slot)];
      found = slot.value.get();
      anchor = &slot.anchor;
    } else {
      const std::string& name = static_cast<const TParamVar*>(operand.value)->RefName();
      TParamCollectionItem* item = operand.cache.Find(store_, name);
      if (!item) MissingVariable(name);
      found = &item->Value();
      anchor = &item->Anchor();
    }
    // A variable that is itself a reference stands for the element it refers to.
    if (found->IsReference()) return {found, static_cast<const TParamVar*>(found)->ElementIndex(), true, anchor};
    return {found, 0, false, anchor};
  }

  const Bound& Need(const TOpeData& op, std::size_t k) const {
    if (k >= bounds_.size()) BadOperation(op);
    return bounds_[k];
  }

  ParamTypeCode TempType(const TOpeData& op) const {
    switch (op.op_code) {
      case ocTo: return Need(op, 0).Type();
      case ocPlus: {
        const ParamTypeCode first = Need(op, 0).Type();
        return first == PT_STR ? PT_STR : (first == PT_FLOAT ? PT_FLOAT : PT_INT);
      }
      case ocMinus:
      case ocMul:
      case ocDiv: return Need(op, 0).Type() == PT_FLOAT ? PT_FLOAT : PT_INT;
      case ocMod:
      case ocOr:
      case ocAnd:
      case ocXor:
      case ocShiftL:
      case ocShiftR: return PT_INT;
      case ocEqual:
      case ocBig:
      case ocSmall:
      case ocEBig:
      case ocESmall:
      case ocNEqual: return PT_BOOL;
      case ocComboStr: return PT_STR;
      case ocFunc: {
        if (op.func_index != FN_GETPROP) return kFunctions[op.func_index].result;
        // GetProp's result has the type of the property asked for (low byte of the id).
        const auto id = static_cast<std::uint32_t>(Need(op, 1).Int()) & 0xFF;
        if (id >= kPropertyCount) throw KestError(Message(ParamsMessage::GetPropArgument));
        return PropertyParamType(static_cast<std::uint8_t>(id));
      }
      default: BadOperation(op);
    }
  }

  TempSlot& Slot(int slot) { return slots_[static_cast<std::size_t>(slot)]; }

  // A temporary of the type, reusing the pooled value when it is of the same class.
  TCustomParam& MakeTemp(int slot_index, ParamTypeCode type) {
    TempSlot& slot = Slot(slot_index);
    const bool reusable = slot.value && (type == PT_NONE ? slot.value->IsReference()
                                                         : !slot.value->IsReference() && slot.value->ParamType() == type);
    if (!reusable) {
      slot.value = CreateParam(type);
      slot.anchor->value = slot.value.get();
    } else {
      switch (type) {
        case PT_INT: slot.value->SetInt(0); break;
        case PT_FLOAT: slot.value->SetFloat(0); break;
        case PT_BOOL: slot.value->SetBool(false); break;
        case PT_STR: slot.value->SetStr(std::string()); break;
        default: {
          auto& reference = static_cast<TParamVar&>(*slot.value);
          reference.ClearTarget();
          reference.SetElementIndex(0);
        }
      }
    }
    slot.live = true;
    return *slot.value;
  }

  TCustomParam& MakeDestination(const TOpeData& op, int slot) {
    if (op.op_code == ocDimTo) return MakeElementReference(op, slot);
    return MakeTemp(slot, TempType(op));
  }

  // The reference temporary of an indexing: element [i1, ..., in] of the variable op0.
  TCustomParam& MakeElementReference(const TOpeData& op, int slot) {
    const Bound& array = Need(op, 0);
    const std::size_t indexes = bounds_.size() - 1;
    std::int64_t flat = 0;
    for (std::size_t k = 0; k < indexes; ++k)
      flat = flat * array.value->DimSize(static_cast<std::int32_t>(k)) + bounds_[k + 1].Int();
    const auto fail = [&](ParamsMessage message) {
      const auto* named = dynamic_cast<const TParamVar*>(op.operands[0].get());
      std::string text = named ? named->RefName() : op.operands[0]->AsStr();
      text += '[';
      for (std::size_t k = 0; k < indexes; ++k) {
        if (k) text += ',';
        text += std::to_string(bounds_[k + 1].Int());
      }
      text += "]\r\n";
      throw KestError(text + Message(message));
    };
    if (static_cast<std::size_t>(array.value->DimCount()) != indexes) fail(ParamsMessage::SubscriptCount);
    // Single indexes are not checked against their own dimension; a negative flat index passes
    // here and is refused by the element access itself.
    if (flat >= array.value->Count()) fail(ParamsMessage::SubscriptTooLarge);
    auto& reference = static_cast<TParamVar&>(MakeTemp(slot, PT_NONE));
    reference.SetTarget(array.anchor ? *array.anchor : std::make_shared<TParamAnchor>(TParamAnchor{array.value, {}}));
    reference.SetElementIndex(flat < INT32_MIN ? -1 : static_cast<std::int32_t>(flat));
    return reference;
  }

  void CallFunction(const TOpeData& op, OperationPlan& plan, TCustomParam& dest) {
    // Variable operands reach the function as references tied to their variables for this call
    // only; the ties are undone however the call ends.
    struct Untie {
      OperationPlan& plan;
      ~Untie() {
        for (OperandPlan& operand : plan.operands)
          if (operand.is_variable) static_cast<TParamVar*>(operand.value)->ClearTarget();
      }
    } untie{plan};
    args_.resize(bounds_.size());
    for (std::size_t k = 0; k < bounds_.size(); ++k) {
      OperandPlan& operand = plan.operands[k];
      if (!operand.is_variable) {
        args_[k] = operand.value;
        continue;
      }
      auto* reference = static_cast<TParamVar*>(operand.value);
      reference->SetTarget(*bounds_[k].anchor);
      reference->SetElementIndex(bounds_[k].element);
      args_[k] = reference;
    }
    // An expression the function runs (Calc) is another parser with buffers of its own.
    functions_.CallFunction(op.func_index, dest, args_, store_);
  }

  void Evaluate(const TOpeData& op, OperationPlan& plan, TCustomParam& dest) {
    switch (op.op_code) {
      case ocTo: {
        const Bound& a = Need(op, 0);
        switch (dest.ParamType()) {
          case PT_INT: dest.SetInt(a.Int()); break;
          case PT_FLOAT: dest.SetFloat(a.Float()); break;
          case PT_BOOL: dest.SetBool(a.Bool()); break;
          case PT_STR: dest.SetStr(a.Str()); break;
          default: break;
        }
        return;
      }
      case ocPlus:
      case ocMinus:
      case ocMul:
      case ocDiv: {
        const Bound& a = Need(op, 0);
        const Bound& b = Need(op, 1);
        if (dest.ParamType() == PT_FLOAT) {
          const long double x = a.Float(), y = b.Float();
          long double r;
          switch (op.op_code) {
            case ocPlus: r = x + y; break;
            case ocMinus: r = x - y; break;
            case ocMul: r = x * y; break;
            default:
              if (y == 0) throw KestError(Message(ParamsMessage::DivisionByZero));
              r = x / y;
          }
          dest.SetFloat(CheckedReal(r));
          return;
        }
        const std::int32_t x = a.Int(), y = b.Int();
        switch (op.op_code) {
          case ocPlus: dest.SetInt(wrap::Add(x, y)); break;
          case ocMinus: dest.SetInt(wrap::Sub(x, y)); break;
          case ocMul: dest.SetInt(wrap::Mul(x, y)); break;
          default:
            if (y == 0) throw KestError(Message(ParamsMessage::DivisionByZero));
            dest.SetInt(wrap::Div(x, y));
        }
        return;
      }
      case ocMod: {
        const std::int32_t y = Need(op, 1).Int();
        const std::int32_t x = Need(op, 0).Int();
        if (y == 0) throw KestError(Message(ParamsMessage::DivisionByZero));
        dest.SetInt(wrap::Mod(x, y));
        return;
      }
      case ocOr: dest.SetInt(Need(op, 0).Int() | Need(op, 1).Int()); return;
      case ocAnd: dest.SetInt(Need(op, 0).Int() & Need(op, 1).Int()); return;
      case ocXor: dest.SetInt(Need(op, 0).Int() ^ Need(op, 1).Int()); return;
      case ocShiftL: dest.SetInt(wrap::ShiftLeft(Need(op, 0).Int(), Need(op, 1).Int())); return;
      case ocShiftR: dest.SetInt(wrap::ShiftRight(Need(op, 0).Int(), Need(op, 1).Int())); return;
      case ocComboStr: dest.SetStr(Need(op, 0).Str() + Need(op, 1).Str()); return;
      case ocFunc: CallFunction(op, plan, dest); return;
      case ocDimTo: return;  // the reference was made with the destination
      case ocEqual:
      case ocBig:
      case ocSmall:
      case ocEBig:
      case ocESmall:
      case ocNEqual: {
        const Bound& a = Need(op, 0);
        const Bound& b = Need(op, 1);
        switch (a.Type()) {
          case PT_STR: {
            const int order = a.Str().compare(b.Str());  // bytes as unsigned; a prefix is smaller
            dest.SetBool(Compared(op.op_code, order < 0 ? -1 : (order > 0 ? 1 : 0), false));
            return;
          }
          case PT_FLOAT: {
            const long double x = a.Float(), y = b.Float();
            dest.SetBool(Compared(op.op_code, Compare(x, y), std::isnan(x) || std::isnan(y)));
            return;
          }
          case PT_BOOL: dest.SetBool(Compared(op.op_code, Compare(a.Bool(), b.Bool()), false)); return;
          default: dest.SetBool(Compared(op.op_code, Compare(a.Int(), b.Int()), false)); return;
        }
      }
      default: BadOperation(op);
    }
  }

  const std::vector<TOpeData>& ops_;
  TKestParser::Plan& plan_;
  std::vector<TempSlot>& slots_;
  std::vector<Bound>& bounds_;
  std::vector<TCustomParam*>& args_;
  TParamCollection& store_;
  TSysFuncMan& functions_;
};

}  // namespace

struct RunBuffers {
  std::vector<Bound> bounds;
  std::vector<TCustomParam*> args;
};

TKestParser::Pool::Pool() = default;
TKestParser::Pool::~Pool() = default;

void TKestParser::Execute(TParamCollection& store, TSysFuncMan& functions) {
  has_result_ = false;
  last_error_.clear();
  if (!plan_) BuildPlan();
  // A run inside a run of the same parser gets temporaries of its own.
  std::unique_ptr<Pool> nested;
  if (!pool_) pool_ = std::make_unique<Pool>();
  Pool& pool = running_ ? *(nested = std::make_unique<Pool>()) : *pool_;
  FlagScope running(running_, true);
  if (pool.slots.size() != plan_->temp_names.size()) {
    pool.slots.resize(plan_->temp_names.size());
    for (std::size_t i = 0; i < pool.slots.size(); ++i) pool.slots[i].anchor->name = plan_->temp_names[i];
  }
  if (!pool.buffers) pool.buffers = std::make_unique<RunBuffers>();

  const std::vector<TOpeData>& ops = Ops();
  Run run(ops, *plan_, pool.slots, pool.buffers->bounds, pool.buffers->args, store, functions);
  bool completed = true;
  try {
    for (std::size_t i = 0; i < ops.size(); ++i) run.Operation(i);
  } catch (const KestError& error) {
    completed = false;  // absorbed: the run ends here and leaves no result
    last_error_ = error.what();
  }

  if (completed && !ops.empty() && ops.back().op_code == ocTo && ops.back().dest == kResultTemp) {
    const TCustomParam* source = nullptr;
    if (plan_->result_slot >= 0 && pool.slots[static_cast<std::size_t>(plan_->result_slot)].live) {
      source = pool.slots[static_cast<std::size_t>(plan_->result_slot)].value.get();
    } else if (const TParamCollectionItem* item = store.Find(kResultTemp)) {
      source = &item->Value();
    }
    if (source && source->ParamType() >= PT_INT && source->ParamType() <= PT_STR) {
      const bool reuse = result_ && source->ParamType() == result_->ParamType() && !source->IsReference() &&
                         &source->Resolved() == source;
      if (reuse) result_->Assign(*source);
      else result_ = DetachedCopy(*source);
      has_result_ = result_ != nullptr;
    }
  }
  for (TempSlot& slot : pool.slots) {
    slot.live = false;
    if (slot.value && slot.value->IsReference()) static_cast<TParamVar&>(*slot.value).ClearTarget();
  }
}

}  // namespace kest
