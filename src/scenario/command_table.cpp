// The behaviour table: one row per command type, filled in by the command families. Every
// command whose subsystem is not built yet moves on and raises "<Name>: not available yet",
// which the interpreter swallows and logs like any command error.

#include <string_view>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/kest_parser.h"
#include "scenario/call_man.h"
#include "scenario/command.h"
#include "scenario/command_run.h"
#include "scenario/messages.h"

namespace kest {

namespace {

void NotAvailable(ExecContext& context) {
  context.Advance();
  RaiseNotAvailable(context.command);
}

CommandBehaviors BuildTable() {
  CommandBehaviors table{};
  for (CommandBehavior& behavior : table) behavior.execute = NotAvailable;
  AddFlowCommands(table);
  AddValueCommands(table);
  AddObjectCommands(table);
  AddScreenCommands(table);
  return table;
}

constexpr char kStateSignature[] = "kest";
constexpr std::int32_t kStateVersion = 100;

}  // namespace

const CommandBehavior& BehaviorOf(std::uint8_t command_type) {
  static const CommandBehaviors table = BuildTable();
  return table.at(command_type);  // TCommand refuses types outside the table
}

void RaiseNotAvailable(const TCommand& command) {
  throw KestError(FillMessage(Message(ScenarioMessage::NotAvailableYet), {command.Spec().name}));
}

const TCustomParam* ExecContext::Run(TKestParser& expression) const {
  expression.Execute(call_man.Params(), call_man.Functions());
  return expression.Result();
}

const TCustomParam* ExecContext::Evaluate(TCommand& other, std::size_t field) const {
  if (field >= other.Fields.size()) return nullptr;
  CommandField& slot = other.Fields[field];
  if (!slot.present || !slot.expression) return nullptr;
  return Run(*slot.expression);
}

bool ExecContext::Condition(TCommand& other, std::size_t field) const {
  const TCustomParam* result = Evaluate(other, field);
  return result && result->AsBool();
}

std::int32_t ExecContext::IntOr(std::size_t field, std::int32_t fallback) const {
  const TCustomParam* result = Evaluate(field);
  return result ? result->AsInt() : fallback;
}

std::string ExecContext::StrOr(std::size_t field, const std::string& fallback) const {
  const TCustomParam* result = Evaluate(field);
  return result ? result->AsStr() : fallback;
}

bool ExecContext::BoolOr(std::size_t field, bool fallback) const {
  const TCustomParam* result = Evaluate(field);
  return result ? result->AsBool() : fallback;
}

Bytes SaveCommandState(const TCommandRun& run) {
  ByteWriter out;
  out.Raw(std::string(kStateSignature) + std::to_string(kStateVersion));
  run.SaveState(out);
  return out.Take();
}

std::unique_ptr<TCommandRun> LoadCommandState(const CommandBehavior& behavior, ByteSpan state) {
  if (!behavior.new_run) return nullptr;
  ByteReader in(state, "command state");
  // "kest" and three digits give the block's version; anything else is a block of version 0
  // whose fields start at its first byte.
  std::int32_t version = 0;
  if (state.size() >= 7 && std::string_view(reinterpret_cast<const char*>(state.data()), 4) == kStateSignature) {
    std::int32_t digits = 0;
    bool all_digits = true;
    for (std::size_t i = 4; i < 7; ++i) {
      const char digit = static_cast<char>(state[i]);
      all_digits = all_digits && digit >= '0' && digit <= '9';
      digits = digits * 10 + (digit - '0');
    }
    if (all_digits) {
      version = digits;
      in.Skip(7);
    }
  }
  std::unique_ptr<TCommandRun> run = behavior.new_run();
  run->LoadState(in, version);
  return run;
}

}  // namespace kest
