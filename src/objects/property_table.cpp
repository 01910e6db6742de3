#include "objects/property_table.h"

#include <array>
#include <initializer_list>

#include "objects/object.h"

namespace kest {

namespace {

constexpr KindSet K(std::initializer_list<std::uint8_t> kinds) {
  KindSet set = 0;
  for (std::uint8_t kind : kinds) set |= KindBit(kind);
  return set;
}

using A = PropertyAccess;
using S = KindScope;

constexpr PropertyRule Rw(KindSet kinds) { return {A::ReadWrite, S::Listed, kinds, 0}; }
constexpr PropertyRule Ro(KindSet kinds) { return {A::ReadOnly, S::Listed, kinds, 0}; }
constexpr PropertyRule kAll{A::ReadWrite, S::All, 0, 0};
constexpr PropertyRule kVisual{A::ReadWrite, S::Visual, 0, 0};

// Kind lists that several properties share.
constexpr KindSet kFontKinds = K({LT_EDIT, LT_LABEL, LT_MEMO, LT_MENU, LT_MES});
constexpr KindSet kZoomKinds = K({LT_BUTTON, LT_FIRE, LT_IMAGES, LT_LABEL, LT_VIDEO, LT_TILE});
constexpr KindSet kFlipKinds = K({LT_BUTTON, LT_IMAGES, LT_LABEL, LT_VIDEO, LT_TILE});
constexpr KindSet kMenuOnly = K({LT_MENU});
constexpr KindSet kMesOnly = K({LT_MES});
constexpr KindSet kMenuMes = K({LT_MENU, LT_MES});
constexpr KindSet kSliders = K({LT_SLIDER, LT_SCROLLBAR});
constexpr KindSet kSliderGauge = K({LT_SLIDER, LT_SCROLLBAR, LT_GAUGE});
constexpr KindSet kMediaKinds = K({LT_CINEMA, LT_VIDEO, LT_SOUND});
constexpr KindSet kSelectKinds = K({LT_MENU, LT_MAPIMG, LT_PREVMENU});
constexpr KindSet kParticle = K({LT_PARTICLE});
constexpr KindSet kTile = K({LT_TILE});
constexpr KindSet kWave = K({LT_WAVE});
constexpr KindSet kButton = K({LT_BUTTON});
constexpr KindSet kCGLabel = K({LT_CGLABEL});

constexpr std::array<PropertyRule, kPropertyCount> kRules = {{
    kAll,                                                                              // 0 PR_NAME
    kVisual,                                                                           // 1 PR_PARENT
    Rw(K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_HTTP, LT_IMAGES, LT_LABEL, LT_PARTICLE, LT_VIDEO, LT_SOUND,
          LT_MAPIMG, LT_TILE, LT_SLIDER, LT_SCROLLBAR, LT_GAUGE, LT_CGLABEL, LT_PREVMENU})),  // 2 PR_SOURCE
    kVisual, kVisual, kVisual, kVisual,                                                // 3-6 position, size
    Rw(kZoomKinds),                                                                    // 7 PR_ZOOMX
    kVisual,                                                                           // 8 PR_COLOR
    Rw(K({LT_BOX, LT_MENU})), Rw(K({LT_BOX, LT_MENU})),                                // 9, 10 border
    Rw(K({LT_BOX, LT_BUTTON, LT_IMAGES, LT_LABEL, LT_MENU, LT_MES, LT_PARTICLE, LT_VIDEO, LT_MAPIMG,
          LT_TILE, LT_SLIDER, LT_SCROLLBAR, LT_GAUGE, LT_CGLABEL})),                   // 11 PR_ALPHA
    kAll,                                                                              // 12 PR_PRIORITY
    kVisual, kVisual,                                                                  // 13, 14 offsets
    Rw(kFontKinds), Rw(kFontKinds),                                                    // 15, 16 font
    Rw(K({LT_EDIT, LT_LABEL, LT_MEMO, LT_MENU})),                                      // 17 PR_FONTSTYLE
    Rw(K({LT_LABEL, LT_MENU, LT_MES, LT_CGLABEL})),                                    // 18 PR_LINESPACE
    Rw(kFontKinds),                                                                    // 19 PR_FONTCOLOR
    Rw(kMesOnly),                                                                      // 20 PR_FONTLINKCOLOR
    Rw(kMenuMes), Rw(kMenuMes),                                                        // 21, 22
    Rw(kMenuOnly), Rw(kMenuOnly),                                                      // 23, 24
    Rw(K({LT_LABEL, LT_MENU, LT_MES})),                                                // 25 PR_ANTIALIAS
    Rw(K({LT_MENU, LT_MES, LT_TIMER, LT_VIDEO, LT_SOUND, LT_WAVE, LT_GAUGE})),         // 26 PR_DELAY
    Rw(K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_EDIT, LT_FIRE, LT_IMAGES, LT_LABEL, LT_MEMO, LT_MENU, LT_MES,
          LT_PARTICLE, LT_TIMER, LT_VIDEO, LT_SOUND, LT_MAPIMG, LT_WAVE, LT_TILE, LT_SLIDER, LT_SCROLLBAR,
          LT_GAUGE, LT_CGLABEL, LT_PREVMENU, LT_PROPMOTION})),                         // 27 PR_PAUSED
    Rw(kMediaKinds),                                                                   // 28 PR_VOLUME
    {A::ReadWrite, S::Listed,
     K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_IMAGES, LT_LABEL, LT_VIDEO, LT_SOUND, LT_MAPIMG, LT_TILE}),
     K({LT_MAPIMG, LT_TILE})},                                                         // 29 PR_REPEAT
    Rw(K({LT_VIDEO, LT_SOUND})),                                                       // 30 PR_BALANCE
    Rw(kFlipKinds),                                                                    // 31 PR_ANGLE
    Rw(kMesOnly),                                                                      // 32 PR_ONPLAYING
    Rw(K({LT_BUTTON, LT_EDIT, LT_MEMO, LT_MES, LT_TIMER, LT_SLIDER, LT_SCROLLBAR})),   // 33 PR_ONNOTIFY
    kVisual, kVisual, kVisual, kVisual, kVisual, kVisual, kVisual, kVisual,            // 34-41 mouse events
    Rw(K({LT_BUTTON, LT_IMAGES, LT_MAPIMG, LT_TILE})),                                 // 42 PR_BRIGHTNESS
    Rw(K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_HTTP, LT_IMAGES, LT_LABEL, LT_MES, LT_VIDEO, LT_SOUND,
          LT_PREVMENU})),                                                              // 43 PR_ONPLAYEND
    Rw(K({LT_BUTTON, LT_CINEMA, LT_IMAGES, LT_MENU, LT_MES, LT_PARTICLE, LT_VIDEO, LT_SOUND,
          LT_TILE})),                                                                  // 44 PR_INDEX
    Ro(K({LT_BUTTON, LT_CINEMA, LT_IMAGES, LT_MENU, LT_MES, LT_VIDEO, LT_SOUND, LT_TILE,
          LT_PREVMENU})),                                                              // 45 PR_COUNT
    Rw(kMesOnly),                                                                      // 46 PR_ONLINK
    kVisual,                                                                           // 47 PR_VISIBLE
    Rw(0),                                                                             // 48 PR_COLCOUNT
    Rw(kMenuOnly),                                                                     // 49 PR_ROWCOUNT
    {A::ReadWrite, S::Listed,
     K({LT_EDIT, LT_HTTP, LT_LABEL, LT_MEMO, LT_MENU, LT_MES, LT_CGLABEL, LT_PREVMENU}),
     K({LT_HTTP, LT_PREVMENU})},                                                       // 50 PR_TEXT
    Rw(kMenuOnly), Rw(kMenuOnly),                                                      // 51, 52 margins
    Rw(K({LT_LABEL, LT_MEMO, LT_MENU, LT_CGLABEL})),                                   // 53 PR_HALIGN
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),         // 54-58 border images
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),                        // 59-62
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),                                       // 63-65 h aligns
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),                                       // 66-68 v aligns
    Rw(kMenuOnly), Rw(kMenuOnly),                                                      // 69, 70
    Rw(K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_IMAGES, LT_LABEL, LT_MENU, LT_TIMER, LT_VIDEO, LT_SOUND,
          LT_MAPIMG, LT_PREVMENU})),                                                   // 71 PR_AUTOSCRAP
    Rw(kSelectKinds),                                                                  // 72 PR_ONSELECT
    Rw(kSelectKinds),                                                                  // 73 PR_RCLICKSCRAP
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),                        // 74-77 menu events
    Ro(kMesOnly), Ro(kMesOnly),                                                        // 78, 79 caret
    kVisual,                                                                           // 80 PR_IGNOREMOUSE
    Rw(kMesOnly), Rw(kMesOnly),                                                        // 81, 82 text pacing
    Rw(K({LT_BUTTON, LT_MAPIMG})),                                                     // 83 PR_HOVERSOURCE
    Rw(kButton), Rw(kButton), Rw(kButton), Rw(kButton),                                // 84-87 button
    Rw(K({LT_BUTTON, LT_IMAGES, LT_VIDEO, LT_TILE, LT_SLIDER, LT_SCROLLBAR})),         // 88 PR_CAPTUREMASK
    Rw(K({LT_FIRE})),                                                                  // 89 PR_POWER
    {A::ReadOnly, S::Listed, K({LT_BUTTON, LT_FIRE, LT_IMAGES, LT_VIDEO, LT_TILE, LT_CGLABEL}),
     K({LT_FIRE})},                                                                    // 90 PR_ORIGWIDTH
    {A::ReadOnly, S::Listed, K({LT_BUTTON, LT_FIRE, LT_IMAGES, LT_MENU, LT_VIDEO, LT_TILE, LT_CGLABEL}),
     K({LT_FIRE})},                                                                    // 91 PR_ORIGHEIGHT
    {A::WriteError, S::Listed, 0, 0}, {A::WriteError, S::Listed, 0, 0},                // 92, 93 appear
    Rw(kParticle), Rw(kParticle), Rw(kParticle),                                       // 94-96
    Rw(kMenuOnly),                                                                     // 97 PR_TOPINDEX
    Rw(K({LT_EDIT, LT_MEMO})),                                                         // 98 PR_READONLY
    kVisual, kVisual,                                                                  // 99, 100
    Rw(kMesOnly),                                                                      // 101 PR_ONPLAYSTART
    Rw(kParticle),                                                                     // 102 PR_PARAM3
    kVisual,                                                                           // 103 PR_ONMOUSEIN
    Rw(kSelectKinds), Rw(kSelectKinds),                                                // 104, 105 map in/out
    Rw(K({LT_MAPIMG})),                                                                // 106 PR_MAPSOURCE
    Rw(kWave), Rw(kWave),                                                              // 107, 108
    Rw(kTile), Rw(K({LT_MES, LT_TILE})),                                               // 109, 110 scroll
    Rw(kFlipKinds), Rw(kFlipKinds),                                                    // 111, 112 flips
    Rw(K({LT_BOX, LT_BUTTON, LT_CINEMA, LT_FIRE, LT_IMAGES, LT_LABEL, LT_MENU, LT_MES, LT_PARTICLE,
          LT_VIDEO, LT_MAPIMG, LT_WAVE, LT_TILE, LT_SLIDER, LT_SCROLLBAR, LT_GAUGE, LT_CGLABEL,
          LT_PREVMENU})),                                                              // 113 PR_ONIDLE
    Rw(kTile), Rw(kTile),                                                              // 114, 115 distance
    kVisual, kVisual, kVisual, kVisual,                                                // 116-119 clip
    Rw(K({LT_PARTICLE, LT_GAUGE})),                                                    // 120 PR_DURATION
    Rw(kSliders), Rw(kSliders),                                                        // 121, 122
    Rw(kSliderGauge), Rw(kSliderGauge), Rw(kSliderGauge), Rw(kSliderGauge),            // 123-126
    Rw(kSliders),                                                                      // 127 PR_SMALLCHANGE
    Rw(K({LT_SCROLLBAR})),                                                             // 128 PR_LARGECHANGE
    Rw(kCGLabel), Rw(kCGLabel), Rw(kCGLabel),                                          // 129-131
    Rw(kZoomKinds),                                                                    // 132 PR_ZOOMY
    Rw(kButton),                                                                       // 133 PR_CLICKEDSOURCE
    {A::ReadWrite, S::VisualSound, 0, 0},                                              // 134 PR_ANIPAUSED
    Rw(kSliders), Rw(kSliders),                                                        // 135, 136
    Rw(K({LT_GAUGE})),                                                                 // 137 PR_REVERSE
    {A::ReadOnly, S::VisualSound, 0, 0},                                               // 138 PR_PLAYING
    Rw(kMediaKinds),                                                                   // 139 PR_REWINDONLOAD
    {A::ReadOnly, S::All, 0, 0},                                                       // 140 PR_COMPOTYPE
    Rw(kMenuMes), Rw(kMenuMes), Rw(kMenuMes),                                          // 141-143 font shadow
    kVisual, kVisual, kVisual, kVisual, kVisual, kVisual,                              // 144-149 keys, focus
    Rw(K({LT_VIDEO})),                                                                 // 150 PR_OVERLAY
    kAll,                                                                              // 151 PR_TAG
    Rw(kMesOnly),                                                                      // 152 PR_CAPTURELINK
    Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly), Rw(kMenuOnly),                        // 153-156 hover font
    Rw(kSliderGauge),                                                                  // 157 PR_BARSIZE
    Rw(kMediaKinds),                                                                   // 158 PR_MUTEONLOAD
    kVisual, kVisual,                                                                  // 159, 160 plus
    Ro(kMesOnly),                                                                      // 161 PR_CARETHEIGHT
}};

}  // namespace

