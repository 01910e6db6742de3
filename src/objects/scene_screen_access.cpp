#include "objects/scene_screen_access.h"

#include <algorithm>

#include "objects/scene_list.h"
#include "objects/components/images.h"

namespace kest {

void TSceneScreenAccess::DrawNow() { list_.Paint(); }

void TSceneScreenAccess::PutSnapshot() {
  if (TKestObject* old = list_.FindNamed(kSnapshotName, nullptr)) list_.Free(old->Id());
  TKestBase& front = list_.ActiveScreen();
  // The snapshot is a picture object whose own surface holds a 32-bit copy of the display,
  // with no transparent colour.
  auto& snapshot = list_.Create<TKestImages>();
  snapshot.SetName(kSnapshotName);
  TDIBX& picture = snapshot.OwnSurface();
  picture.SetSize(list_.Width(), list_.Height(), 32);
  picture.transparent_color = -1;
  picture.Draw(0, 0, list_.Surface(), list_.Surface().Bounds());
  snapshot.SetBounds(0, 0, list_.Width(), list_.Height());
  snapshot.SetParent(&front);
}

void TSceneScreenAccess::MoveToBack(std::int32_t keep_mode, const std::vector<std::string>& names) {
  if (keep_mode != 0 && keep_mode != 1) return;
  TKestBase& front = list_.ActiveScreen();
  TKestBase& back = list_.InactiveScreen();
  const std::vector<TKestControl*> children = front.Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    TKestControl& child = **it;
    if (child.Name() == kSnapshotName) continue;
    const bool listed = std::find(names.begin(), names.end(), child.Name()) != names.end();
    if (listed == (keep_mode == 1)) child.SetParent(&back);
  }
}

void TSceneScreenAccess::StartFlip(std::int32_t kind, std::int32_t duration, bool reverse, const WipeOptions& options) {
  list_.FlipScreens(list_.ActiveIndex(), kind, reverse, ForceFlip::Yes, 0, duration, options);
}

std::int32_t TSceneScreenAccess::FlipDuration() const { return list_.TransitionDuration(); }

bool TSceneScreenAccess::FlipRunning() const { return list_.TransitionRunning(); }

void TSceneScreenAccess::AdvanceFlip(std::int32_t elapsed) { list_.SetTransitionElapsed(elapsed); }

void TSceneScreenAccess::EndFlip(bool clear_old) {
  list_.FlipScreens(list_.ActiveIndex() ^ 1, 0, false, ForceFlip::Yes, 0, 0);
  if (TKestObject* snapshot = list_.FindNamed(kSnapshotName, nullptr)) list_.Free(snapshot->Id());
  if (!clear_old) return;
  // A cabinet holds what was set aside: it stays, in the abort as at the normal end.
  const std::vector<TKestControl*> children = list_.InactiveScreen().Children();
  for (TKestControl* child : children)
    if (!child->IsCabinet()) list_.Free(child->Id());
}

}  // namespace kest
