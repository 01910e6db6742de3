#include "objects/snapshot_image.h"

namespace kest {

void TKestSnapshotImage::PaintSelf(TCustomDIBX& target) {
  const Rect at = GetScreenRect();
  target.Draw(at.left, at.top, surface_, surface_.Bounds());
}

}  // namespace kest
