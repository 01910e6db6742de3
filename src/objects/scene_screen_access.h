#pragma once
// The scene list's answer to the Flip command (scenario/screen_access.h).

#include "scenario/screen_access.h"

namespace kest {

class TKestBaseList;

// The snapshot's name: internal (never saved) and sorted after every other child.
inline constexpr char kSnapshotName[] = "\x01\x01";

class TSceneScreenAccess final : public TScreenAccess {
 public:
  explicit TSceneScreenAccess(TKestBaseList& list) : list_(list) {}

  void DrawNow() override;
  void PutSnapshot() override;
  void MoveToBack(std::int32_t keep_mode, const std::vector<std::string>& names) override;
  void StartFlip(std::int32_t kind, std::int32_t duration, bool reverse, const WipeOptions& options) override;
  std::int32_t FlipDuration() const override;
  bool FlipRunning() const override;
  void AdvanceFlip(std::int32_t elapsed) override;
  void EndFlip(bool clear_old) override;

 private:
  TKestBaseList& list_;
};

}  // namespace kest
