#include "shell/messages.h"

namespace kest::shell {

const std::string& Message(ShellMessage id) {
  static const MessageTable<ShellMessage, static_cast<std::size_t>(ShellMessage::kCount)> table({
      "「%s」を終了しますか？",
      "確認",
      "OK",
      "キャンセル",
      "はい(Y)",
      "いいえ(N)",
      "終了",
      "画面切替",
      "動作設定",
      "DirectSoundを使用する(&S)",
      "サウンドの遅延時間(&D)：",
      "%dms",
  });
  return table[id];
}

}  // namespace kest::shell
