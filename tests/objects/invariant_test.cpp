// The dirty-rectangle invariant: after any sequence of changes, the window buffer, which only
// ever receives the rectangles each frame presents, equals a full repaint of the active screen.

#include <gtest/gtest.h>

#include <random>

#include "images/motion.h"
#include "objects/components/box.h"
#include "picture_fixture.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

class RandomScene {
 public:
  explicit RandomScene(std::uint32_t seed) : random_(seed) {
    scene_.list.Screen(1).SetColor(0x203040);
    cabinet_ = scene_.list.CreateByKind(LT_CABINET)->Id();
    static_cast<TKestControl*>(scene_.list.Resolve(cabinet_)->AsControl())->SetParent(&scene_.list.Screen(0));
  }

  void Step() {
    const int op = Pick(12);
    TKestBox* box = AnyBox();
    if (op == 0 || box == nullptr) {
      Create();
      return;
    }
    switch (op) {
      case 1: box->SetLeft(Coord()); break;
      case 2: box->SetTop(Coord()); break;
      case 3: box->SetWidth(Pick(80)); box->SetHeight(Pick(60)); break;
      case 4: box->SetVisible(Pick(2) == 0); break;
      case 5: box->SetPriority(Pick(5) - 2); break;
      case 6: box->SetParent(AnyParent()); break;
      case 7:
        box->SetClip(Pick(30) - 5, Pick(30) - 5, Pick(3) == 0 ? 0 : Pick(50), Pick(40));
        break;
      case 8: scene_.list.MarkPendingDelete(*box); break;
      case 9: scene_.list.FlipScreens(scene_.list.ActiveIndex() ^ 1, 0, false, ForceFlip::Yes, 0, 0); break;
      case 10: SetProp(*box, PR_ALPHA, std::int32_t{Pick(3) == 0 ? 300 : 60 + Pick(196)}); break;
      default:
        box->SetOffsetX(Pick(20) - 10);
        SetProp(*box, PR_BORDERWIDTH, std::int32_t{Pick(4)});
        SetProp(*box, PR_BORDERCOLOR, std::int32_t{Pick(2) ? 0x00FFFF : -1});
        box->SetPlusY(Pick(10) - 5);
        break;
    }
  }

  SceneHarness& Scene() { return scene_; }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  std::int32_t Coord() { return Pick(200) - 40; }

  void Create() {
    static constexpr std::int32_t kColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080, -1};
    TKestBox& box = scene_.Box("", {Coord(), Coord(), 0, 0}, kColours[Pick(5)], AnyParent());
    box.SetWidth(1 + Pick(80));
    box.SetHeight(1 + Pick(60));
    boxes_.push_back(box.Id());
  }

  TKestBox* AnyBox() {
    std::erase_if(boxes_, [&](ObjectId id) { return !scene_.list.Contains(id); });
    if (boxes_.empty()) return nullptr;
    return static_cast<TKestBox*>(scene_.list.Resolve(boxes_[static_cast<std::size_t>(Pick(static_cast<int>(boxes_.size())))]));
  }

  TKestControl* AnyParent() {
    const int choice = Pick(6);
    if (choice == 0) return &scene_.list.Screen(1);
    if (choice == 1) return scene_.list.Resolve(cabinet_)->AsControl();
    if (choice == 2) {
      if (TKestBox* box = AnyBox()) return box;
    }
    return &scene_.list.Screen(0);
  }

  SceneHarness scene_{160, 120};
  std::mt19937 random_;
  ObjectId cabinet_ = kNoObject;
  std::vector<ObjectId> boxes_;
};

TEST(DirtyInvariant, IncrementalFramesEqualAFullRepaint) {
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomScene random(seed);
    for (int frame = 0; frame < 150; ++frame) {
      const int changes = 1 + frame % 4;
      for (int i = 0; i < changes; ++i) random.Step();
      random.Scene().RunFrame();
      if (frame % 5 == 4) {
        std::string where;
        ASSERT_TRUE(random.Scene().WindowEqualsFullRepaint(&where)) << "frame " << frame << " at " << where;
      }
    }
  }
}

