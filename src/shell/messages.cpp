#include "shell/messages.h"

namespace kest::shell {

const std::string& Message(ShellMessage id) {
  static const MessageTable<ShellMessage, static_cast<std::size_t>(ShellMessage::kCount)> table({
      "「%s」を終了しますか？",
      "確認",
  });
  return table[id];
}

}  // namespace kest::shell
