#pragma once
// The player's side of a motion file: the frames of TKestMotion come from a TFilmManager, and
// each track's state reaches a child of the control that plays it. The child of track n is
// named 0x01 followed by n (never saved) and stacked at the control's priority + the track's
// order: an image track shows a TKestImage, a box track a TKestBox, a tile track a TKestTile;
// label, particle and fire tracks place objects of those kinds and a sound track hands its
// values to a sound object, which keep them and draw (or play) nothing yet. A motion attached
// to a control starts no transitions.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "images/film_manager.h"
#include "objects/components/motion.h"
#include "scenario/timer_list.h"

namespace kest {

class TKestBaseList;
class TKestCustomImage;
class TKestObject;

class TFilmMotionFrames final : public TMotionFrames, public TFilmTarget {
 public:
  TFilmMotionFrames(TKestControl& control, TZelkCollection& cache);
  ~TFilmMotionFrames() override;

  // Reads the file through the cache's file manager; false (the scene list told why) when it
  // is missing, of neither signature, or damaged.
  bool Load(const std::string& name);

  std::int32_t FrameCount() const override;
  std::int32_t LoopStart() const override;
  bool Relative() const override { return manager_.RelativeToObject(); }
  void SetAnchor(std::int64_t x, std::int64_t y) override;
  void SetBasePriority(std::int32_t priority) override { manager_.SetBasePriority(priority); }
  void Apply(TKestControl& control, std::int32_t frame) override;

  void Show(const TCustomFrameList& track, const FilmTrackState& state) override;
  void Hide(const TCustomFrameList& track) override;

  const TFilmManager& Manager() const { return manager_; }
  // The object of track `index`, or none before it was first shown.
  TKestObject* TrackObject(std::int32_t index) const;

 private:
  TKestObject& ObjectFor(const TCustomFrameList& track);
  static void ShowCrop(TKestCustomImage& image, const std::optional<Rect>& crop);

  TKestControl& control_;
  TKestBaseList& list_;
  TFilmManager manager_;
  std::map<std::int32_t, ObjectId> objects_;
};

// The loader the scene list uses when it has an image cache.
std::unique_ptr<TMotionFrames> LoadFilmMotion(TKestControl& control, const std::string& name);

}  // namespace kest
