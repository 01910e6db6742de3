#include "scenario/command_types.h"

namespace kest {

namespace {

using K = FieldKind;
using R = FieldRole;

constexpr FieldSpec kCondition[] = {{K::Expression, "if", 0, R::Condition}};
constexpr FieldSpec kLabel[] = {{K::String, "name"}};
constexpr FieldSpec kJump[] = {{K::String, "page", 0, R::PageName}, {K::Int, "target", 0, R::Target},
                               {K::Expression, "if", 0, R::Condition}};
constexpr FieldSpec kCall[] = {{K::String, "page", 0, R::PageName}, {K::Int, "target", 0, R::Target},
                               {K::String, "result"}, {K::Expression, "if", 0, R::Condition},
                               {K::ExpressionList, "args"}};
// `Wait 500` waits 500 ms: the condition, stored first, is written by name.
constexpr FieldSpec kWait[] = {{K::Expression, "if", 0, R::Condition, true}, {K::Expression, "time"},
                               {K::Expression, "hold", 107}};
constexpr FieldSpec kComponent[] = {{K::Properties, "properties"}};
constexpr FieldSpec kFlip[] = {{K::Expression, "wipe", 0, R::WipeKind},
                               {K::Expression, "duration"},
                               {K::Expression, "reverse"},
                               {K::Expression, "keep", 0, R::KeepMode},
                               {K::ExpressionList, "names"}, {K::Expression, "clear"},
                               {K::Expression, "param1"},   {K::Expression, "param2"},
                               {K::Expression, "mask", 101}, {K::Expression, "hold", 107}};
constexpr FieldSpec kOneExpression[] = {{K::Expression, "value"}};
constexpr FieldSpec kVarNew[] = {{K::String, "name"}, {K::Byte, "type", 0, R::VariableType},
                                 {K::Expression, "value"}, {K::Byte, "scope", 0, R::VariableScope}};
constexpr FieldSpec kVarDel[] = {{K::String, "name"}};
constexpr FieldSpec kGetProp[] = {{K::Expression, "object"}, {K::Expression, "property", 0, R::PropertyId},
                                  {K::String, "variable"}};
constexpr FieldSpec kSetProp[] = {{K::Expression, "object"}, {K::Expression, "property", 0, R::PropertyId},
                                  {K::Expression, "value", 0, R::PropertyValue}};
constexpr FieldSpec kObjDel[] = {{K::Expression, "object"}};
constexpr FieldSpec kTextIns[] = {{K::Text, "text"}, {K::Expression, "box"}, {K::Expression, "source"},
                                  {K::Expression, "wait"}, {K::Expression, "hold", 107}};
constexpr FieldSpec kMovieStop[] = {{K::Expression, "object"}, {K::Expression, "fade"}, {K::Expression, "wait"},
                                    {K::Expression, "hold", 107}};
constexpr FieldSpec kComment[] = {{K::String, "text"}};
constexpr FieldSpec kCallHist[] = {{K::Expression, "box"}, {K::Expression, "start"}, {K::Expression, "count"},
                                   {K::Expression, "flag"}};
constexpr FieldSpec kWhile[] = {{K::Expression, "if", 0, R::Condition}, {K::Int, "exit", 0, R::LoopExit}};
constexpr FieldSpec kWhileLoop[] = {{K::Expression, "value"}, {K::Int, "loop", 0, R::LoopStart}};
constexpr FieldSpec kBreak[] = {{K::Expression, "if", 0, R::Condition}, {K::Int, "target", 0, R::BreakTarget}};
constexpr FieldSpec kContinue[] = {{K::Expression, "if", 0, R::Condition},
                                   {K::Int, "target", 0, R::ContinueTarget}};
constexpr FieldSpec kGameSave[] = {{K::Expression, "slot"}, {K::String, "page", 0, R::PageName},
                                   {K::Int, "target", 105, R::Target}, {K::Expression, "caption"}};
constexpr FieldSpec kGameLoad[] = {{K::Expression, "slot"}};
constexpr FieldSpec kPCReset[] = {{K::String, "page", 0, R::PageName}, {K::Int, "target", 0, R::Target},
                                  {K::Byte, "full"}};
constexpr FieldSpec kPropMotion[] = {{K::Expression, "name"},
                                     {K::Expression, "object"},
                                     {K::Expression, "property", 0, R::PropertyId},
                                     {K::Expression, "value"},
                                     {K::Expression, "duration"},
                                     {K::Expression, "motion", 0, R::MotionType},
                                     {K::Expression, "paused", 108}};
constexpr FieldSpec kCabinet[] = {{K::Properties, "properties"}, {K::Expression, "mode"},
                                  {K::ExpressionList, "names"}};
constexpr std::span<const FieldSpec> kNone;

constexpr FrameRule kContinues = FrameRule::AlwaysContinues;
constexpr FrameRule kStops = FrameRule::NeverContinues;
constexpr FrameRule kStored = FrameRule::Stored;

const std::array<CommandSpec, kCommandTypeCount> kSpecs = {{
    {0, "If", "IF", "TComIf", kCondition},
    {1, "Elseif", "ELSE IF", "TComElseif", kCondition},
    {2, "Else", "ELSE", "TComElse", kNone, kContinues},
    {3, "Label", "ラベル", "TComLabel", kLabel},
    {4, "Jump", "ジャンプ", "TComJump", kJump},
    {5, "Call", "コール", "TComCall", kCall},
    {6, "Exit", "リターン", "TComExit", kCondition},
    {7, "Wait", "ウエイト", "TComWait", kWait},
    {8, "BoxNew", "矩形サーフェス作成", "TComBoxNew", kComponent},
    {9, "ImgNew", "画像サーフェス作成", "TComImgNew", kComponent},
    {10, "MesNew", "メッセージボックス作成", "TComMesNew", kComponent},
    {11, "Timer", "タイマー", "TComTimer", kComponent},
    {12, "Movie", "ムービー再生", "TComMovie", kComponent},
    {13, "Flip", "フリップ", "TComFlip", kFlip},
    {14, "Calc", "計算", "TComCalc", kOneExpression},
    {15, "VarNew", "変数作成", "TComVarNew", kVarNew},
    {16, "VarDel", "変数削除", "TComVarDel", kVarDel},
    {17, "GetProp", "プロパティ取得", "TComGetProp", kGetProp},
    {18, "SetProp", "プロパティ設定", "TComSetProp", kSetProp},
    {19, "ObjDel", "コンポーネント削除", "TComObjDel", kObjDel},
    {20, "TextIns", "テキスト挿入", "TComTextIns", kTextIns},
    {21, "MovieStop", "メディア停止", "TComMovieStop", kMovieStop},
    {22, "ClrHist", "履歴クリア", "TComClrHist", kNone},
    {23, "Cinema", "シネマサーフェス作成", "TComCinema", kComponent},
    {24, "Caption", "キャプション作成", "TComCaption", kComponent},
    {25, "Menu", "メニュー作成", "TComMenu", kComponent},
    {26, "MenuClose", "メニュークローズ", "TComMenuClose", kOneExpression},
    {27, "Comment", "コメント", "TComComment", kComment, kStored, true},
    {28, "TextClr", "テキストクリア", "TComTextClr", kOneExpression},
    {29, "CallHist", "履歴呼出", "TComCallHist", kCallHist},
    {30, "Button", "ボタン作成", "TComBtnNew", kComponent},
    {31, "While", "ループ", "TComWhile", kWhile},
    {32, "WhileInit", "ループ初期化", "TComWhileInit", kOneExpression, kContinues},
    {33, "WhileLoop", "ループ再初期化", "TComWhileLoop", kWhileLoop, kContinues},
    {34, "Break", "ループ脱出", "TComBreak", kBreak},
    {35, "Continue", "ループ先頭へ", "TComContinue", kContinue},
    {36, "ParticleNew", "パーティクルサーフェス作成", "TComParticleNew", kComponent},
    {37, "FireNew", "炎サーフェス作成", "TComFireNew", kComponent},
    {38, "GameSave", "ゲームセーブ", "TComGameSave", kGameSave, kStops},
    {39, "GameLoad", "ゲームロード", "TComGameLoad", kGameLoad, kStops},
    {40, "PCReset", "PCリセット", "TComPCReset", kPCReset},
    {41, "Reset", "リセット", "TComReset", kPCReset},
    {42, "Sound", "サウンド再生", "TComSound", kComponent},
    {43, "EditNew", "エディット作成", "TComEditNew", kComponent},
    {44, "MemoNew", "メモ作成", "TComMemoNew", kComponent},
    {45, "Terminate", "終了", "TComTerminate", kNone},
    {46, "DoEvent", "DoEvent", "TComDoEvent", kNone, kStops},
    {47, "ClrRead", "既読クリア", "TComClrRead", kNone},
    {48, "MapImgNew", "選択画像作成", "TComMapImgNew", kComponent},
    {49, "WaveNew", "ウエーブサーフェス作成", "TComWaveNew", kComponent},
    {50, "TileNew", "タイルサーフェス作成", "TComTileNew", kComponent},
    {51, "SliderNew", "スライダー作成", "TComSliderNew", kComponent},
    {52, "ScrollbarNew", "スクロールバー作成", "TComScrollbarNew", kComponent},
    {53, "GaugeNew", "ゲージ作成", "TComGaugeNew", kComponent},
    {54, "CGCaption", "画像キャプション作成", "TComCGCaption", kComponent},
    {55, "MediaPlay", "メディア再生", "TComMediaPlay", kOneExpression},
    {56, "PrevMenuNew", "プレビューメニュー作成", "TComPrevMenuNew", kComponent},
    {57, "PropMotion", "プロパティモーション", "TComPropMotion", kPropMotion},
    {58, "FormatHist", "履歴書式登録", "TComEntryHist", kOneExpression},
    {59, "SaveCabinet", "キャビネット保存", "TComCabinetSave", kCabinet},
    {60, "LoadCabinet", "キャビネット復帰", "TComCabinetLoad", kCabinet},
}};

}  // namespace

const std::array<CommandSpec, kCommandTypeCount>& CommandSpecs() { return kSpecs; }

const CommandSpec* FindCommandSpec(std::uint8_t type_byte) {
  const std::uint8_t id = type_byte & 0x7F;
  return id < kCommandTypeCount ? &kSpecs[id] : nullptr;
}

const CommandSpec* FindCommandSpec(std::string_view name) {
  for (const CommandSpec& spec : kSpecs)
    if (spec.name == name) return &spec;
  return nullptr;
}

}  // namespace kest
