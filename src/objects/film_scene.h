#pragma once
// The scene side of a motion file's transition tracks: a film given a scene list switches the
// list's two screens with the list's own transitions. Film steps and lengths are ticks; the
// transitions count milliseconds, 16 to a tick.

#include "images/film_manager.h"

namespace kest {

class TKestBaseList;

class TFilmSceneList final : public TFilmScene {
 public:
  explicit TFilmSceneList(TKestBaseList& list) : list_(list) {}

  // The transition runs from the screen `plane` to the other one.
  void StartTransition(const FilmTransitionStart& start) override;
  void SetTransitionStep(std::int64_t step) override;
  // Ends a running transition and shows `plane`; nothing when it shows already.
  void ShowPlane(int plane) override;

 private:
  TKestBaseList& list_;
};

}  // namespace kest
