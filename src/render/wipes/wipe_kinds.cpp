// The kind table: every transition kind with its code, name, the label the authoring tool
// showed, its class and its default parameters; the flip command's keep modes beside it.

#include <utility>

#include "render/wipes/wipe_makers.h"

namespace kest {

const std::vector<WipeKindInfo>& WipeKinds() {
  static const std::vector<WipeKindInfo> table = {
      {WP_NONE, "WP_NONE", "なし", "", nullptr, 0, 0},
      {WP_FADE, "WP_FADE", "フェード", "TWipeFade", &MakeTWipeFade, 0, 0},
      {WP_BLINDH, "WP_BLINDH", "ブラインド横", "TWipeBlindH", &MakeTWipeBlindH, 20, 1},
      {WP_BLINDV, "WP_BLINDV", "ブラインド縦", "TWipeBlindV", &MakeTWipeBlindV, 20, 1},
      {WP_CURTAINH, "WP_CURTAINH", "カーテン横", "TWipeCurtainH", &MakeTWipeCurtainH, 30, 1},
      {WP_CURTAINV, "WP_CURTAINV", "カーテン縦", "TWipeCurtainV", &MakeTWipeCurtainV, 30, 1},
      {WP_SCROLLH, "WP_SCROLLH", "スクロール横", "TWipeScrollH", &MakeTWipeScrollH, 0, 0},
      {WP_SCROLLV, "WP_SCROLLV", "スクロール縦", "TWipeScrollV", &MakeTWipeScrollV, 0, 0},
      {WP_GRID, "WP_GRID", "格子", "TWipeGrid", &MakeTWipeGrid, 80, 30},
      {WP_GRIDH, "WP_GRIDH", "格子(横)", "TWipeGridH", &MakeTWipeGridH, 80, 30},
      {WP_GRIDV, "WP_GRIDV", "格子(縦)", "TWipeGridV", &MakeTWipeGridV, 80, 30},
      {WP_DITHER, "WP_DITHER", "ディザ", "TWipeDither", &MakeTWipeDither, 0, 0},
      {WP_WHITE, "WP_WHITE", "ホワイト", "TWipeWhite", &MakeTWipeWhite, 0, 0},
      {WP_BLACK, "WP_BLACK", "ブラック", "TWipeBlack", &MakeTWipeBlack, 0, 0},
      {WP_FLASH, "WP_FLASH", "フラッシュ", "TWipeFlash", &MakeTWipeFlash, 0, 0},
      {WP_MOSAIC, "WP_MOSAIC", "モザイク", "TWipeMosaic", &MakeTWipeMosaic, 0, 0},
      {WP_SUDAREH, "WP_SUDAREH", "すだれ横", "TWipeSudareH", &MakeTWipeSudareH, 0, 0},
      {WP_SUDAREV, "WP_SUDAREV", "すだれ縦", "TWipeSudareV", &MakeTWipeSudareV, 0, 0},
      {WP_SPOT, "WP_SPOT", "スポットライト", "TWipeSpot", &MakeTWipeSpot, 0, 0},
      {WP_MASKFADE, "WP_MASKFADE", "マスクフェード", "TWipeShadow", &MakeTWipeShadow, 0, 0},
      {WP_MASKWHITE, "WP_MASKWHITE", "マスクホワイト", "TWipeShadowWhite", &MakeTWipeShadowWhite, 0, 0},
      {WP_MASKBLACK, "WP_MASKBLACK", "マスクブラック", "TWipeShadowBlack", &MakeTWipeShadowBlack, 0, 0},
      {WP_SMALL, "WP_SMALL", "表画面縮小", "TWipeSmall", &MakeTWipeSmall, 0, 0},
      {WP_BIG, "WP_BIG", "裏画面拡大", "TWipeBig", &MakeTWipeBig, 0, 0},
      {WP_RIPPLE, "WP_RIPPLE", "波紋", "TWipeRipple", &MakeTWipeRipple, 5, 0},
      {WP_BLURWHITE, "WP_BLURWHITE", "白ぼかし", "TWipeBlurWhite", &MakeTWipeBlurWhite, 0, 0},
      {WP_BLURBLACK, "WP_BLURBLACK", "黒ぼかし", "TWipeBlurBlack", &MakeTWipeBlurBlack, 0, 0},
      {WP_TWISTH, "WP_TWISTH", "ひねり横", "TWipeTwistH", &MakeTWipeTwistH, 0, 0},
      {WP_TWISTV, "WP_TWISTV", "ひねり縦", "TWipeTwistV", &MakeTWipeTwistV, 0, 0},
      {WP_CRACK, "WP_CRACK", "チップ落下", "TWipeCrack", &MakeTWipeCrack, 64, 3},
      {WP_ZOOMIN, "WP_ZOOMIN", "ズームイン", "TWipeZoomin", &MakeTWipeZoomin, 0, 0},
      {WP_CLOCKHAND, "WP_CLOCKHAND", "時計の針", "TWipeClockhand", &MakeTWipeClockhand, 0, 0},
      {WP_RUBBERH, "WP_RUBBERH", "ゴム(横)", "TWipeRubberH", &MakeTWipeRubberH, 0, 0},
      {WP_RUBBERV, "WP_RUBBERV", "ゴム(縦)", "TWipeRubberV", &MakeTWipeRubberV, 0, 0},
      {WP_FAN, "WP_FAN", "扇", "TWipeFan", &MakeTWipeFan, 0, 0},
      {WP_WFAN, "WP_WFAN", "扇(両側)", "TWipeWFan", &MakeTWipeWFan, 0, 0},
      {WP_CIRCLE, "WP_CIRCLE", "円", "TWipeCircle", &MakeTWipeCircle, 0, 0},
      {WP_BLOCKCOIL, "WP_BLOCKCOIL", "ブロック(とぐろ)", "TWipeBlockCoil", &MakeTWipeBlockCoil, 60, 0},
      {WP_BLOCKRANDOM, "WP_BLOCKRANDOM", "ブロック(ランダム)", "TWipeBlockRandom", &MakeTWipeBlockRandom, 60, 0},
  };
  return table;
}

const std::vector<FlipOptionInfo>& FlipOptions() {
  static const std::vector<FlipOptionInfo> table = {
      {FL_OUT, "FL_OUT", "指定サーフェスを裏に"},
      {FL_STAY, "FL_STAY", "指定サーフェスを表に"},
  };
  return table;
}

const WipeKindInfo* FindWipeKind(std::int32_t code) {
  const auto& table = WipeKinds();
  if (code < 0 || code >= static_cast<std::int32_t>(table.size())) return nullptr;
  return &table[static_cast<std::size_t>(code)];
}

std::unique_ptr<TCustomWipe> CreateWipe(std::int32_t kind, TCustomDIBX& destination, TCustomDIBX& from,
                                        TCustomDIBX& to) {
  const WipeKindInfo* info = FindWipeKind(kind);
  if (info == nullptr || info->make == nullptr) return nullptr;
  std::unique_ptr<TCustomWipe> wipe = info->make(destination, to, from);
  wipe->SetParam(0, info->p0);
  wipe->SetParam(1, info->p1);
  return wipe;
}

}  // namespace kest
