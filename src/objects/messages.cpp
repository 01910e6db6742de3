#include "objects/messages.h"

namespace kest {

const std::string& Message(ObjectMessage id) {
  static const MessageTable<ObjectMessage, static_cast<std::size_t>(ObjectMessage::kCount)> table({
      "GetPropエラー",
      "SetPropエラー",
      "プロパティ指定が不正です",
  });
  return table[id];
}

}  // namespace kest
