#pragma once
// Which kinds implement each property and whether it can be written. The names and value types
// of the 162 properties live with the values (params/property_types.h); this adds the rest of
// each property's row. A property that an object's kind does not implement reads as its type's
// zero value and ignores writes.

#include <cstdint>
#include <string_view>

#include "objects/kinds.h"
#include "params/property_types.h"

namespace kest {

class TKestObject;

// Property ids that code refers to by name.
enum PropertyId : std::uint8_t {
  PR_NAME = 0, PR_PARENT = 1, PR_SOURCE = 2, PR_LEFT = 3, PR_TOP = 4, PR_WIDTH = 5, PR_HEIGHT = 6,
  PR_ZOOMX = 7, PR_COLOR = 8, PR_BORDERWIDTH = 9, PR_BORDERCOLOR = 10, PR_ALPHA = 11, PR_PRIORITY = 12,
  PR_OFFSETX = 13, PR_OFFSETY = 14, PR_FONTHEIGHT = 16, PR_FONTSTYLE = 17, PR_FONTHOVERSTYLE = 23,
  PR_HOVERCOLOR = 24, PR_DELAY = 26, PR_PAUSED = 27, PR_VOLUME = 28, PR_REPEAT = 29, PR_BALANCE = 30, PR_ANGLE = 31, PR_ONNOTIFY = 33,
  PR_ONMOUSEMOVE = 34, PR_ONMOUSEOUT = 35, PR_ONLBTNDOWN = 36, PR_ONLBTNUP = 37, PR_ONRBTNDOWN = 38,
  PR_ONRBTNUP = 39, PR_ONWHEELDOWN = 40, PR_ONWHEELUP = 41, PR_BRIGHTNESS = 42, PR_ONPLAYEND = 43, PR_INDEX = 44, PR_COUNT = 45,
  PR_VISIBLE = 47, PR_COLCOUNT = 48, PR_ROWCOUNT = 49, PR_TEXT = 50, PR_AUTOSCRAP = 71, PR_RCLICKSCRAP = 73,
  PR_CARETX = 78, PR_CARETY = 79, PR_IGNOREMOUSE = 80, PR_TEXTDELAY = 82, PR_HOVERSOURCE = 83, PR_PRESSEDSOURCE = 84, PR_GROUPINDEX = 85,
  PR_ALLOWALLUP = 86, PR_SELECTED = 87, PR_CAPTUREMASK = 88, PR_ORIGWIDTH = 90, PR_ORIGHEIGHT = 91, PR_APPEARX = 92, PR_APPEARY = 93,
  PR_PARAM1 = 95, PR_PARAM2 = 96, PR_CURSOR = 99, PR_POSZOOMED = 100, PR_PARAM3 = 102, PR_ONMOUSEIN = 103,
  PR_AMP = 107, PR_WAVELEN = 108, PR_SCROLLX = 109, PR_SCROLLY = 110, PR_FLIPH = 111,
  PR_FLIPV = 112, PR_ONIDLE = 113, PR_DISTANCEX = 114, PR_DISTANCEY = 115, PR_CLIPLEFT = 116, PR_CLIPTOP = 117, PR_CLIPWIDTH = 118,
  PR_CLIPHEIGHT = 119, PR_SMALLCHANGE = 127, PR_LARGECHANGE = 128, PR_GLYPHWIDTH = 130, PR_GLYPHHEIGHT = 131,
  PR_ZOOMY = 132, PR_CLICKEDSOURCE = 133, PR_ANIPAUSED = 134, PR_PLAYING = 138, PR_COMPOTYPE = 140, PR_ONKEYDOWN = 144,
  PR_ONKEYUP = 145, PR_ONKEYREPEAT = 146, PR_HANDLEKEY = 147, PR_ONFOCUSIN = 148, PR_ONFOCUSOUT = 149,
  PR_OVERLAY = 150, PR_TAG = 151, PR_PLUSX = 159, PR_PLUSY = 160, PR_CARETHEIGHT = 161,
};

enum class PropertyAccess : std::uint8_t {
  ReadWrite,
  ReadOnly,    // writing is silently ignored
  WriteError,  // reads 0; writing raises "SetPropエラー"
};

// A set of kind codes, bit n for kind n.
using KindSet = std::uint32_t;
constexpr KindSet KindBit(std::uint8_t kind) { return KindSet{1} << kind; }

enum class KindScope : std::uint8_t {
  All,          // every object
  Visual,       // every control, the screens included
  VisualSound,  // every control, and the sound kind
  Listed,       // the kinds in `kinds`
};

struct PropertyRule {
  PropertyAccess access = PropertyAccess::ReadWrite;
  KindScope scope = KindScope::Listed;
  KindSet kinds = 0;
  // Kinds on which the access is the other of ReadWrite / ReadOnly (PR_REPEAT is read-only on
  // map images and tiles; PR_ORIGWIDTH is writable on fire).
  KindSet flipped_access = 0;
};

const PropertyRule& RuleOf(std::uint8_t id);

std::string_view PropertyTypeName(PropertyValue type);  // "int", "bool", "float", "string", "event"
std::string_view PropertyAccessName(PropertyAccess access);  // "rw" or "r"

// Whether the object's class implements the property, and whether it takes writes.
bool Implements(const TKestObject& object, std::uint8_t id);
bool IsWritable(const TKestObject& object, std::uint8_t id);

// The order in which a creation command applies the properties it carries; 92 and 93 (and the
// ids that are never applied at creation) are absent.
inline constexpr std::uint8_t kCreationOrder[] = {
    0,   1,   2,   7,   132, 100, 5,   6,   3,   4,   8,   157, 9,   10,  11,  12,  13,  14,  15,  16,
    17,  18,  19,  20,  21,  22,  23,  24,  153, 154, 155, 156, 25,  26,  27,  28,  29,  30,  31,  32,
    33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,
    53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,
    73,  74,  75,  76,  77,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  94,  95,  96,
    97,  98,  99,  101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117,
    118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 133, 134, 135, 136, 137, 139,
    141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152, 158,
};

}  // namespace kest
