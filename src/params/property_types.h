#pragma once
// The display objects' property table as data: the name of each of the 162 properties, by id,
// and the kind of value it holds. GetProp's temporary takes the type of the property read.
// Event properties hold a script reference as text.

#include <array>
#include <cstdint>
#include <string_view>

#include "params/param_types.h"

namespace kest {

enum class PropertyValue : std::uint8_t { Int, Bool, Float, String, Event };

struct PropertyInfo {
  std::string_view name;
  PropertyValue value;
};

inline constexpr std::size_t kPropertyCount = 162;

inline constexpr std::array<PropertyInfo, kPropertyCount> kProperties = {{
    {"PR_NAME", PropertyValue::String},  // 0
    {"PR_PARENT", PropertyValue::String},  // 1
    {"PR_SOURCE", PropertyValue::String},  // 2
    {"PR_LEFT", PropertyValue::Int},  // 3
    {"PR_TOP", PropertyValue::Int},  // 4
    {"PR_WIDTH", PropertyValue::Int},  // 5
    {"PR_HEIGHT", PropertyValue::Int},  // 6
    {"PR_ZOOMX", PropertyValue::Int},  // 7
    {"PR_COLOR", PropertyValue::Int},  // 8
    {"PR_BORDERWIDTH", PropertyValue::Int},  // 9
    {"PR_BORDERCOLOR", PropertyValue::Int},  // 10
    {"PR_ALPHA", PropertyValue::Int},  // 11
    {"PR_PRIORITY", PropertyValue::Int},  // 12
    {"PR_OFFSETX", PropertyValue::Int},  // 13
    {"PR_OFFSETY", PropertyValue::Int},  // 14
    {"PR_FONTNAME", PropertyValue::String},  // 15
    {"PR_FONTHEIGHT", PropertyValue::Int},  // 16
    {"PR_FONTSTYLE", PropertyValue::Int},  // 17
    {"PR_LINESPACE", PropertyValue::Int},  // 18
    {"PR_FONTCOLOR", PropertyValue::Int},  // 19
    {"PR_FONTLINKCOLOR", PropertyValue::Int},  // 20
    {"PR_FONTBORDERCOLOR", PropertyValue::Int},  // 21
    {"PR_FONTHOVERCOLOR", PropertyValue::Int},  // 22
    {"PR_FONTHOVERSTYLE", PropertyValue::Int},  // 23
    {"PR_HOVERCOLOR", PropertyValue::Int},  // 24
    {"PR_ANTIALIAS", PropertyValue::Bool},  // 25
    {"PR_DELAY", PropertyValue::Int},  // 26
    {"PR_PAUSED", PropertyValue::Bool},  // 27
    {"PR_VOLUME", PropertyValue::Int},  // 28
    {"PR_REPEAT", PropertyValue::Bool},  // 29
    {"PR_BALANCE", PropertyValue::Int},  // 30
    {"PR_ANGLE", PropertyValue::Int},  // 31
    {"PR_ONPLAYING", PropertyValue::Event},  // 32
    {"PR_ONNOTIFY", PropertyValue::Event},  // 33
    {"PR_ONMOUSEMOVE", PropertyValue::Event},  // 34
    {"PR_ONMOUSEOUT", PropertyValue::Event},  // 35
    {"PR_ONLBTNDOWN", PropertyValue::Event},  // 36
    {"PR_ONLBTNUP", PropertyValue::Event},  // 37
    {"PR_ONRBTNDOWN", PropertyValue::Event},  // 38
    {"PR_ONRBTNUP", PropertyValue::Event},  // 39
    {"PR_ONWHEELDOWN", PropertyValue::Event},  // 40
    {"PR_ONWHEELUP", PropertyValue::Event},  // 41
    {"PR_BRIGHTNESS", PropertyValue::Int},  // 42
    {"PR_ONPLAYEND", PropertyValue::Event},  // 43
    {"PR_INDEX", PropertyValue::Int},  // 44
    {"PR_COUNT", PropertyValue::Int},  // 45
    {"PR_ONLINK", PropertyValue::Event},  // 46
    {"PR_VISIBLE", PropertyValue::Bool},  // 47
    {"PR_COLCOUNT", PropertyValue::Int},  // 48
    {"PR_ROWCOUNT", PropertyValue::Int},  // 49
    {"PR_TEXT", PropertyValue::String},  // 50
    {"PR_MARGINX", PropertyValue::Int},  // 51
    {"PR_MARGINY", PropertyValue::Int},  // 52
    {"PR_HALIGN", PropertyValue::Int},  // 53
    {"PR_BORDERSOURCETL", PropertyValue::String},  // 54
    {"PR_BORDERSOURCETC", PropertyValue::String},  // 55
    {"PR_BORDERSOURCETR", PropertyValue::String},  // 56
    {"PR_BORDERSOURCECL", PropertyValue::String},  // 57
    {"PR_BORDERSOURCECC", PropertyValue::String},  // 58
    {"PR_BORDERSOURCECR", PropertyValue::String},  // 59
    {"PR_BORDERSOURCEBL", PropertyValue::String},  // 60
    {"PR_BORDERSOURCEBC", PropertyValue::String},  // 61
    {"PR_BORDERSOURCEBR", PropertyValue::String},  // 62
    {"PR_BORDERHALIGNT", PropertyValue::Int},  // 63
    {"PR_BORDERHALIGNC", PropertyValue::Int},  // 64
    {"PR_BORDERHALIGNB", PropertyValue::Int},  // 65
    {"PR_BORDERVALIGNL", PropertyValue::Int},  // 66
    {"PR_BORDERVALIGNC", PropertyValue::Int},  // 67
    {"PR_BORDERVALIGNR", PropertyValue::Int},  // 68
    {"PR_SCROLLSOURCE", PropertyValue::String},  // 69
    {"PR_CHECKSOURCE", PropertyValue::String},  // 70
    {"PR_AUTOSCRAP", PropertyValue::Bool},  // 71
    {"PR_ONSELECT", PropertyValue::Event},  // 72
    {"PR_RCLICKSCRAP", PropertyValue::Bool},  // 73
    {"PR_ONOPENING", PropertyValue::Event},  // 74
    {"PR_ONOPENED", PropertyValue::Event},  // 75
    {"PR_ONCLOSING", PropertyValue::Event},  // 76
    {"PR_ONCLOSED", PropertyValue::Event},  // 77
    {"PR_CARETX", PropertyValue::Int},  // 78
    {"PR_CARETY", PropertyValue::Int},  // 79
    {"PR_IGNOREMOUSE", PropertyValue::Int},  // 80
    {"PR_TEXTPAUSED", PropertyValue::Bool},  // 81
    {"PR_TEXTDELAY", PropertyValue::Int},  // 82
    {"PR_HOVERSOURCE", PropertyValue::String},  // 83
    {"PR_PRESSEDSOURCE", PropertyValue::String},  // 84
    {"PR_GROUPINDEX", PropertyValue::Int},  // 85
    {"PR_ALLOWALLUP", PropertyValue::Bool},  // 86
    {"PR_SELECTED", PropertyValue::Bool},  // 87
    {"PR_CAPTUREMASK", PropertyValue::Bool},  // 88
    {"PR_POWER", PropertyValue::Int},  // 89
    {"PR_ORIGWIDTH", PropertyValue::Int},  // 90
    {"PR_ORIGHEIGHT", PropertyValue::Int},  // 91
    {"PR_APPEARX", PropertyValue::Int},  // 92
    {"PR_APPEARY", PropertyValue::Int},  // 93
    {"PR_PARTMOTION", PropertyValue::Int},  // 94
    {"PR_PARAM1", PropertyValue::Float},  // 95
    {"PR_PARAM2", PropertyValue::Float},  // 96
    {"PR_TOPINDEX", PropertyValue::Int},  // 97
    {"PR_READONLY", PropertyValue::Bool},  // 98
    {"PR_CURSOR", PropertyValue::String},  // 99
    {"PR_POSZOOMED", PropertyValue::Bool},  // 100
    {"PR_ONPLAYSTART", PropertyValue::Event},  // 101
    {"PR_PARAM3", PropertyValue::Float},  // 102
    {"PR_ONMOUSEIN", PropertyValue::Event},  // 103
    {"PR_ONMAPIN", PropertyValue::Event},  // 104
    {"PR_ONMAPOUT", PropertyValue::Event},  // 105
    {"PR_MAPSOURCE", PropertyValue::String},  // 106
    {"PR_AMP", PropertyValue::Int},  // 107
    {"PR_WAVELEN", PropertyValue::Int},  // 108
    {"PR_SCROLLX", PropertyValue::Int},  // 109
    {"PR_SCROLLY", PropertyValue::Int},  // 110
    {"PR_FLIPH", PropertyValue::Bool},  // 111
    {"PR_FLIPV", PropertyValue::Bool},  // 112
    {"PR_ONIDLE", PropertyValue::Event},  // 113
    {"PR_DISTANCEX", PropertyValue::Int},  // 114
    {"PR_DISTANCEY", PropertyValue::Int},  // 115
    {"PR_CLIPLEFT", PropertyValue::Int},  // 116
    {"PR_CLIPTOP", PropertyValue::Int},  // 117
    {"PR_CLIPWIDTH", PropertyValue::Int},  // 118
    {"PR_CLIPHEIGHT", PropertyValue::Int},  // 119
    {"PR_DURATION", PropertyValue::Int},  // 120
    {"PR_THUMBSOURCE", PropertyValue::String},  // 121
    {"PR_BUTTONSOURCE", PropertyValue::String},  // 122
    {"PR_MIN", PropertyValue::Int},  // 123
    {"PR_MAX", PropertyValue::Int},  // 124
    {"PR_VALUE", PropertyValue::Int},  // 125
    {"PR_ORIENTATION", PropertyValue::Int},  // 126
    {"PR_SMALLCHANGE", PropertyValue::Int},  // 127
    {"PR_LARGECHANGE", PropertyValue::Int},  // 128
    {"PR_MAPTEXT", PropertyValue::String},  // 129
    {"PR_GLYPHWIDTH", PropertyValue::Int},  // 130
    {"PR_GLYPHHEIGHT", PropertyValue::Int},  // 131
    {"PR_ZOOMY", PropertyValue::Int},  // 132
    {"PR_CLICKEDSOURCE", PropertyValue::String},  // 133
    {"PR_ANIPAUSED", PropertyValue::Bool},  // 134
    {"PR_ONHOLD", PropertyValue::Event},  // 135
    {"PR_ONRELEASE", PropertyValue::Event},  // 136
    {"PR_REVERSE", PropertyValue::Bool},  // 137
    {"PR_PLAYING", PropertyValue::Bool},  // 138
    {"PR_REWINDONLOAD", PropertyValue::Bool},  // 139
    {"PR_COMPOTYPE", PropertyValue::Int},  // 140
    {"PR_FONTSHADOWCOLOR", PropertyValue::Int},  // 141
    {"PR_FONTBORDER", PropertyValue::Int},  // 142
    {"PR_FONTSHADOW", PropertyValue::Int},  // 143
    {"PR_ONKEYDOWN", PropertyValue::Event},  // 144
    {"PR_ONKEYUP", PropertyValue::Event},  // 145
    {"PR_ONKEYREPEAT", PropertyValue::Event},  // 146
    {"PR_HANDLEKEY", PropertyValue::Bool},  // 147
    {"PR_ONFOCUSIN", PropertyValue::Event},  // 148
    {"PR_ONFOCUSOUT", PropertyValue::Event},  // 149
    {"PR_OVERLAY", PropertyValue::Bool},  // 150
    {"PR_TAG", PropertyValue::String},  // 151
    {"PR_CAPTURELINK", PropertyValue::Bool},  // 152
    {"PR_FONTHOVERBORDER", PropertyValue::Int},  // 153
    {"PR_FONTHOVERBORDERCOLOR", PropertyValue::Int},  // 154
    {"PR_FONTHOVERSHADOW", PropertyValue::Int},  // 155
    {"PR_FONTHOVERSHADOWCOLOR", PropertyValue::Int},  // 156
    {"PR_BARSIZE", PropertyValue::Int},  // 157
    {"PR_MUTEONLOAD", PropertyValue::Bool},  // 158
    {"PR_PLUSX", PropertyValue::Int},  // 159
    {"PR_PLUSY", PropertyValue::Int},  // 160
    {"PR_CARETHEIGHT", PropertyValue::Int},  // 161
}};

// The value type code a property reads as: integer, flag, real, or text for strings and events.
constexpr ParamTypeCode PropertyParamType(std::uint8_t id) {
  switch (kProperties[id].value) {
    case PropertyValue::Int: return PT_INT;
    case PropertyValue::Bool: return PT_BOOL;
    case PropertyValue::Float: return PT_FLOAT;
    default: return PT_STR;
  }
}

}  // namespace kest
