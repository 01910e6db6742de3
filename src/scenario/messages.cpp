#include "scenario/messages.h"

namespace kest {

const std::string& Message(ScenarioMessage id) {
  static const MessageTable<ScenarioMessage, static_cast<std::size_t>(ScenarioMessage::kCount)> table({
      "警告",
      "情報",
      "プロジェクトがありません",
      "スタートページがありません",
      "インストールし直してください",
      "ディスクを入れてください",
      "ディスク%dを入れてから[OK]をクリックしてください",
      "終了します",
      "リビルドしてください",
      "不正なコマンド",
      "スタックエラー",
      "%s: not available yet (its subsystem is not built)",
      "the calls are nested too deeply (more than %s)",
  });
  return table[id];
}

}  // namespace kest
