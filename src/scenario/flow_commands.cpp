// Flow control: conditions, loops, labels, jumps, calls and returns, waits, and the resets.
// "Advance" moves the program counter to the next command; block structure is the commands'
// indent, and the compiler stored the indices loops and jumps go to.

#include <optional>

#include "core/arith.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/param_collection.h"
#include "scenario/call_man.h"
#include "scenario/command.h"
#include "scenario/command_run.h"
#include "scenario/frame_clock.h"
#include "scenario/messages.h"
#include "scenario/page.h"
#include "scenario/scene.h"
#include "scenario/script_host.h"

namespace kest {

namespace {

std::uint8_t Id(std::string_view name) { return FindCommandSpec(name)->id; }

std::int32_t CommandCount(const TPage& page) { return static_cast<std::int32_t>(page.Commands.size()); }

// Goes to a stored index; a negative one ends the page (a return to the caller).
void GoToOrEnd(ExecContext& context, std::int32_t target) {
  if (target < 0) {
    context.page = nullptr;
  } else {
    context.pc = target;
  }
}

// ---- Conditions -------------------------------------------------------------------------------

void ExecuteIf(ExecContext& context) {
  const std::int32_t indent = context.command.Indent;
  context.Advance();
  if (context.Condition(0)) return;  // the body follows
  // Skip the body, then take the first Elseif whose condition holds, or the Else.
  TPage& page = *context.page;
  for (std::int32_t i = context.pc; i < CommandCount(page); ++i) {
    TCommand& next = *page.Commands[static_cast<std::size_t>(i)];
    if (next.Indent > indent) continue;
    if (next.Indent < indent) {
      context.pc = i;
      return;
    }
    if (next.CommandType() == Id("Elseif")) {
      if (context.Condition(next, 0)) {
        context.pc = i + 1;
        return;
      }
      continue;
    }
    context.pc = next.CommandType() == Id("Else") ? i + 1 : i;
    return;
  }
  context.pc = CommandCount(page);
}

// Elseif and Else reached after a branch was taken: skip their bodies.
void ExecuteSkipBranch(ExecContext& context) {
  const std::int32_t indent = context.command.Indent;
  const TPage& page = *context.page;
  std::int32_t i = context.pc + 1;
  while (i < CommandCount(page) && page.Commands[static_cast<std::size_t>(i)]->Indent > indent) ++i;
  context.pc = i;
}

// ---- Loops ------------------------------------------------------------------------------------

void ExecuteWhile(ExecContext& context) {
  context.Advance();
  if (!context.Condition(0)) context.pc = context.command.Fields[1].number;
}

void ExecuteWhileInit(ExecContext& context) {
  context.Advance();
  context.Evaluate(0);
}

void ExecuteWhileLoop(ExecContext& context) {
  context.pc = context.command.Fields[1].number;
  context.Evaluate(0);
}

void ExecuteBreak(ExecContext& context) {
  if (context.Condition(0)) {
    GoToOrEnd(context, context.command.Fields[1].number);
  } else {
    context.Advance();
  }
}

void ExecuteContinue(ExecContext& context) {
  context.Advance();
  if (context.Condition(0)) GoToOrEnd(context, context.command.Fields[1].number);
}

void ExecuteAdvance(ExecContext& context) { context.Advance(); }

// ---- Jumps, calls and returns -----------------------------------------------------------------

void ExecuteJump(ExecContext& context) {
  context.Advance();
  const std::string& page_name = context.command.Fields[0].text;
  if (!context.Condition(2) || !context.call_man.Host().EnsureFile(page_name)) return;
  context.page = context.call_man.GetPage(page_name);
  context.pc = context.command.Fields[1].number;
}

void ExecuteCall(ExecContext& context) {
  TCallMan& call_man = context.call_man;
  context.Advance();
  const std::string& page_name = context.command.Fields[0].text;
  if (!context.Condition(3) || !call_man.Host().EnsureFile(page_name)) return;
  std::vector<std::string> arguments;
  for (const auto& argument : context.command.Fields[4].list) {
    if (!argument) continue;
    argument->Execute(call_man.Params(), call_man.Functions());
    if (const TCustomParam* result = argument->Result()) arguments.push_back(result->AsStr());
  }
  if (call_man.Stack.Count() >= kMaxCallDepth)
    throw KestError(FillMessage(Message(ScenarioMessage::CallTooDeep), {std::to_string(kMaxCallDepth)}));
  // The callee is loaded before the frame is pushed, so a page that fails leaves no stray frame.
  std::shared_ptr<TPage> callee = call_man.GetPage(page_name);
  TStack& frame = call_man.Stack.Push();
  frame.PageName = context.page->Name;
  frame.ProgramCounter = context.pc;
  frame.ResultVariable = context.command.Fields[2].text;
  frame.Running = call_man.Running;
  frame.Sender = call_man.Sender;
  frame.Args = std::move(call_man.Args);
  call_man.Args = std::move(arguments);
  // A result type outside the four value types reads as an integer result.
  std::uint8_t result_type = callee->ResultType;
  if (result_type < PT_INT || result_type > PT_STR) result_type = PT_INT;
  frame.ResultValue = CreateParam(result_type);
  context.page = std::move(callee);
  context.pc = context.command.Fields[1].number;
}

void ExecuteExit(ExecContext& context) {
  if (context.Condition(0)) {
    context.page = nullptr;
  } else {
    context.Advance();
  }
}

// ---- Waiting ----------------------------------------------------------------------------------

class WaitRun final : public TCommandRun {
 public:
  bool YieldsFrame() const override { return true; }
  bool HoldsEvents() const override { return events_held; }
  void SaveState(ByteWriter& out) const override {
    out.I32(remaining);
    out.I32(first_frame);
    out.Bool(events_held);
  }
  void LoadState(ByteReader& in, std::int32_t /*version*/) override {
    remaining = in.I32();
    first_frame = in.I32();
    events_held = in.Bool();
  }

