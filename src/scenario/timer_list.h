#pragma once
// TTimerList: the event queue. Raising an object's event appends an entry holding the handler
// text (a page name with an optional ":" and label), the object that raised it, the event's
// property id and its arguments. The interpreter takes waiting entries first in, first out
// between commands, marks a running entry with the call level that runs it, and removes the
// entries of a level when that level ends, so an event that is running is not started again.
// The scene lists own the queue; objects remove their waiting entries when they are destroyed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kest {

// A display object as the interpreter refers to it: an id the scene never reuses, so a
// reference to a destroyed object stays safe to compare and resolves to nothing.
using ObjectId = std::uint32_t;
inline constexpr ObjectId kNoObject = 0;

struct TTimerData {
  std::string Handler;  // CP932
  ObjectId Sender = kNoObject;
  std::uint8_t EventId = 0;
  std::int32_t EventLevel = 0;  // 0 while waiting, else the call level running it
  std::vector<std::string> Args;
};

class TTimerList {
 public:
  void Add(TTimerData entry) { entries_.push_back(std::move(entry)); }

  // The first entry (waiting or running) of this sender and event, or none.
  const TTimerData* Find(ObjectId sender, std::uint8_t event_id) const;
  // The oldest waiting entry, or none. Valid until the queue next changes.
  TTimerData* OldestWaiting();

  void RemoveLevel(std::int32_t level);
  // Removes the entries of every level from `first` to `last`.
  void RemoveLevels(std::int32_t first, std::int32_t last);
  void RemoveRunning();  // every entry whose level is not 0
  void RemoveWaitingOf(ObjectId sender);
  void Remove(const TTimerData* entry);
  void Clear() { entries_.clear(); }

  std::size_t Count() const { return entries_.size(); }
  const TTimerData& operator[](std::size_t index) const { return entries_[index]; }
  std::size_t WaitingCount() const;

 private:
  template <typename Predicate>
  void RemoveIf(Predicate predicate);

  std::vector<TTimerData> entries_;
};

}  // namespace kest