// The same invariant with pictures that change by themselves: animations, zoom, rotation,
// motion files, scrolling tiles and hovered buttons.
class RandomPictureScene {
 public:
  explicit RandomPictureScene(std::uint32_t seed) : random_(seed) {
    using testing::TestFrame;
    const auto solid = [](std::uint32_t c) { return [c](std::int32_t, std::int32_t) { return c; }; };
    pics_.Write("anim.zel", {TestFrame{.width = 9, .height = 7, .colour = solid(0xFF0000), .delay = 30},
                             TestFrame{.width = 13, .height = 5, .colour = solid(0x00FF00), .delay = 50},
                             TestFrame{.width = 5, .height = 11, .colour = solid(0x0000FF), .delay = 20}});
    pics_.Write("soft.zel", {TestFrame{.width = 12, .height = 8, .mask = [](std::int32_t x, std::int32_t y) {
                                         return static_cast<std::uint32_t>((x * 20 + y * 9) & 0xFF);
                                       }}});
    pics_.Write("keyed.zel", {TestFrame{.width = 8, .height = 8,
                                        .colour = [](std::int32_t x, std::int32_t y) { return (x + y) % 3 ? 0xFFFF00u : 0x00FF00u; },
                                        .key = 0x00FF00}});
    MotionFile file;
    file.header.version = 108;
    MotionTrackRecord track;
    track.length = 40;
    track.end_position = {60, 30};
    track.end_angle = 90;
    track.name = "anim.zel";
    file.tracks = {track};
    pics_.WriteBytes("move.kmt", WriteMotionFile(file));
    pics_.scene.list.ActiveScreen().SetColor(0x303030);
  }

  void Step() {
    static const char* kSources[] = {"anim.zel", "soft.zel", "keyed.zel", "move.kmt"};
    const int op = Pick(10);
    TKestCustomImage* image = Any();
    if (op == 0 || image == nullptr) {
      const std::uint8_t kind = Pick(4) == 0 ? LT_TILE : Pick(3) == 0 ? LT_BUTTON : LT_IMAGES;
      std::map<std::uint8_t, PropValue> values{{PR_PARENT, std::string()},
                                               {PR_SOURCE, std::string(kSources[Pick(kind == LT_TILE ? 3 : 4)])},
                                               {PR_LEFT, Coord()}, {PR_TOP, Coord()}, {PR_REPEAT, true}};
      if (kind == LT_TILE) {
        values[PR_WIDTH] = std::int32_t{10 + Pick(60)};
        values[PR_HEIGHT] = std::int32_t{10 + Pick(40)};
      }
      if (kind == LT_BUTTON) values[PR_HOVERSOURCE] = std::string(kSources[Pick(3)]);
      images_.push_back(pics_.Create<TKestCustomImage>(kind, values).Id());
      return;
    }
    switch (op) {
      case 1: SetProp(*image, PR_ZOOMX, std::int32_t{64 + Pick(600)}); break;
      case 2: SetProp(*image, PR_ANGLE, std::int32_t{Pick(4) == 0 ? 0 : Pick(256)}); break;
      case 3: SetProp(*image, PR_LEFT, Coord()); break;
      case 4: SetProp(*image, PR_FLIPH, Pick(2) == 0); break;
      case 5: SetProp(*image, PR_ALPHA, std::int32_t{Pick(3) == 0 ? 400 : 255 - Pick(200)}); break;
      case 6:
        if (image->GetCompoType() == LT_TILE) SetProp(*image, PR_SCROLLX, std::int32_t{Pick(50) - 25});
        else SetProp(*image, PR_OFFSETY, std::int32_t{Pick(6)});
        break;
      case 7: pics_.scene.list.MouseMoved(Pick(160), Pick(120)); break;
      case 8: SetProp(*image, PR_BRIGHTNESS, std::int32_t{Pick(200) - 100}); break;
      default: SetProp(*image, PR_ZOOMY, std::int32_t{128 + Pick(300)}); break;
    }
  }

  SceneHarness& Scene() { return pics_.scene; }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  std::int32_t Coord() { return Pick(180) - 20; }
  TKestCustomImage* Any() {
    std::erase_if(images_, [&](ObjectId id) { return !pics_.scene.list.Contains(id); });
    if (images_.empty()) return nullptr;
    return dynamic_cast<TKestCustomImage*>(pics_.scene.list.Resolve(images_[static_cast<std::size_t>(Pick(static_cast<int>(images_.size())))]));
  }

  testing::PictureScene pics_{160, 120};
  std::mt19937 random_;
  std::vector<ObjectId> images_;
};

TEST(DirtyInvariant, PicturesThatAnimateTurnZoomMoveAndScrollStillEqualAFullRepaint) {
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomPictureScene random(seed);
    for (int frame = 0; frame < 120; ++frame) {
      if (frame % 3 == 0) random.Step();
      random.Scene().RunFrame();
      if (frame % 5 == 4) {
        std::string where;
        ASSERT_TRUE(random.Scene().WindowEqualsFullRepaint(&where)) << "frame " << frame << " at " << where;
      }
    }
    // The pictures did show.
    int shown = 0;
    for (std::int32_t y = 0; y < 120; ++y)
      for (std::int32_t x = 0; x < 160; ++x) shown += random.Scene().WindowPixel(x, y) != 0x303030u ? 1 : 0;
    EXPECT_GT(shown, 0);
  }
}

}  // namespace
}  // namespace kest
