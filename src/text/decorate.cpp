#include "text/decorate.h"

#include <functional>
#include <stdexcept>

namespace kest {

bool TDecorate::SameLook(const TDecorate& other) const {
  return color == other.color && border_color == other.border_color && shadow_color == other.shadow_color &&
         size == other.size && style == other.style && face_name == other.face_name &&
         no_break == other.no_break && ruby == other.ruby && border == other.border && shadow == other.shadow;
}

std::size_t TDecorateList::LookHash::operator()(const TDecorate* look) const {
  std::size_t hash = std::hash<std::string>{}(look->face_name) ^ (std::hash<std::string>{}(look->ruby) << 1);
  for (std::int64_t field : {std::int64_t{look->color}, std::int64_t{look->border_color},
                             std::int64_t{look->shadow_color}, std::int64_t{look->size},
                             std::int64_t{look->style}, std::int64_t{look->no_break},
                             std::int64_t{look->border}, std::int64_t{look->shadow}})
    hash = hash * 1000003u ^ std::hash<std::int64_t>{}(field);
  return hash;
}

TDecorateList::Index TDecorateList::NewSlot(const TDecorate& look) {
  auto decoration = std::make_unique<TDecorate>(look);
  decoration->ref_count = 1;
  Index index;
  if (!free_slots_.empty()) {
    index = free_slots_.back();
    free_slots_.pop_back();
    slots_[index] = std::move(decoration);
  } else {
    index = static_cast<Index>(slots_.size());
    slots_.push_back(std::move(decoration));
  }
  by_look_.emplace(slots_[index].get(), index);
  return index;
}

TDecorateList::Index TDecorateList::Acquire(const TDecorate& look) {
  const auto found = by_look_.find(&look);
  if (found != by_look_.end()) {
    ++slots_[found->second]->ref_count;
    return found->second;
  }
  return NewSlot(look);
}

void TDecorateList::AddRef(Index index, std::int32_t count) {
  if (!InUse(index)) throw std::out_of_range("decoration index not in use");
  slots_[index]->ref_count += count;
}

void TDecorateList::Release(Index index) {
  if (!InUse(index)) throw std::out_of_range("decoration index not in use");
  if (--slots_[index]->ref_count > 0) return;
  by_look_.erase(slots_[index].get());
  slots_[index].reset();
  free_slots_.push_back(index);
}

TDecorateList::Index TDecorateList::Change(Index held, const TDecorate& look) {
  if (!InUse(held)) throw std::out_of_range("decoration index not in use");
  const auto found = by_look_.find(&look);
  if (found != by_look_.end()) {
    if (found->second == held) return held;
    ++slots_[found->second]->ref_count;
    const Index shared = found->second;
    Release(held);
    return shared;
  }
  TDecorate& own = *slots_[held];
  if (own.ref_count == 1) {  // nobody shares it: changed in place, keeping its index
    by_look_.erase(&own);
    const std::int32_t count = own.ref_count;
    own = look;
    own.ref_count = count;
    by_look_.emplace(&own, held);
    return held;
  }
  Release(held);
  return NewSlot(look);
}

void TDecorateList::Clear() {
  by_look_.clear();
  slots_.clear();
  free_slots_.clear();
}

}  // namespace kest
