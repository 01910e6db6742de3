#include "objects/components.h"


namespace kest {

namespace {
constexpr std::string_view kKindNames[kKindCount] = {
    "LT_NONE",     "LT_AUDIO",  "LT_BOX",       "LT_BUTTON",   "LT_CINEMA",  "LT_EDIT",     "LT_FIRE",
    "LT_HTTP",     "LT_IMAGES", "LT_LABEL",     "LT_MAP",      "LT_MEMO",    "LT_MENU",     "LT_MES",
    "LT_PARTICLE", "LT_TIMER",  "LT_VIDEO",     "LT_SOUND",    "LT_MAPIMG",  "LT_WAVE",     "LT_TILE",
    "LT_SLIDER",   "LT_SCROLLBAR", "LT_GAUGE",  "LT_CGLABEL",  "LT_PREVMENU", "LT_PROPMOTION", "LT_CABINET"};
}  // namespace

std::string_view KindName(std::uint8_t kind) { return kind < kKindCount ? kKindNames[kind] : std::string_view(); }

std::unique_ptr<TKestObject> MakeObjectOfKind(TKestBaseList& owner, std::uint8_t kind) {
  switch (kind) {
    case LT_BOX: return std::make_unique<TKestBox>(owner);
    case LT_BUTTON: return std::make_unique<TKestButton>(owner);
    case LT_CINEMA: return std::make_unique<TKestCinema>(owner);
    case LT_EDIT: return std::make_unique<TKestEdit>(owner);
    case LT_FIRE: return std::make_unique<TKestFire>(owner);
    case LT_HTTP: return std::make_unique<TKestHttp>(owner);
    case LT_IMAGES: return std::make_unique<TKestImages>(owner);
    case LT_LABEL: return std::make_unique<TKestLabel>(owner);
    case LT_MEMO: return std::make_unique<TKestMemo>(owner);
    case LT_MENU: return std::make_unique<TKestMenu>(owner);
    case LT_MES: return std::make_unique<TKestMes>(owner);
    case LT_PARTICLE: return std::make_unique<TKestParticle>(owner);
    case LT_TIMER: return std::make_unique<TKestTimer>(owner);
    case LT_VIDEO: return std::make_unique<TKestVideo>(owner);
    case LT_SOUND: return std::make_unique<TKestSound>(owner);
    case LT_MAPIMG: return std::make_unique<TKestMapImage>(owner);
    case LT_WAVE: return std::make_unique<TKestWave>(owner);
    case LT_TILE: return std::make_unique<TKestTile>(owner);
    case LT_SLIDER: return std::make_unique<TKestSlider>(owner);
    case LT_SCROLLBAR: return std::make_unique<TKestScrollbar>(owner);
    case LT_GAUGE: return std::make_unique<TKestGauge>(owner);
    case LT_CGLABEL: return std::make_unique<TKestCGLabel>(owner);
    case LT_PREVMENU: return std::make_unique<TKestPrevMenu>(owner);
    case LT_PROPMOTION: return std::make_unique<TKestPropMotion>(owner);
    case LT_CABINET: return std::make_unique<TKestCabinet>(owner);
    default: return nullptr;  // 0, 1, 10 and above 27 name no class
  }
}

}  // namespace kest
