#pragma once
// What each command does when the interpreter runs it. Behaviour is chosen by the command's
// type id from one table (command_table.cpp) that the command families fill in; a command of a
// subsystem not built yet raises "<Name>: not available yet" when it runs.
//
// A command that stays at its program counter over several frames (a Wait) keeps its run-time
// fields in a TCommandRun made by its Begin. The interpreter holds the run of the command in
// progress; when an event handler interrupts it, the live run moves into the call frame and
// back when the handler returns (the handler may run the very same command, with a run of its
// own). SaveState and LoadState carry a run through game saves.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/byte_reader.h"
#include "scenario/command_types.h"

namespace kest {

class ByteWriter;
class TCallMan;
class TCommand;
class TCommandRun;
class TCustomParam;
class TKestParser;
class TPage;

// One execution of one command.
struct ExecContext {
  TCallMan& call_man;
  std::shared_ptr<TPage>& page;  // the page to go on with; none ends the page (return)
  std::int32_t& pc;              // the program counter
  TCommand& command;
  TCommandRun* run;              // the command's run-time fields, if it has any

  void Advance() { ++pc; }
  // Runs an expression of the command; its result, or none.
  const TCustomParam* Run(TKestParser& expression) const;
  // Runs the expression of field `field` (a field the page's version lacks has none); the
  // result, or none.
  const TCustomParam* Evaluate(std::size_t field) const { return Evaluate(command, field); }
  const TCustomParam* Evaluate(TCommand& other, std::size_t field) const;
  // A condition holds only when its expression has a result whose Boolean value is true.
  bool Condition(std::size_t field) const { return Condition(command, field); }
  bool Condition(TCommand& other, std::size_t field) const;
  std::int32_t IntOr(std::size_t field, std::int32_t fallback) const;
  std::string StrOr(std::size_t field, const std::string& fallback) const;
  bool BoolOr(std::size_t field, bool fallback) const;
};

class TCommandRun {
 public:
  virtual ~TCommandRun() = default;
  virtual bool YieldsFrame() const { return false; }
  virtual bool HoldsEvents() const { return false; }
  // The fields after the seven bytes "kest100".
  virtual void SaveState(ByteWriter& out) const = 0;
  // `version` is the three digits after "kest"; fields newer than it keep their defaults.
  virtual void LoadState(ByteReader& in, std::int32_t version) = 0;
  // The abort notification: a full PCReset is ending the script this run belongs to.
  virtual void Abort(TCallMan& /*call_man*/) {}
};

enum class YieldRule : std::uint8_t {
  Never,   // the command never gives handlers their turn
  Always,  // DoEvent
  AskRun,  // the command's run says (Wait)
};

struct CommandBehavior {
  // Starts the command; may make its run. Null: nothing to start.
  std::unique_ptr<TCommandRun> (*begin)(ExecContext& context) = nullptr;
  void (*execute)(ExecContext& context) = nullptr;
  // A run to read a saved state into. Null: the command keeps no state.
  std::unique_ptr<TCommandRun> (*new_run)() = nullptr;
  YieldRule yields = YieldRule::Never;
};

const CommandBehavior& BehaviorOf(std::uint8_t command_type);

// The table's families (command_table.cpp fills the rest with "not available yet").
using CommandBehaviors = std::array<CommandBehavior, kCommandTypeCount>;
void AddFlowCommands(CommandBehaviors& table);
void AddValueCommands(CommandBehaviors& table);
void AddObjectCommands(CommandBehaviors& table);
void AddScreenCommands(CommandBehaviors& table);

// Raises "<Name>: not available yet" for the command: its subsystem, or the part of the scene
// it needs, is not there.
[[noreturn]] void RaiseNotAvailable(const TCommand& command);

// The state block of a run: "kest100", then its fields.
Bytes SaveCommandState(const TCommandRun& run);
// Reads a state block into a new run of the command: "kest" and three digits give its version,
// a block without them is of version 0. Raises FormatError for fields cut short.
std::unique_ptr<TCommandRun> LoadCommandState(const CommandBehavior& behavior, ByteSpan state);

}  // namespace kest
