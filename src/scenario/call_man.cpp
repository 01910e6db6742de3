#include "scenario/call_man.h"

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "scenario/frame_clock.h"
#include "scenario/object_access.h"
#include "scenario/page.h"
#include "scenario/scene.h"
#include "scenario/script_host.h"
#include "scenario/trace.h"

namespace kest {

HandlerTarget SplitHandler(std::string_view handler) {
  std::size_t colon = std::string_view::npos;
  std::size_t last_char = 0;  // start of the page part's last three characters
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < handler.size(); i += cp932::CharLength(handler, i)) {
    starts.push_back(i);
    const char c = handler[i];
    if (c == ':') colon = i;
    if (c == '.' || c == '\\') colon = std::string_view::npos;  // that ":" was part of a path
  }
  HandlerTarget target;
  std::string_view page = handler;
  if (colon != std::string_view::npos) {
    page = handler.substr(0, colon);
    target.label = std::string(handler.substr(colon + 1));
    target.has_label = true;
  }
  // The last three characters of the page part.
  std::size_t kept = 0;
  std::size_t characters = 0;
  for (auto at = starts.rbegin(); at != starts.rend(); ++at) {
    if (*at >= page.size()) continue;
    if (++characters == 3) {
      kept = *at;
      break;
    }
  }
  last_char = characters < 3 ? 0 : kept;
  target.page = std::string(page.substr(0, last_char)) + "ksb";
  return target;
}

TCallMan::TCallMan(InterpreterServices services)
    : Stack(services.params),
      services_(services),
      pages_([this](TPage& page, const std::string& name) { services_.host.LoadPage(page, name); }) {
  services_.functions.SetObjects(services_.scene.Objects());
}

TCallMan::~TCallMan() {
  if (services_.functions.Objects() == services_.scene.Objects()) services_.functions.SetObjects(nullptr);
}

std::shared_ptr<TPage> TCallMan::GetPage(const std::string& name, TPageCache::Placement placement) {
  return pages_.Get(name, placement, CurrentPage.get());
}

std::shared_ptr<TPage> TCallMan::Start(const std::string& page_name) {
  std::shared_ptr<TPage> page = GetPage(page_name);
  CurrentPage = page;
  ProgramCounter = 0;
  Started = false;
  running_.reset();
  Args.clear();
  State = 0;
  Stack.Clear();
  Sender = kNoObject;
  services_.scene.Events().RemoveLevels(1, EventDepth);
  EventDepth = 2;
  return page;
}

bool TCallMan::PageEnded() const {
  return !CurrentPage || ProgramCounter < 0 ||
         static_cast<std::size_t>(ProgramCounter) >= CurrentPage->Commands.size();
}

bool TCallMan::MainScriptEnded() const { return State == 0 && Stack.Count() == 0 && PageEnded(); }

std::string TCallMan::Arg(std::int32_t index) const {
  if (index < 0 || index >= ArgCount()) return {};
  return Args[static_cast<std::size_t>(index)];
}

std::string TCallMan::SenderName() const {
  if (State == 0 || Sender == kNoObject) return {};
  return services_.scene.ObjectName(Sender);
}

TCustomParam* TCallMan::TopResult() {
  TStack* top = Stack.Top();
  return top ? top->ResultValue.get() : nullptr;
}

bool TCallMan::IsHoldingEvents() const {
  if (PageEnded() || !Started) return false;
  const CommandBehavior& behavior = BehaviorOf(CurrentPage->Commands[ProgramCounter]->CommandType());
  return behavior.yields == YieldRule::AskRun && running_ && running_->HoldsEvents();
}

void TCallMan::Trace(const TPage& page, const TCommand& command) {
  if (!trace_ || &command == last_traced_) return;
  last_traced_ = &command;
  trace_->Write(FormatTraceLine(services_.clock.FrameClock, page.Name, command.LineNumber));
}

