#pragma once
// Pictures for the picture kinds' tests: a title folder with layered image files, an image cache
// over it, and a scene that uses the cache.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "images/zelk_cache.h"
#include "images/zelk_fixture.h"
#include "objects/components.h"
#include "objects/object_commands.h"
#include "scene_harness.h"
#include "support/temp_folder.h"
#include "vfs/file_manager.h"

namespace kest::testing {

// One frame of a test picture: its size, colour per pixel, key colour (-1 none), soft mask per
// pixel (none: no mask) and delay.
struct TestFrame {
  std::int32_t width = 6, height = 4;
  std::function<std::uint32_t(std::int32_t, std::int32_t)> colour = [](std::int32_t, std::int32_t) { return 0xFF0000u; };
  std::int32_t key = -1;
  std::function<std::uint32_t(std::int32_t, std::int32_t)> mask;
  std::int32_t delay = 100;
};

inline Bytes TestPicture(const std::vector<TestFrame>& frames) {
  ZelkFileSpec spec;
  for (const TestFrame& f : frames) {
    ZelkFrameSpec frame;
    frame.width = f.width;
    frame.height = f.height;
    frame.bit_count = 24;
    frame.delay = f.delay;
    frame.key = f.key;
    ZelkLayerSpec layer;
    layer.picture = MakeZelkPicture(f.width, f.height, 24, f.colour);
    if (f.mask) {
      layer.mask = MakeZelkPicture(f.width, f.height, 8, f.mask);
      layer.mask.Palette().clear();
      layer.use_mask = true;
    }
    frame.layers = {layer};
    spec.frames.push_back(frame);
  }
  return WriteZelkFile(spec);
}

class PictureScene {
 public:
  explicit PictureScene(std::int32_t width = 40, std::int32_t height = 30)
      : files_(FileManagerOptions{.scan_optical_mounts = false, .temp_parent = temp_.Path().string()}),
        cache_(files_, {.on_error = [this](const std::string& e) { errors.push_back(e); }}),
        scene(width, height) {
    files_.SetBaseFolder(game_.Path().string() + "/");
    scene.list.SetImageCache(&cache_);
  }

  void Write(const std::string& name, const std::vector<TestFrame>& frames) { game_.Write(name, TestPicture(frames)); }
  void WriteBytes(const std::string& name, const Bytes& bytes) { game_.Write(name, bytes); }

  // An object of `kind` made the way the creation commands make it.
  template <typename T>
  T& Create(std::uint8_t kind, std::map<std::uint8_t, PropValue> values) {
    TKestObject* object = CreateObject(scene.list, kind, [&values](std::uint8_t id) {
      const auto it = values.find(id);
      return it == values.end() ? CarriedProperty{} : CarriedProperty{CarriedProperty::State::Value, it->second};
    });
    return dynamic_cast<T&>(*object);
  }

  std::size_t Queued(std::uint8_t event) const {
    std::size_t n = 0;
    const TTimerList& events = const_cast<TKestBaseList&>(scene.list).Events();
    for (std::size_t i = 0; i < events.Count(); ++i) n += events[i].EventId == event ? 1 : 0;
    return n;
  }

  TZelkCollection& Cache() { return cache_; }

 private:
  TempFolder game_, temp_;
  TVrFileManager files_;

 public:
  std::vector<std::string> errors;

 private:
  TZelkCollection cache_;

 public:
  SceneHarness scene;
};

}  // namespace kest::testing
