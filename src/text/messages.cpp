#include "text/messages.h"

namespace kest {

const std::string& Message(TextMessage id) {
  static const MessageTable<TextMessage, static_cast<std::size_t>(TextMessage::kCount)> table({
      "<A>タグにHREF値がありません",
      "ＭＳ ゴシック",
      "ＭＳ Ｐゴシック",
  });
  return table[id];
}

}  // namespace kest