void TCallMan::Report(const std::string& page, std::int32_t line, const std::string& message) {
  if (error_sink_) error_sink_({page, line, message});
}

TCallMan::Executed TCallMan::ExecuteOne() {
  Executed result;
  result.page = CurrentPage;
  if (PageEnded()) {
    result.page = nullptr;
    return result;
  }
  const std::shared_ptr<TPage> page = CurrentPage;  // keeps the page alive while it runs
  const std::int32_t index = ProgramCounter;
  TCommand& command = *page->Commands[static_cast<std::size_t>(index)];
  const CommandBehavior& behavior = BehaviorOf(command.CommandType());
  ExecContext context{*this, result.page, ProgramCounter, command, nullptr};
  try {
    Trace(*page, command);
    if (!Started) {
      if (command.IsDisabled()) {
        ++ProgramCounter;
        return result;
      }
      try {
        running_ = behavior.begin ? behavior.begin(context) : nullptr;
      } catch (const KestError& error) {
        // A command whose start failed is done: the script goes on after it.
        Report(page->Name, command.LineNumber, error.what());
        running_.reset();
        if (result.page == page && ProgramCounter == index) ++ProgramCounter;
        return result;
      }
      Started = true;
    }
    Running = command.ContinuesFrame();
    result.yield = behavior.yields == YieldRule::Always ||
                   (behavior.yields == YieldRule::AskRun && running_ && running_->YieldsFrame());
    context.run = running_.get();
    behavior.execute(context);
  } catch (const KestError& error) {
    Report(page->Name, command.LineNumber, error.what());
  }
  // Still at the same command: it is in progress. Otherwise it is done, also when it failed
  // after it had moved the program counter on.
  if (result.page == page && ProgramCounter == index && Started) {
    result.outcome = Outcome::Stayed;
  } else {
    Started = false;
    running_.reset();
  }
  return result;
}

int TCallMan::Step() {
  if (!CurrentPage) return 0;
  Executed executed = ExecuteOne();
  int result = executed.yield ? 2 : 0;
  if (executed.outcome == Outcome::Stayed) {
    // A command that stays where it is ends the frame, in the main script and in a handler
    // alike, so that nothing repeats itself forever within one frame.
    Running = false;
    result = 2;
  }
  if (executed.page) {
    CurrentPage = std::move(executed.page);
    return result;
  }
  return ReturnFromPage(result);
}

int TCallMan::ReturnFromPage(int result) {
  TParamCollection& params = services_.params;
  if (Stack.Count() == 0) {
    // The main script has finished for good: its program counter stays past the end, so no
    // command of it runs again.
    Running = false;
    if (CurrentPage) ProgramCounter = static_cast<std::int32_t>(CurrentPage->Commands.size());
    return result;
  }
  params.FreeOwned(static_cast<std::int32_t>(Stack.Count()));
  TStack& frame = Stack.Pop();
  if (!frame.ResultVariable.empty() && frame.ResultValue) {
    if (TParamCollectionItem* variable = params.Find(frame.ResultVariable)) {
      try {
        variable->Value().AssignConverted(*frame.ResultValue);
      } catch (const KestError& error) {
        Report(frame.PageName, 0, error.what());
      }
    }
  }
  Started = frame.Started;
  Running = frame.Running;
  Args = std::move(frame.Args);
  Sender = frame.Sender;
  running_.reset();
  try {
    CurrentPage = GetPage(frame.PageName);
    ProgramCounter = frame.ProgramCounter;
  } catch (const KestError& error) {
    // The caller's page cannot be read again: the caller ends as well, and the next step
    // returns past it.
    Report(frame.PageName, 0, error.what());
    Started = false;
    if (CurrentPage) ProgramCounter = static_cast<std::int32_t>(CurrentPage->Commands.size());
  }
  if (frame.LiveRun && Started && !PageEnded()) {
    running_ = std::move(frame.LiveRun);
  } else if (frame.CommandState && Started && !PageEnded()) {
    const CommandBehavior& behavior = BehaviorOf(CurrentPage->Commands[ProgramCounter]->CommandType());
    try {
      running_ = LoadCommandState(behavior, *frame.CommandState);
    } catch (const KestError& error) {
      Report(CurrentPage->Name, CurrentPage->Commands[ProgramCounter]->LineNumber, error.what());
    }
  }
  if (Sender == kNoObject) return 1;
  return result == 2 ? 2 : -1;
}

