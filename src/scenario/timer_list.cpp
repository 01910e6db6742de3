#include "scenario/timer_list.h"

#include <algorithm>

namespace kest {

template <typename Predicate>
void TTimerList::RemoveIf(Predicate predicate) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), predicate), entries_.end());
}

const TTimerData* TTimerList::Find(ObjectId sender, std::uint8_t event_id) const {
  for (const TTimerData& entry : entries_)
    if (entry.Sender == sender && entry.EventId == event_id) return &entry;
  return nullptr;
}

TTimerData* TTimerList::OldestWaiting() {
  for (TTimerData& entry : entries_)
    if (entry.EventLevel == 0) return &entry;
  return nullptr;
}

void TTimerList::RemoveLevel(std::int32_t level) {
  RemoveIf([level](const TTimerData& entry) { return entry.EventLevel == level; });
}

void TTimerList::RemoveLevels(std::int32_t first, std::int32_t last) {
  RemoveIf([=](const TTimerData& entry) { return entry.EventLevel >= first && entry.EventLevel <= last; });
}

void TTimerList::RemoveRunning() {
  RemoveIf([](const TTimerData& entry) { return entry.EventLevel != 0; });
}

void TTimerList::RemoveWaitingOf(ObjectId sender) {
  RemoveIf([sender](const TTimerData& entry) { return entry.EventLevel == 0 && entry.Sender == sender; });
}

void TTimerList::Remove(const TTimerData* target) {
  RemoveIf([target](const TTimerData& entry) { return &entry == target; });
}

std::size_t TTimerList::WaitingCount() const {
  return static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [](const TTimerData& entry) { return entry.EventLevel == 0; }));
}

}  // namespace kest
