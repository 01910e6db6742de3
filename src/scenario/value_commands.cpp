// Commands that work on variables, and the game save and load requests, which only record
// what the project does at the end of the frame.

#include "params/param_collection.h"
#include "scenario/call_man.h"
#include "scenario/command.h"
#include "scenario/command_run.h"
#include "scenario/page.h"
#include "scenario/script_host.h"

namespace kest {

namespace {

std::uint8_t Id(std::string_view name) { return FindCommandSpec(name)->id; }

void ExecuteCalc(ExecContext& context) {
  context.Advance();
  context.Evaluate(0);  // its assignments are the effect
}

// Fields: name, type code, initial value, scope.
void ExecuteVarNew(ExecContext& context) {
  context.Advance();
  const auto& fields = context.command.Fields;
  const std::int32_t scope_code = fields[3].number;
  const ParamScope scope = scope_code >= 0 && scope_code <= 3 ? static_cast<ParamScope>(scope_code) : ParamScope::Global;
  const TCustomParam* initial = context.Evaluate(2);
  context.call_man.Params().Declare(fields[0].text, static_cast<std::uint8_t>(fields[1].number), scope, initial);
}

void ExecuteVarDel(ExecContext& context) {
  context.Advance();
  context.call_man.Params().VarDel(context.command.Fields[0].text);
}

// Fields: slot, page, command index (pages of version 105 and later), caption.
void ExecuteGameSave(ExecContext& context) {
  context.Advance();
  const std::int32_t slot = context.IntOr(0, 0);
  const std::string caption = context.StrOr(3, "");
  const auto& fields = context.command.Fields;
  context.call_man.Host().RequestSave(slot, fields[1].text, fields[2].present ? fields[2].number : 0, caption);
}

void ExecuteGameLoad(ExecContext& context) {
  context.Advance();
  context.call_man.Host().RequestLoad(context.IntOr(0, 0));
}

}  // namespace

void AddValueCommands(CommandBehaviors& table) {
  table[Id("Calc")] = {.execute = ExecuteCalc};
  table[Id("VarNew")] = {.execute = ExecuteVarNew};
  table[Id("VarDel")] = {.execute = ExecuteVarDel};
  table[Id("GameSave")] = {.execute = ExecuteGameSave};
  table[Id("GameLoad")] = {.execute = ExecuteGameLoad};
}

}  // namespace kest
