#include "objects/property_enums.h"

#include <array>

#include "objects/kinds.h"

namespace kest {

namespace {

constexpr auto kIgnoreMouse = std::to_array<NamedCode>(
    {{"IM_NONE", IM_NONE}, {"IM_ALL", IM_ALL}, {"IM_CLICK", IM_CLICK}, {"IM_LCLICK", IM_LCLICK}, {"IM_RCLICK", IM_RCLICK}});
constexpr auto kHorizontal = std::to_array<NamedCode>({{"HA_LEFT", 0}, {"HA_CENTER", 1}, {"HA_RIGHT", 2}});
constexpr auto kVertical = std::to_array<NamedCode>({{"VA_TOP", 0}, {"VA_CENTER", 1}, {"VA_BOTTOM", 2}});
constexpr auto kOrientation = std::to_array<NamedCode>({{"OT_HORIZONTAL", 0}, {"OT_VERTICAL", 1}});
constexpr auto kParticleMotion = std::to_array<NamedCode>(
    {{"PM_NONE", 0}, {"PM_SNOW", 1}, {"PM_STAR", 2}, {"PM_FLUFF", 3}, {"PM_TWISTER", 4}});
constexpr auto kMotionType = std::to_array<NamedCode>({{"MT_NORMAL", 0}, {"MT_INC", 1}, {"MT_DEC", 2}});
constexpr auto kPlayMode = std::to_array<NamedCode>({{"LP_PLAY", 0}, {"LP_PLAYFADE", 1}, {"LP_STOP", 2}, {"LP_STOPFADE", 3}});
constexpr auto kFontStyle = std::to_array<NamedCode>({{"FS_BOLD", 1}, {"FS_ITALIC", 2}, {"FS_UNDERLINE", 4}, {"FS_STRIKEOUT", 8}});

const std::array<PropertyEnum, 8> kEnums = {{
    {"IM_", kIgnoreMouse},
    {"HA_", kHorizontal},
    {"VA_", kVertical},
    {"OT_", kOrientation},
    {"PM_", kParticleMotion},
    {"MT_", kMotionType},
    {"LP_", kPlayMode},
    {"FS_", kFontStyle, true},
}};

// Which property holds which table's codes (property ids).
struct PropertyOfEnum {
  std::size_t property;
  std::string_view prefix;
};
constexpr PropertyOfEnum kPropertyEnums[] = {
    {17, "FS_"},  // PR_FONTSTYLE
    {23, "FS_"},  // PR_FONTHOVERSTYLE
    {53, "HA_"},  // PR_HALIGN
    {63, "HA_"},  {64, "HA_"}, {65, "HA_"},  // PR_BORDERHALIGNT, C, B
    {66, "VA_"},  {67, "VA_"}, {68, "VA_"},  // PR_BORDERVALIGNL, C, R
    {80, "IM_"},  // PR_IGNOREMOUSE
    {94, "PM_"},  // PR_PARTMOTION
    {126, "OT_"},  // PR_ORIENTATION
};

}  // namespace

std::span<const PropertyEnum> PropertyEnums() { return kEnums; }

const PropertyEnum* EnumByPrefix(std::string_view prefix) {
  for (const PropertyEnum& table : kEnums)
    if (table.prefix == prefix) return &table;
  return nullptr;
}

const PropertyEnum* EnumOfProperty(std::size_t id) {
  for (const PropertyOfEnum& entry : kPropertyEnums)
    if (entry.property == id) return EnumByPrefix(entry.prefix);
  return nullptr;
}

}  // namespace kest
