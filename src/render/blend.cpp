// Copies, blends, additive draws and mask draws of a source rectangle at a position.

#include <algorithm>
#include <cstring>

#include "render/dibx.h"
#include "render/row_engine.h"

namespace kest {

namespace {

RowOp Op(RowOpKind kind, int amount = 0) {
  RowOp op;
  op.kind = kind;
  op.amount = amount;
  return op;
}

void Blit(TCustomDIBX& dst, std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, Flip flip,
          TCustomDIBX* mask, const RowOp& op) {
  Rect readable = source.Bounds();
  if (mask != nullptr) readable = Intersect(readable, mask->Bounds());
  const auto placed = PlaceSource(x, y, src, flip, dst.ClipLimit(), readable);
  if (!placed) return;
  BlitPlaced(dst, *placed, op.UsesSource() ? &source : nullptr, mask, op);
}

}  // namespace

void TCustomDIBX::Assign(TCustomDIBX& source) {
  auto* from = dynamic_cast<TDIBX*>(&source);
  auto* to = dynamic_cast<TDIBX*>(this);
  if (from != nullptr && to != nullptr && from != to && from->Width() == to->Width() &&
      from->Height() == to->Height() && from->Pitch() == to->Pitch() && !from->IsEmpty()) {
    // Equal memory surfaces: one block copy of the whole store. The lowest address belongs to
    // the last row because the rows are stored bottom-up.
    const std::size_t bytes = static_cast<std::size_t>(to->RowBytes()) * static_cast<std::size_t>(to->Height());
    std::memcpy(to->PixelAddress(0, to->Height() - 1), from->PixelAddress(0, from->Height() - 1), bytes);
    return;
  }
  Draw(0, 0, source, source.Bounds());
}

void TCustomDIBX::Draw(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, Flip flip, Keyed key) {
  RowOp op = Op(RowOpKind::Copy);
  if (key == Keyed::Yes && source.transparent_color != -1) {
    op.kind = RowOpKind::CopyKeyed;
    op.key = static_cast<std::uint32_t>(source.transparent_color);
  }
  Blit(*this, x, y, source, src, flip, nullptr, op);
}

void TCustomDIBX::DrawAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int alpha,
                            Flip flip, Keyed key) {
  if (alpha <= 0) return;
  RowOp op = Op(RowOpKind::Blend, std::min(alpha, 255));
  op.keyed = key == Keyed::Yes && source.transparent_color != -1;
  op.key = static_cast<std::uint32_t>(source.transparent_color);
  Blit(*this, x, y, source, src, flip, nullptr, op);
}

void TCustomDIBX::DrawAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int level,
                          Flip flip) {
  if (level <= 0) return;
  RowOp op = Op(RowOpKind::Add, std::min(level, 255));
  op.keyed = source.transparent_color != -1;
  op.key = static_cast<std::uint32_t>(source.transparent_color);
  op.plain_add_on_bytes = true;
  Blit(*this, x, y, source, src, flip, nullptr, op);
}

void TCustomDIBX::DrawMask(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, TCustomDIBX& mask,
                           Flip flip) {
  if (mask.BitCount() != 8) return;
  Blit(*this, x, y, source, src, flip, &mask, Op(RowOpKind::Mask));
}

void TCustomDIBX::DrawMaskAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                                TCustomDIBX& mask, int alpha, Flip flip) {
  if (alpha <= 0 || mask.BitCount() != 8) return;
  Blit(*this, x, y, source, src, flip, &mask, Op(RowOpKind::MaskAlpha, std::min(alpha, 255)));
}

void TCustomDIBX::DrawMaskAdd(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src,
                              TCustomDIBX& mask, int level, Flip flip) {
  if (level <= 0 || mask.BitCount() != 8) return;
  Blit(*this, x, y, source, src, flip, &mask, Op(RowOpKind::MaskAdd, std::min(level, 255)));
}

void TCustomDIBX::DrawColorMask(std::int32_t x, std::int32_t y, TCustomDIBX& mask, const Rect& src,
                                std::uint32_t colour, int alpha, Flip flip) {
  if (alpha <= 0 || mask.BitCount() != 8 || dynamic_cast<TDIBX*>(&mask) == nullptr) return;
  // The source rectangle must lie inside the mask.
  if (src.left < 0 || src.top < 0 || src.right > mask.Width() || src.bottom > mask.Height()) return;
  RowOp op = Op(RowOpKind::ColorMask, std::min(alpha, 255));
  op.colour = colour;
  Blit(*this, x, y, mask, src, flip, &mask, op);
}

void TCustomDIBX::DrawCombined(std::int32_t x, std::int32_t y, TCustomDIBX& source, const Rect& src, int combined,
                               Flip flip, Keyed key) {
  if (combined <= 0) return;
  if (combined < 255) return DrawAlpha(x, y, source, src, combined, flip, key);
  if (combined == 255) return Draw(x, y, source, src, flip, key);
  return DrawAdd(x, y, source, src, std::min(combined, 511) & 255, flip);
}

}  // namespace kest
