#pragma once
// How the Flip command reaches the scene's two screens. The scene list answers it
// (TScene::Screens); a scene without screens has none, and Flip then raises "not available yet".
//
// A flip shows the back screen: optionally keeping objects visible (a snapshot of the front
// screen covers it while objects move to the back), then a transition over the duration, then
// the swap.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kest {

// What a flip adds to the transition's defaults: either parameter and the mask picture's name,
// each only when the flip's expression gave a result.
struct WipeOptions {
  std::optional<std::int32_t> param0, param1;
  std::optional<std::string> mask_name;
};

class TScreenAccess {
 public:
  virtual ~TScreenAccess() = default;
  // Paints what changed on both screens now, so the display shows the current picture.
  virtual void DrawNow() = 0;
  // Puts the snapshot on the front screen: an image object named 0x01 0x01 of the screen's
  // size showing a copy of the display, with no transparent colour.
  virtual void PutSnapshot() = 0;
  // Moves the front screen's children to the back screen, from the last to the first and
  // skipping the snapshot: with keep mode 0 (FL_OUT) those not named, with keep mode 1 (FL_STAY)
  // those named. Names compare exactly.
  virtual void MoveToBack(std::int32_t keep_mode, const std::vector<std::string>& names) = 0;
  // Starts the transition of `kind` from the front screen to the back screen (none for a kind
  // that has none).
  virtual void StartFlip(std::int32_t kind, std::int32_t duration, bool reverse, const WipeOptions& options) = 0;
  // The running transition's duration, 0 when none runs.
  virtual std::int32_t FlipDuration() const = 0;
  virtual bool FlipRunning() const = 0;
  virtual void AdvanceFlip(std::int32_t elapsed) = 0;
  // Makes the back screen the front screen without a transition and deletes the snapshot; with
  // `clear_old` also every object of the new back screen except cabinets.
  virtual void EndFlip(bool clear_old) = 0;
};

}  // namespace kest
