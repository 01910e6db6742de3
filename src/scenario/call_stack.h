#pragma once
// The call stack: one TStack frame per call or running event handler, holding the context of
// the code it interrupted, so that a return restores it exactly. The stack depth is the call
// depth of the variables: every push, pop and clear tells the variable store.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "params/custom_param.h"
#include "scenario/command_run.h"
#include "scenario/timer_list.h"

namespace kest {

class TCommandRun;
class TParamCollection;

struct TStack {
  std::string PageName;           // where to continue
  std::int32_t ProgramCounter = 0;
  bool Started = false;           // the caller's command was in progress
  std::string ResultVariable;     // the caller's variable for the callee's result, or ""
  std::vector<std::string> Args;  // the caller's arguments
  ObjectId Sender = kNoObject;    // the caller's sender
  bool Running = false;
  std::optional<Bytes> CommandState;  // the state of the caller's command in progress, from a save
  std::unique_ptr<TCommandRun> LiveRun;  // the caller's command in progress, when a handler interrupted it
  std::unique_ptr<TCustomParam> ResultValue;  // the callee's result ("@Result")
};

class TStackList {
 public:
  explicit TStackList(TParamCollection& params) : params_(params) {}

  TStack& Push();
  // The top frame, moved into the spare frame, after taking it off the stack. An empty stack
  // raises "スタックエラー".
  TStack& Pop();
  void Clear();

  std::size_t Count() const { return frames_.size(); }
  TStack& operator[](std::size_t index) { return *frames_[index]; }
  const TStack& operator[](std::size_t index) const { return *frames_[index]; }
  TStack* Top() { return frames_.empty() ? nullptr : frames_.back().get(); }

 private:
  void TellDepth();

  TParamCollection& params_;
  std::vector<std::unique_ptr<TStack>> frames_;  // bottom first
  TStack spare_;
};

}  // namespace kest
