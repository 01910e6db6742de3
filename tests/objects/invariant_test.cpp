// The dirty-rectangle invariant: after any sequence of changes, the window buffer, which only
// ever receives the rectangles each frame presents, equals a full repaint of the active screen.

#include <gtest/gtest.h>

#include <random>

#include "objects/components/box.h"
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

}  // namespace
}  // namespace kest
