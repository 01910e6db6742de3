#include "images/messages.h"

namespace kest {

const std::string& Message(ImageMessage id) {
  static const MessageTable<ImageMessage, static_cast<std::size_t>(ImageMessage::kCount)> table({
      "識別コードを設定してください",
  });
  return table[id];
}

}  // namespace kest