  std::int32_t remaining = 0;
  std::int32_t first_frame = 1;  // the frame of Begin does not count
  bool events_held = false;
};

std::unique_ptr<TCommandRun> BeginWait(ExecContext& context) {
  auto run = std::make_unique<WaitRun>();
  run->remaining = context.IntOr(1, 0);
  run->events_held = context.BoolOr(2, false);
  return run;
}

void ExecuteWait(ExecContext& context) {
  auto& run = static_cast<WaitRun&>(*context.run);
  if (const TCustomParam* condition = context.Evaluate(0); condition && !condition->AsBool()) {
    context.Advance();
    return;
  }
  // A time of 0 waits as long as the condition holds (or has no result).
  if (run.remaining != 0) {
    if (run.first_frame != 0) {
      run.first_frame = 0;
    } else {
      run.remaining = wrap::Sub(run.remaining, context.call_man.Clock().LastFrameTime);
      if (run.remaining <= 0) {
        context.Advance();
        return;
      }
    }
  }
  context.call_man.Running = false;
}

// ---- Resets -----------------------------------------------------------------------------------

// The abort notification to a frame's command in progress: its live run, or a run read from
// the state a save left in the frame.
void AbortFrameCommand(TCallMan& call_man, TStack& frame) {
  try {
    if (frame.LiveRun) {
      frame.LiveRun->Abort(call_man);
      return;
    }
    if (!frame.CommandState) return;
    const std::shared_ptr<TPage> page = call_man.GetPage(frame.PageName);
    if (frame.ProgramCounter < 0 || frame.ProgramCounter >= CommandCount(*page)) return;
    const TCommand& command = *page->Commands[static_cast<std::size_t>(frame.ProgramCounter)];
    if (auto run = LoadCommandState(BehaviorOf(command.CommandType()), *frame.CommandState)) run->Abort(call_man);
  } catch (const KestError&) {
    // A page or state that cannot be read has nothing to abort.
  }
}

// PCReset with its flag set: everything ends, the main script starts again at the target.
void FullReset(ExecContext& context, const std::string& page_name, std::int32_t target) {
  TCallMan& call_man = context.call_man;
  TParamCollection& params = call_man.Params();
  params.FreeOwned(static_cast<std::int32_t>(call_man.Stack.Count()));
  for (std::size_t i = call_man.Stack.Count(); i-- > 0;) {
    // A command of the main script in progress below the handlers hears that it ends (only
    // the screen transition reacts).
    TStack& frame = call_man.Stack[i];
    if (frame.Sender == kNoObject && frame.Started) AbortFrameCommand(call_man, frame);
    params.FreeOwned(static_cast<std::int32_t>(i));
  }
  context.page = call_man.Start(page_name);
  context.pc = target;
  call_man.Scene().Events().Clear();
}

// PCReset with its flag clear: the main script is rewound; running handlers finish.
void RewindMainScript(ExecContext& context, const std::string& page_name, std::int32_t target) {
  TCallMan& call_man = context.call_man;
  TStackList& stack = call_man.Stack;
  TParamCollection& params = call_man.Params();
  params.FreeOwned(static_cast<std::int32_t>(stack.Count()));
  // The lowest frame that a handler pushed over code with a sender marks where the handlers
  // begin; the main script's frame is the highest frame without a sender below it.
  std::optional<std::size_t> handlers_from;
  for (std::size_t i = 0; i < stack.Count(); ++i) {
    if (stack[i].Sender != kNoObject) {
      handlers_from = i;
      break;
    }
  }
  if (!handlers_from && !call_man.SenderName().empty()) handlers_from = stack.Count();
  std::optional<std::size_t> main_frame;
  if (handlers_from) {
    for (std::size_t i = *handlers_from; i-- > 0;) {
      if (stack[i].Sender == kNoObject) {
        main_frame = i;
        break;
      }
    }
  }
  if (main_frame) {
    params.FreeOwned(static_cast<std::int32_t>(*main_frame));
    TStack& frame = stack[*main_frame];
    // The command the main script was in hears that it ends, as in a full reset: a flip in
    // progress would otherwise leave its snapshot over the screen for good.
    if (frame.Started) AbortFrameCommand(call_man, frame);
    frame.LiveRun.reset();
    frame.PageName = page_name;
    frame.ProgramCounter = target;
    frame.Started = false;
    frame.ResultVariable.clear();
    frame.Args.clear();
    frame.CommandState.reset();
  } else {
    context.page = call_man.GetPage(page_name);
    context.pc = target;
  }
  call_man.Scene().Events().RemoveRunning();
}

// The resets move on first: a target page that cannot be read leaves the script going on
// after the command instead of stuck on it.
void ExecutePCReset(ExecContext& context) {
  const std::string page_name = context.command.Fields[0].text;
  const std::int32_t target = context.command.Fields[1].number;
  context.Advance();
  context.call_man.GetPage(page_name);  // fails before anything is freed
  if (context.command.Fields[2].number != 0) {
    FullReset(context, page_name, target);
  } else {
    RewindMainScript(context, page_name, target);
  }
}

void ExecuteReset(ExecContext& context) {
  TCallMan& call_man = context.call_man;
  const std::string page_name = context.command.Fields[0].text;
  const std::int32_t target = context.command.Fields[1].number;
  context.Advance();
  call_man.GetPage(page_name);  // fails before anything is cleared
  // The table data and the backlog are cleared here too once they exist.
  call_man.Scene().Reset();
  call_man.Params().ClearMain();
  context.page = call_man.Start(page_name);
  context.pc = target;
}

void ExecuteTerminate(ExecContext& context) { context.call_man.Host().RequestQuit(); }

}  // namespace

void AddFlowCommands(CommandBehaviors& table) {
  table[Id("If")] = {.execute = ExecuteIf};
  table[Id("Elseif")] = {.execute = ExecuteSkipBranch};
  table[Id("Else")] = {.execute = ExecuteSkipBranch};
  table[Id("Label")] = {.execute = ExecuteAdvance};
  table[Id("Comment")] = {.execute = ExecuteAdvance};
  table[Id("Jump")] = {.execute = ExecuteJump};
  table[Id("Call")] = {.execute = ExecuteCall};
  table[Id("Exit")] = {.execute = ExecuteExit};
  table[Id("Wait")] = {.begin = BeginWait,
                       .execute = ExecuteWait,
                       .new_run = [] { return std::unique_ptr<TCommandRun>(std::make_unique<WaitRun>()); },
                       .yields = YieldRule::AskRun};
  table[Id("While")] = {.execute = ExecuteWhile};
  table[Id("WhileInit")] = {.execute = ExecuteWhileInit};
  table[Id("WhileLoop")] = {.execute = ExecuteWhileLoop};
  table[Id("Break")] = {.execute = ExecuteBreak};
  table[Id("Continue")] = {.execute = ExecuteContinue};
  table[Id("DoEvent")] = {.execute = ExecuteAdvance, .yields = YieldRule::Always};
  table[Id("PCReset")] = {.execute = ExecutePCReset};
  table[Id("Reset")] = {.execute = ExecuteReset};
  table[Id("Terminate")] = {.execute = ExecuteTerminate};
}

}  // namespace kest
