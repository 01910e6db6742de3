#pragma once
// TCallMan: the interpreter. It holds the current page and program counter, the call stack,
// the arguments and the sender of the running code, and the page cache. Once per frame Run
// executes commands until the script yields: the main script runs until a command ends the
// frame; queued event handlers interrupt it between commands, like calls, and run until they
// yield. Commands that wait stay at the program counter and run again in the next frame.
//
// Scheduling states of Run: 0 the main script; 1 a handler that interrupted it; 2 waiting to
// resume after a handler yielded (newer events may start then); 3 a nested handler.
// EventDepth is 2 while at most one handler is active and grows by one per nested handler;
// queue entries carry the level that runs them and are removed when that level ends.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/call_stack.h"
#include "scenario/command_run.h"
#include "scenario/page_cache.h"
#include "scenario/timer_list.h"

namespace kest {

class TFrameClock;
class TParamCollection;
class TScene;
class TScriptHost;
class TSysFuncMan;
class TTraceLog;

// A command error the interpreter swallowed, for the log. Texts are CP932.
struct ScriptError {
  std::string page;
  std::int32_t line = 0;
  std::string message;
};
using ScriptErrorSink = std::function<void(const ScriptError&)>;

struct InterpreterServices {
  TParamCollection& params;
  TSysFuncMan& functions;
  TScene& scene;
  TFrameClock& clock;
  TScriptHost& host;
};

// The page and label of an event's handler text: split at the last ":" that no "." or "\\"
// follows (a ":" that is the second byte of a double-byte character does not count); the
// page's last three characters become "ksb".
struct HandlerTarget {
  std::string page;
  std::string label;  // "" without one
  bool has_label = false;
};
HandlerTarget SplitHandler(std::string_view handler);

// Deepest call stack: a Call beyond it fails with a clear error, and no newer event handler
// starts, instead of the stack growing until memory runs out.
inline constexpr std::size_t kMaxCallDepth = 1000;

class TCallMan {
 public:
  // Connects the built-in functions to the scene's objects for the interpreter's lifetime.
  explicit TCallMan(InterpreterServices services);
  ~TCallMan();
  TCallMan(const TCallMan&) = delete;
  TCallMan& operator=(const TCallMan&) = delete;

  // Makes the named page current and resets everything (program counter 0, no arguments, no
  // sender, empty stack, state 0), removing the queue entries of the running handlers. A page
  // that cannot be loaded raises, and nothing changes.
  std::shared_ptr<TPage> Start(const std::string& page_name);
  std::shared_ptr<TPage> GetPage(const std::string& name,
                                 TPageCache::Placement placement = TPageCache::Placement::MoveToFront);

  // One frame's run.
  void Run();
  // One command: 0 normal, 2 yield, 1 or -1 returned into a frame (1: into code without a
  // sender, the main script).
  int Step();
  // Starts the oldest waiting event at `level`; false when none started.
  bool StartEvent(std::int32_t level);
  bool IsHoldingEvents() const;

  std::int32_t ArgCount() const { return static_cast<std::int32_t>(Args.size()); }
  std::string Arg(std::int32_t index) const;
  std::string SenderName() const;
  TCustomParam* TopResult();

  // The main script has ended for good: its page ran out with an empty stack and no handler
  // is active.
  bool MainScriptEnded() const;

  void SetTrace(TTraceLog* trace) { trace_ = trace; }
  void SetErrorSink(ScriptErrorSink sink) { error_sink_ = std::move(sink); }

  // The services, for the commands.
  TParamCollection& Params() { return services_.params; }
  TSysFuncMan& Functions() { return services_.functions; }
  TScene& Scene() { return services_.scene; }
  TFrameClock& Clock() { return services_.clock; }
  TScriptHost& Host() { return services_.host; }
  const TPageCache& Pages() const { return pages_; }

  std::shared_ptr<TPage> CurrentPage;
  std::int32_t ProgramCounter = 0;
  bool Running = false;
  TStackList Stack;
  bool Started = false;
  std::vector<std::string> Args;
  std::int32_t State = 0;
  ObjectId Sender = kNoObject;
  std::int32_t EventDepth = 2;

 private:
  // How the command at the program counter came out of one execution.
  enum class Outcome { Moved, Stayed };
  struct Executed {
    std::shared_ptr<TPage> page;  // none: the page has ended
    bool yield = false;
    Outcome outcome = Outcome::Moved;
  };
  Executed ExecuteOne();
  // The page ended: returns into the top frame (Step's steps 5 to 9).
  int ReturnFromPage(int result);
  void Trace(const TPage& page, const TCommand& command);
  void Report(const std::string& page, std::int32_t line, const std::string& message);
  bool PageEnded() const;

  InterpreterServices services_;
  TPageCache pages_;
  std::unique_ptr<TCommandRun> running_;  // run of the command in progress
  TTraceLog* trace_ = nullptr;
  const TCommand* last_traced_ = nullptr;
  ScriptErrorSink error_sink_;
};

}  // namespace kest
