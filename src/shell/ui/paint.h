#pragma once
// Drawing primitives the widgets share: flat fills, raised and sunken edges, the dotted focus
// rectangle. Colours are 0x00BBGGRR; coordinates are the target's.

#include <cstdint>

#include "render/surface.h"

namespace kest::ui {

void FillColour(TCustomDIBX& target, const Rect& r, std::int32_t rgb);

enum class Edge {
  kRaised,   // a button at rest: lit top-left, shaded bottom-right, two pixels deep
  kSunken,   // a pressed button or a check box: the reverse
  kEtched,   // a group frame: a shaded line with a lit one inside it
};
void DrawEdge(TCustomDIBX& target, const Rect& r, Edge edge);

// Every other pixel of the rectangle's outline, starting with its top-left pixel.
void DrawFocusRect(TCustomDIBX& target, const Rect& r);

}  // namespace kest::ui