const PropertyRule& RuleOf(std::uint8_t id) { return kRules[id]; }

std::string_view PropertyTypeName(PropertyValue type) {
  switch (type) {
    case PropertyValue::Int: return "int";
    case PropertyValue::Bool: return "bool";
    case PropertyValue::Float: return "float";
    case PropertyValue::String: return "string";
    case PropertyValue::Event: return "event";
  }
  return "";
}

std::string_view PropertyAccessName(PropertyAccess access) {
  return access == PropertyAccess::ReadWrite ? "rw" : "r";
}

bool Implements(const TKestObject& object, std::uint8_t id) {
  if (id >= kPropertyCount) return false;
  const PropertyRule& rule = kRules[id];
  const std::uint8_t kind = object.GetCompoType();
  switch (rule.scope) {
    case KindScope::All: return true;
    case KindScope::Visual: return object.IsControl();
    case KindScope::VisualSound: return object.IsControl() || kind == LT_SOUND;
    case KindScope::Listed: return kind < kKindCount && (rule.kinds & KindBit(kind)) != 0;
  }
  return false;
}

bool IsWritable(const TKestObject& object, std::uint8_t id) {
  if (!Implements(object, id)) return false;
  const PropertyRule& rule = kRules[id];
  if (rule.access == PropertyAccess::WriteError) return false;
  const std::uint8_t kind = object.GetCompoType();
  const bool flipped = kind < kKindCount && (rule.flipped_access & KindBit(kind)) != 0;
  return (rule.access == PropertyAccess::ReadWrite) != flipped;
}

}  // namespace kest
