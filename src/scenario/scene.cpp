#include "scenario/scene.h"

namespace kest {

std::string TEmptyScene::ObjectName(ObjectId object) const {
  if (object < first_id_ || object - first_id_ >= names_.size()) return {};
  return names_[object - first_id_];
}

ObjectId TEmptyScene::StandInSender(std::string_view name) {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == name) return first_id_ + static_cast<ObjectId>(i);
  names_.emplace_back(name);
  return first_id_ + static_cast<ObjectId>(names_.size() - 1);
}

void TEmptyScene::Reset() {
  events_.Clear();
  // Ids are never reused: the next objects start after the ones that went.
  first_id_ += static_cast<ObjectId>(names_.size());
  names_.clear();
}

}  // namespace kest