bool TCallMan::StartEvent(std::int32_t level) {
  if (IsHoldingEvents()) return false;
  TTimerList& events = services_.scene.Events();
  TTimerData* entry = events.OldestWaiting();
  if (!entry) return false;
  if (Stack.Count() >= kMaxCallDepth) return false;
  const HandlerTarget target = SplitHandler(entry->Handler);
  const auto drop = [&](const std::string& why) {
    // An event whose page is nowhere would block every later event for good: it goes.
    if (trace_) trace_->Write(FormatTraceLine(services_.clock.FrameClock, entry->Handler, 0, TraceKind::Dropped));
    Report(target.page, 0, why);
    events.Remove(entry);
  };
  if (!services_.host.EnsureFile(target.page)) {
    if (services_.host.IsOnSomeDisk(target.page)) return false;  // stays queued for its disk
    drop("no such page, and on no disk");
    return false;
  }
  // The page is loaded before anything changes, so a page that fails leaves no stray frame.
  std::shared_ptr<TPage> page;
  try {
    page = GetPage(target.page);
  } catch (const KestError& error) {
    drop(error.what());
    return false;
  }
  TStack& frame = Stack.Push();
  frame.PageName = CurrentPage ? CurrentPage->Name : std::string();
  frame.ProgramCounter = ProgramCounter;
  frame.Started = Started;
  frame.Args = std::move(Args);
  frame.Sender = Sender;
  frame.Running = Running;
  // The live run waits in the frame: its bytes would lose what only the live run knows (a
  // flip's executions and start time).
  if (Started && running_ && !PageEnded()) frame.LiveRun = std::move(running_);

  CurrentPage = page;
  std::int32_t start = target.has_label ? page->FindLabel(target.label) : 0;
  ProgramCounter = start < 0 ? 0 : start;
  if (trace_) {
    const std::int32_t line =
        PageEnded() ? 0 : CurrentPage->Commands[static_cast<std::size_t>(ProgramCounter)]->LineNumber;
    trace_->Write(FormatTraceLine(services_.clock.FrameClock, page->Name, line, TraceKind::Event));
  }
  Started = false;
  running_.reset();
  entry->EventLevel = level;
  Args = entry->Args;
  Sender = entry->Sender;
  State = 1;
  return true;
}

void TCallMan::Run() {
  TTimerList& events = services_.scene.Events();
  do {
    switch (State) {
      case 0:
        if (StartEvent(1)) continue;  // now in state 1
        Step();
        break;
      case 1: {
        const int answer = Step();
        if (answer == 1) {
          events.RemoveLevel(1);
          State = 0;
          Running = true;
        } else if (answer == 2) {
          EventDepth = 2;
          State = 2;
          return;
        } else if (State != 1) {
          Running = true;  // a command changed the state (a reset)
        }
        break;
      }
      case 2:
        if (StartEvent(EventDepth)) {
          ++EventDepth;
          State = 3;
        } else {
          State = EventDepth > 2 ? 3 : 1;
        }
        break;
      case 3: {
        const int answer = Step();
        if (answer == 1 || answer == -1) {
          --EventDepth;
          events.RemoveLevel(EventDepth);
          if (EventDepth <= 2) State = 2;
        } else if (answer == 2) {
          State = 2;
          return;
        }
        break;
      }
      default:
        State = 0;  // never set by the interpreter; a corrupt value restarts the scheduling
        break;
    }
  } while ((Running || State != 0) && !services_.host.QuitRequested());
}

}  // namespace kest
