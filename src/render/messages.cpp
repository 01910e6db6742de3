#include "render/messages.h"

namespace kest {

const std::string& Message(RenderMessage id) {
  static const MessageTable<RenderMessage, static_cast<std::size_t>(RenderMessage::kCount)> table({
      "スキャンラインのインデックスが範囲を越えました (%d)",
      "マスク画像 %s を読み込めません",
  });
  return table[id];
}

}  // namespace kest
