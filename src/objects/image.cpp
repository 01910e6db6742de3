#include "objects/image.h"

#include <algorithm>
#include <cctype>

#include "core/cp932.h"
#include "core/errors.h"
#include "images/zelk_cache.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"
#include "render/wave_surface.h"

namespace kest {

namespace {

constexpr std::uint8_t kOrigWidth = 90;
constexpr std::uint8_t kOrigHeight = 91;

bool HasZelExtension(const std::string& name) {
  if (name.size() < 4) return false;
  return cp932::LowerCase(name.substr(name.size() - 4)) == ".zel";
}

// One draw of `src` of the surface at (x, y) by the alpha convention: 255 opaque, 256..511
// added with alpha - 256, anything else blended with alpha; through the mask when there is one,
// else keyed when the surface has a transparent colour.
void DrawByAlpha(TCustomDIBX& target, std::int32_t x, std::int32_t y, TCustomDIBX& surface, TCustomDIBX* mask,
                 const Rect& src, std::int32_t alpha) {
  const Keyed keyed = surface.transparent_color != -1 ? Keyed::Yes : Keyed::No;
  if (mask) {
    if (alpha == 255)
      target.DrawMask(x, y, surface, src, *mask);
    else if (alpha >= 256 && alpha <= 511)
      target.DrawMaskAdd(x, y, surface, src, *mask, alpha - 256);
    else
      target.DrawMaskAlpha(x, y, surface, src, *mask, alpha);
  } else if (alpha == 255) {
    target.Draw(x, y, surface, src, Flip::None, keyed);
  } else if (alpha >= 256 && alpha <= 511) {
    target.DrawAdd(x, y, surface, src, alpha - 256);
  } else {
    target.DrawAlpha(x, y, surface, src, alpha, Flip::None, keyed);
  }
}

std::int32_t ClampToInt(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

TKestCustomImage::TKestCustomImage(TKestBaseList& owner, std::uint8_t kind) : TKestControl(owner, kind) {}

TKestCustomImage::~TKestCustomImage() = default;

TCustomDIBX* TKestCustomImage::GetSurface() const {
  if (TCustomDIBX* cache = CacheSurface()) return cache;
  if (borrowed_) return borrowed_;
  return own_.get();
}

TCustomDIBX* TKestCustomImage::GetMask() const {
  if (second_mask_) return second_mask_;
  if (CacheSurface()) return CacheMask();
  return borrowed_ ? borrowed_mask_ : nullptr;
}

TDIBX& TKestCustomImage::OwnSurface() {
  if (!own_) own_ = std::make_unique<TDIBX>();
  return *own_;
}

void TKestCustomImage::SetBorrowed(TCustomDIBX* surface, TCustomDIBX* mask) {
  Invalidate();
  borrowed_ = surface;
  borrowed_mask_ = surface ? mask : nullptr;
  SizeFromPicture();
  Invalidate();
}

void TKestCustomImage::SetSecondMask(TCustomDIBX* mask) {
  second_mask_ = mask;
  Invalidate();
}

void TKestCustomImage::SizeFromPicture() {
  const TCustomDIBX* surface = GetSurface();
  SetWidth(surface ? surface->Width() : 0);
  SetHeight(surface ? surface->Height() : 0);
}

std::optional<PropValue> TKestCustomImage::ReadProperty(std::uint8_t id) const {
  const TCustomDIBX* surface = GetSurface();
  switch (id) {
    case PR_ALPHA: return alpha_;
    case kOrigWidth: return surface ? surface->Width() : 0;
    case kOrigHeight: return surface ? surface->Height() : 0;
    default: return TKestControl::ReadProperty(id);
  }
}

void TKestCustomImage::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_ALPHA:
      alpha_ = AsInt(value);
      Invalidate();
      return;
    default: TKestControl::WriteProperty(id, value); return;
  }
}

void TKestCustomImage::SaveToStream(ByteWriter&) const {
  throw KestError(std::string(KindName(GetCompoType())) + ": saving and loading are not available yet");
}

void TKestCustomImage::LoadFromStream(ByteReader&, std::int32_t, int) {
  throw KestError(std::string(KindName(GetCompoType())) + ": saving and loading are not available yet");
}

void TKestCustomImage::PaintSelf(TCustomDIBX& target) {
  if (!IsBuilt()) {
    TKestControl::PaintSelf(target);
    return;
  }
  TCustomDIBX* surface = GetSurface();
  if (!surface || surface->IsEmpty() || alpha_ < 1 || Width() < 1 || Height() < 1) return;
  TCustomDIBX* mask = GetMask();
  const std::int32_t x = ClampToInt(GetScreenLeft()), y = ClampToInt(GetScreenTop());
  // Pictures with region rectangles show only those areas (not on a wave surface, whose rows
  // are shifted anyway).
  if (!surface->region_rects.empty() && !dynamic_cast<TDIBXWave*>(&target)) {
    for (const Rect& region : surface->region_rects) {
      const Rect src = Intersect(region, {0, 0, surface->Width(), surface->Height()});
      if (!src.IsEmpty()) DrawByAlpha(target, x + src.left, y + src.top, *surface, mask, src, alpha_);
    }
    return;
  }
  DrawByAlpha(target, x, y, *surface, mask, {0, 0, surface->Width(), surface->Height()}, alpha_);
}

TKestImages::TKestImages(TKestBaseList& owner, std::uint8_t kind) : TKestCustomImages(owner, kind) {}

TKestImages::~TKestImages() { ReleaseEntry(); }

void TKestImages::ReleaseEntry() {
  if (!entry_) return;
  if (TZelkCollection* cache = Owner().ImageCache()) cache->Release(*entry_, Id());
  entry_ = nullptr;
  index_ = -1;
}

TCustomDIBX* TKestImages::CacheSurface() const {
  if (!entry_ || index_ < 0 || static_cast<std::size_t>(index_) >= entry_->frames.size()) return nullptr;
  return entry_->frames[static_cast<std::size_t>(index_)].surface.get();
}

TCustomDIBX* TKestImages::CacheMask() const {
  if (!CacheSurface()) return nullptr;
  return entry_->frames[static_cast<std::size_t>(index_)].mask.get();
}

std::optional<PropValue> TKestImages::ReadProperty(std::uint8_t id) const {
  if (!IsBuilt()) return TKestCustomImages::ReadProperty(id);
  switch (id) {
    case PR_SOURCE: return source_;
    case PR_COUNT: return static_cast<std::int32_t>(entry_ ? entry_->frames.size() : 0);
    default: return TKestCustomImages::ReadProperty(id);
  }
}

void TKestImages::WriteProperty(std::uint8_t id, const PropValue& value) {
  if (id == PR_SOURCE && IsBuilt()) {
    SetSource(AsStr(value));
    return;
  }
  TKestCustomImages::WriteProperty(id, value);
}

void TKestImages::SetSource(const std::string& source) {
  Invalidate();
  ReleaseEntry();
  source_ = source;
  TZelkCollection* cache = Owner().ImageCache();
  if (cache && HasZelExtension(source)) {
    // "?m": loaded with finishing, keys become masks.
    entry_ = &cache->Acquire(Id(), source, false, true);
    if (!entry_->frames.empty()) index_ = 0;
  }
  SizeFromPicture();
  Invalidate();
}

}  // namespace kest
