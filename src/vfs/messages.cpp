#include "vfs/messages.h"

namespace kest {

const std::string& Message(VfsMessage id) {
  static const MessageTable<VfsMessage, static_cast<std::size_t>(VfsMessage::kCount)> table({
      "%s:ファイルがありません",
      "リソースが見つかりません",
      "作業用ファイルが作れません",
  });
  return table[id];
}

}  // namespace kest
