#pragma once
// The flip's snapshot: an image object that shows a picture of its own, a 32-bit copy of the
// display with no transparent colour, drawn at its place. It is the smallest piece of the image
// kind the flip needs; the image kind's own pictures (files, frames) are built elsewhere.

#include "objects/components.h"
#include "render/dibx.h"

namespace kest {

class TKestSnapshotImage final : public TKestImages {
 public:
  using TKestImages::TKestImages;
  bool IsBuilt() const override { return true; }
  TDIBX& OwnSurface() { return surface_; }

 protected:
  void PaintSelf(TCustomDIBX& target) override;

 private:
  TDIBX surface_;
};

}  // namespace kest
