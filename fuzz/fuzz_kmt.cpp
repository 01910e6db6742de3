// Feeds motion files to the film manager with resource loading suppressed and steps it at times
// taken from the input's last bytes: any error must be a FormatError (or the manager's refusal
// of a foreign signature). Whatever was read writes and reads back to the same file.

#include <cstdlib>
#include <cstring>

#include "core/errors.h"
#include "fuzz_target.h"
#include "images/film_manager.h"
#include "images/motion_fixture.h"

namespace {

struct CountingTarget final : kest::TFilmTarget {
  void Show(const kest::TCustomFrameList&, const kest::FilmTrackState& state) override {
    if (state.angle < 0 || state.angle > 255) std::abort();
    ++shows;
  }
  void Hide(const kest::TCustomFrameList&) override { ++hides; }
  long shows = 0, hides = 0;
};

struct CountingScene final : kest::TFilmScene {
  void StartTransition(const kest::FilmTransitionStart& start) override {
    if (start.plane != 0 && start.plane != 1) std::abort();
  }
  void SetTransitionStep(std::int64_t) override {}
  void ShowPlane(int plane) override {
    if (plane != 0 && plane != 1) std::abort();
  }
};

kest::Bytes WithTimes(kest::Bytes file, std::initializer_list<std::int64_t> times) {
  for (const std::int64_t time : times)
    for (int i = 0; i < 8; ++i) file.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(time) >> (8 * i)));
  return file;
}

kest::Bytes Chained(std::int32_t version) {
  kest::MotionFile file = kest::SampleMotionFile(version);
  for (std::size_t i = 1; i < file.tracks.size(); ++i) file.tracks[i].parent = static_cast<std::int32_t>(i - 1);
  file.tracks[0].parent = 5;  // a cycle through the first six
  return kest::WriteMotionFile(file);
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (std::int32_t version = 100; version <= 108; ++version)
    seeds.push_back(WithTimes(kest::WriteMotionFile(kest::SampleMotionFile(
                                  version, version % 2 ? kest::MotionFileType::Cinema : kest::MotionFileType::Motion)),
                              {0, 5, 17, 40}));
  seeds.push_back(WithTimes(Chained(108), {3, 30, 90, -1}));
  seeds.push_back(WithTimes(Chained(106), {1LL << 40, 12, 0, 77}));
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kest::ByteSpan input(data, size);
  try {
    kest::TFilmManager film;
    film.SetSuppressResources(true);
    CountingTarget target;
    CountingScene scene;
    film.SetTarget(&target);
    film.SetScene(&scene);
    if (!film.Load(input, "fuzz\\clip.kmt")) return 0;
    const std::int64_t total = film.TotalTime();
    std::vector<std::int64_t> times = {0, total / 2, total - 1, total};
    for (std::size_t tail = 0; tail < 4 && size >= 8 * (tail + 1); ++tail) {
      std::int64_t time = 0;
      std::memcpy(&time, data + size - 8 * (tail + 1), 8);
      times.push_back(time);
    }
    for (const std::int64_t time : times) film.Step(time);
    film.Clear();
    if (target.hides > target.shows) std::abort();

    const kest::MotionFile read = kest::ReadMotionFile(input, "fuzz\\clip.kmt");
    const kest::Bytes once = kest::WriteMotionFile(read);
    const kest::Bytes twice = kest::WriteMotionFile(kest::ReadMotionFile(once, "fuzz\\clip.kmt"));
    if (once != twice) std::abort();
  } catch (const kest::FormatError&) {
  }
  return 0;
}
