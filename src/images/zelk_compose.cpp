// The seven steps of composing a layer:
//  1. the layer is decoded at the frame's size and bit count; a layer with a mask has no key;
//  2. invisible layers are skipped;
//  3. the mask of a masked layer 0 (use-mask set) becomes the frame's mask, and its pixels are
//     placed by step 5 or 6;
//  4. a later masked layer is blended through its mask (255 copies, 0 leaves, else
//     (s * m + d * (255 - m)) >> 8 per channel; its opacity is ignored);
//  5. a layer without key (or the first visible layer when the list says it is opaque) at
//     opacity 255 is copied;
//  6. otherwise the layer is blended with its opacity, skipping its key pixels: 24 bits
//     ((255 - a) * d + a * s) div 255 per byte, 32 bits (d * (255 - a) + s * a) >> 8; opacity 255
//     copies the pixels that differ from the key, 0 leaves the frame;
//  7. the first-visible flag drops after every visible layer.
// Frames of 8 bits or less cannot blend; they take a layer pixel where the ordered dither is
// below weight div 16 (15 copies, 0 keeps). Blends write the fourth byte of a 32-bit pixel as 0.

#include "images/zelk_compose.h"

#include <algorithm>
#include <cstring>

namespace kest {

namespace {

bool DitherTakes(std::int32_t x, std::int32_t y, int q) {
  return q >= 15 || (q > 0 && kZelkDither[y & 3][x & 3] < q);
}

// Masked blend of one pixel of 24 or 32 bits (the fourth byte becomes 0).
std::uint32_t MaskBlendPixel(std::uint32_t s, std::uint32_t d, std::uint32_t m) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= ((sc * m + dc * (255 - m)) >> 8) << shift;
  }
  return out;
}

std::uint32_t Blend24(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= (((255 - a) * dc + a * sc) / 255) << shift;
  }
  return out;
}

// Red and blue are blended together in one product, green in another; 255 * 255 fits in the
// 16 bits each channel has, so the channels never mix.
std::uint32_t Blend32(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
  const std::uint32_t rb = (((d & 0xFF00FF) * (255 - a) + (s & 0xFF00FF) * a) >> 8) & 0xFF00FF;
  const std::uint32_t g = (((d & 0xFF00) * (255 - a) + (s & 0xFF00) * a) >> 8) & 0xFF00;
  return rb | g;
}

void ComposeThroughMask(ZelkPicture& frame, const ZelkPicture& layer, const ZelkPicture& mask) {
  const int bits = frame.BitCount();
  for (std::int32_t y = 0; y < frame.Height(); ++y) {
    const std::uint8_t* m_row = mask.Row(y);
    for (std::int32_t x = 0; x < frame.Width(); ++x) {
      const std::uint32_t m = m_row[x];
      if (m == 0) continue;
      if (m == 255) {
        frame.Set(x, y, layer.Get(x, y));
      } else if (bits <= 8) {
        if (DitherTakes(x, y, static_cast<int>(m / 16))) frame.Set(x, y, layer.Get(x, y));
      } else {
        frame.Set(x, y, MaskBlendPixel(layer.Get(x, y), frame.Get(x, y), m));
      }
    }
  }
}

void ComposeWithOpacity(ZelkPicture& frame, const ZelkPicture& layer, std::uint32_t a, std::int32_t key) {
  if (a == 0) return;
  const int bits = frame.BitCount();
  const bool keyed = key != -1;
  const std::uint32_t key_value = static_cast<std::uint32_t>(key);
  const int q = static_cast<int>(a / 16);
  for (std::int32_t y = 0; y < frame.Height(); ++y) {
    for (std::int32_t x = 0; x < frame.Width(); ++x) {
      const std::uint32_t s = layer.Get(x, y);
      if (keyed && s == key_value) continue;
      if (a == 255) {
        frame.Set(x, y, s);
      } else if (bits <= 8) {
        if (DitherTakes(x, y, q)) frame.Set(x, y, s);
      } else if (bits == 24) {
        frame.Set(x, y, Blend24(s, frame.Get(x, y), a));
      } else {
        frame.Set(x, y, Blend32(s, frame.Get(x, y), a));
      }
    }
  }
}

}  // namespace

void FillBackground(ZelkPicture& picture, std::int32_t background) {
  const std::uint32_t value = picture.FromRgb(SwapRedBlue(static_cast<std::uint32_t>(background)));
  if (picture.BitCount() == 32) {
    // Rows of 32-bit pixels have no padding.
    std::uint32_t* pixels = reinterpret_cast<std::uint32_t*>(picture.Data().data());
    std::fill(pixels, pixels + picture.Data().size() / 4, value);
    return;
  }
  if (picture.BitCount() == 8) {
    std::fill(picture.Data().begin(), picture.Data().end(), static_cast<std::uint8_t>(value));
    return;
  }
  std::fill(picture.Data().begin(), picture.Data().end(), std::uint8_t{0});
  if (value == 0) return;
  for (std::int32_t y = 0; y < picture.Height(); ++y)
    for (std::int32_t x = 0; x < picture.Width(); ++x) picture.Set(x, y, value);
}

bool ReplacesPicture(const TZelkLayer& layer, std::size_t index, const ComposeState& state) {
  return layer.visible && !(layer.use_mask && index != 0) &&
         (layer.key == -1 || (state.first_visible && state.first_layer_opaque)) && layer.opacity >= 255;
}

void ComposeLayer(TZelkFrame& frame, TZelkLayer& layer, std::size_t index, ComposeState& state, LayerUse use) {
  if (!layer.visible) return;
  const bool masked = !layer.mask.Empty() && layer.use_mask;
  if (masked && index == 0) {
    if (use == LayerUse::Keep)
      frame.mask = layer.mask;
    else
      frame.mask = std::move(layer.mask);
  }
  const std::uint32_t opacity = static_cast<std::uint32_t>(std::clamp(layer.opacity, 0, 255));
  if (masked && index != 0) {
    ComposeThroughMask(frame.picture, layer.picture, layer.mask);
  } else if ((layer.key == -1 || (state.first_visible && state.first_layer_opaque)) && opacity == 255) {
    if (use == LayerUse::Consume)
      std::swap(frame.picture.Data(), layer.picture.Data());
    else if (use == LayerUse::Keep)
      frame.picture.Data() = layer.picture.Data();
    // Placed: the pixels are in the frame's picture already.
  } else {
    ComposeWithOpacity(frame.picture, layer.picture, opacity, layer.key);
  }
  state.first_visible = false;
}

}  // namespace kest
