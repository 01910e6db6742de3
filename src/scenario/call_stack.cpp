#include "scenario/call_stack.h"

#include "core/errors.h"
#include "params/param_collection.h"
#include "scenario/messages.h"

namespace kest {

void TStackList::TellDepth() { params_.SetCurrentDepth(static_cast<std::int32_t>(frames_.size())); }

TStack& TStackList::Push() {
  frames_.push_back(std::make_unique<TStack>());
  TellDepth();
  return *frames_.back();
}

TStack& TStackList::Pop() {
  if (frames_.empty()) throw KestError(Message(ScenarioMessage::StackError));
  spare_ = std::move(*frames_.back());
  frames_.pop_back();
  TellDepth();
  return spare_;
}

void TStackList::Clear() {
  frames_.clear();
  TellDepth();
}

}  // namespace kest
