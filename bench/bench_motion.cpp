// Motion files: one step of 200 tracks (each computing position, angle, zoom, alpha and crop
// with its curves and handing the state on), and loading a 200-track file with resource loading
// suppressed. No public library does this job, so the figures stand alone.

#include <benchmark/benchmark.h>

#include "images/film_manager.h"
#include "images/motion_fixture.h"

namespace kest {
namespace {

constexpr int kTracks = 200;

// Image tracks in chains of four, every curve mode, with a few boxes and labels among them.
Bytes TwoHundredTracks() {
  MotionFile file;
  for (int i = 0; i < kTracks; ++i) {
    const TrackKind kind = i % 10 == 9 ? TrackKind::Box : i % 10 == 8 ? TrackKind::Label : TrackKind::Image;
    MotionTrackRecord track = SampleMotionTrack(kind, i);
    track.start = i % 7;
    track.length = 400 + i;
    track.cycle = 12;
    track.x_curve = static_cast<std::uint8_t>(i % 3);
    track.y_curve = static_cast<std::uint8_t>((i + 1) % 3);
    track.angle_curve = static_cast<std::uint8_t>((i + 2) % 3);
    track.parent = i % 4 == 0 ? -1 : i - 1;
    file.tracks.push_back(track);
  }
  return WriteMotionFile(file);
}

class SinkTarget final : public TFilmTarget {
 public:
  void Show(const TCustomFrameList&, const FilmTrackState& state) override {
    sum_ += state.x + state.y + state.angle + state.zoom_x + state.alpha + (state.crop ? state.crop->right : 0);
  }
  void Hide(const TCustomFrameList&) override { ++sum_; }
  std::int64_t Sum() const { return sum_; }

 private:
  std::int64_t sum_ = 0;
};

void BM_MotionStep(benchmark::State& state) {
  TFilmManager film;
  film.SetSuppressResources(true);
  film.Load(TwoHundredTracks(), "bench.kmt");
  SinkTarget target;
  film.SetTarget(&target);
  std::int64_t tick = 0;
  for (auto _ : state) {
    // Times inside every chain's first track and later ones, moving one tick per frame.
    film.Step(100 + (tick++ % 1200));
    benchmark::DoNotOptimize(target.Sum());
  }
  state.SetItemsProcessed(state.iterations() * kTracks);
}
BENCHMARK(BM_MotionStep)->Name("Motion/Step/kest");

void BM_MotionLoad(benchmark::State& state) {
  const Bytes file = TwoHundredTracks();
  TFilmManager film;
  film.SetSuppressResources(true);
  for (auto _ : state) {
    film.Load(file, "anim\\bench.kmt");
    benchmark::DoNotOptimize(film.TotalTime());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_MotionLoad)->Name("Motion/Load/kest");

}  // namespace
}  // namespace kest
