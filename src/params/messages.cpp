#include "params/messages.h"

namespace kest {

const std::string& Message(ParamsMessage id) {
  static const MessageTable<ParamsMessage, static_cast<std::size_t>(ParamsMessage::kCount)> table({
      "配列の添字が不正です",
      "配列の要素数[%s]が不正です",
      "CopyMem:変数の型があいません",
      "\"%s\"：変数名が不正です",
      "%s:不正な変数です",
      "変数名がありません",
      "内部エラー",
      "構文エラー",
      "配列の添え字が不正です",
      "\"%s\" 関数名がありません",
      " 引数の数が不正です",
      "\"%s\" 変数がありません",
      "GetPropの引数が違います",
      "添え字が不正です",
      "要素数を超えています",
      "不正な式:%s",
      "0で除算しました",
      "浮動小数点演算が不正です",
      ":変数が見つかりません",
      "JPos:検索する文字列が空です",
      "%s: not available yet (its subsystem is not built)",
      "Calc: nested deeper than %d levels",
      "expression text of %d bytes is longer than the limit of %d",
      "日付または時刻が不正です",
      "文字列が長すぎます(%d バイトまで)",
  });
  return table[id];
}

}  // namespace kest
