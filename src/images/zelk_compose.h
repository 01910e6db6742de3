#pragma once
// Composing the layers of a layered image frame into its picture, one layer as soon as it is read.

#include <cstdint>

#include "images/zelk.h"

namespace kest {

// The 4 x 4 ordered dither of frames at 8 bits or less: with q = weight div 16, a layer pixel is
// taken where kZelkDither[y mod 4][x mod 4] < q.
inline constexpr std::uint8_t kZelkDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Fills the picture with a 0x00BBGGRR colour: the nearest palette entry at 8 bits or less. Every
// byte of the store is written (row padding becomes 0, or the colour at 8 bits).
void FillBackground(ZelkPicture& picture, std::int32_t background);

struct ComposeState {
  bool first_layer_opaque = false;  // the list's flag (read from version 105)
  bool first_visible = true;        // no visible layer composed yet
};

// Whether the layer's pixels may be taken over by the frame (when nothing needs them later), or
// were read straight into the frame's picture already (see ReplacesPicture).
enum class LayerUse : std::uint8_t { Keep, Consume, Placed };

// Whether composing the layer replaces the frame's picture with the layer's pixels as they are,
// known from the layer's record before its blocks are read (a mask read later only drops the
// key, and a later layer's use-mask flag rules the copy out).
bool ReplacesPicture(const TZelkLayer& layer, std::size_t index, const ComposeState& state);

// Composes layer `index` of the frame into the frame's picture (and, for a masked layer 0, its
// mask). The layer has the frame's size and bit count.
void ComposeLayer(TZelkFrame& frame, TZelkLayer& layer, std::size_t index, ComposeState& state,
                  LayerUse use = LayerUse::Keep);

}  // namespace kest
