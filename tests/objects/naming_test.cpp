// Names, renaming on collision, child order, reparenting and deferred deletion.

#include <gtest/gtest.h>

#include "objects/components/box.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

TEST(Naming, UnnamedObjectsAreNumberedFromZero) {
  TKestBaseList list(64, 48);
  EXPECT_EQ(list.CreateByKind(LT_BOX)->Name(), "object0");
  EXPECT_EQ(list.CreateByKind(LT_TIMER)->Name(), "object1");
  EXPECT_EQ(list.CreateByKind(LT_IMAGES)->Name(), "object2");
  // A released automatic name is the first free one again; a taken later one is skipped.
  list.FindComponent("object1")->SetName("renamed");
  list.CreateByKind(LT_BOX)->SetName("object4");
  EXPECT_EQ(list.CreateByKind(LT_BOX)->Name(), "object1");
  EXPECT_EQ(list.CreateByKind(LT_BOX)->Name(), "object3");
  EXPECT_EQ(list.CreateByKind(LT_BOX)->Name(), "object5");
}

TEST(Naming, ControlsRenameTheObjectThatCarriedTheName) {
  struct Case {
    const char* existing;
    const char* blocker;  // a third object holding a name the rename would otherwise take
    const char* moved_to;
  };
  const Case cases[] = {
      {"object0", nullptr, "object0_2"},
      {"btn_3", nullptr, "btn_4"},
      {"btn_3", "btn_4", "btn_5"},
      {"btn_1", nullptr, "btn_1_2"},
      {"a_b_7", nullptr, "a_b_8"},
      {"_5", nullptr, "_5_2"},  // the scan stops before the first character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.existing);
    TKestBaseList list(64, 48);
    TKestObject& first = *list.CreateByKind(LT_BOX);
    first.SetName(c.existing);
    if (c.blocker) list.CreateByKind(LT_BOX)->SetName(c.blocker);
    TKestObject& second = *list.CreateByKind(LT_BOX);
    second.SetName(c.existing);
    EXPECT_EQ(second.Name(), c.existing);
    EXPECT_EQ(first.Name(), c.moved_to);
    EXPECT_FALSE(list.IsPendingDelete(first));
  }
}

TEST(Naming, UnderscoreInsideADoubleByteCharacterIsNotASeparator) {
  TKestBaseList list(64, 48);
  // 0x83 0x5F is one character whose second byte looks like "_".
  const std::string name = "\x83\x5F" "9";
  list.CreateByKind(LT_BOX)->SetName(name);
  list.CreateByKind(LT_BOX)->SetName(name);
  EXPECT_NE(list.FindComponent(name + "_2"), nullptr);
}

TEST(Naming, NonVisualObjectsDeleteTheObjectThatCarriedTheName) {
  SceneHarness scene;
  TKestObject& first = *scene.list.CreateByKind(LT_TIMER);
  first.SetName("t");
  const ObjectId first_id = first.Id();
  TKestObject& second = *scene.list.CreateByKind(LT_TIMER);
  second.SetName("t");
  EXPECT_TRUE(scene.list.IsPendingDelete(first));
  EXPECT_EQ(first.Name(), "");
  EXPECT_EQ(scene.list.FindComponent("t"), &second);
  EXPECT_TRUE(scene.list.Contains(first_id));  // freed only at the end of the update
  scene.RunFrame();
  EXPECT_FALSE(scene.list.Contains(first_id));
}

TEST(ChildOrder, PriorityThenNameWithInternalNamesFirstAndTheSnapshotLast) {
  SceneHarness scene;
  TKestBox& snapshot = scene.Box("\x01\x01", {0, 0, 1, 1}, 0);
  TKestBox& high = scene.Box("c", {0, 0, 1, 1}, 0);
  high.SetPriority(5);
  TKestBox& b = scene.Box("b", {0, 0, 1, 1}, 0);
  TKestBox& a = scene.Box("a", {0, 0, 1, 1}, 0);
  TKestBox& internal = scene.Box("\x01z", {0, 0, 1, 1}, 0);
  internal.SetPriority(100);
  const std::vector<TKestControl*> expected = {&internal, &a, &b, &high, &snapshot};
  EXPECT_EQ(scene.list.ActiveScreen().Children(), expected);
  // A priority change re-sorts.
  high.SetPriority(-1);
  EXPECT_EQ(scene.list.ActiveScreen().Children()[1], &high);
}

TEST(Tree, ListNamesFiltersByKindAndParent) {
  SceneHarness scene;
  TKestBox& panel = scene.Box("panel", {0, 0, 50, 50}, 0);
  scene.Box("inner", {0, 0, 5, 5}, 0, &panel);
  scene.list.CreateByKind(LT_TIMER)->SetName("timer");
  std::vector<std::string> names;
  EXPECT_EQ(scene.list.ListNames(0, nullptr, names), 3);
  EXPECT_EQ(names, (std::vector<std::string>{"panel", "inner", "timer"}));
  names.clear();
  EXPECT_EQ(scene.list.ListNames(LT_BOX, &panel, names), 1);
  EXPECT_EQ(names, (std::vector<std::string>{"inner"}));
  names.clear();
  EXPECT_EQ(scene.list.ListNames(LT_TIMER, &scene.list.ActiveScreen(), names), 0);
}

TEST(Tree, ReparentingIntoOwnSubtreeIsRefused) {
  SceneHarness scene;
  TKestBox& outer = scene.Box("outer", {0, 0, 50, 50}, 0);
  TKestBox& inner = scene.Box("inner", {0, 0, 10, 10}, 0, &outer);
  outer.SetParent(&inner);
  EXPECT_EQ(outer.Parent(), &scene.list.ActiveScreen());
  outer.SetParent(&outer);
  EXPECT_EQ(outer.Parent(), &scene.list.ActiveScreen());
  EXPECT_EQ(inner.Parent(), &outer);
  // Through the property, by name.
  SetProp(inner, PR_PARENT, std::string("BASE1"));
  EXPECT_EQ(inner.Parent(), &scene.list.Screen(1));
  SetProp(inner, PR_PARENT, std::string("nobody"));
  EXPECT_EQ(inner.Parent(), &scene.list.Screen(1));
  EXPECT_EQ(GetProp(inner, PR_PARENT), PropValue(std::string("BASE1")));
}

TEST(Deletion, DeletedObjectsWaitingEventsNeverRun) {
  SceneHarness scene;
  TKestBox& box = scene.Box("box", {0, 0, 10, 10}, 0);
  SetProp(box, PR_ONIDLE, std::string("page:idle"));
  scene.RunFrame();
  ASSERT_EQ(scene.list.Events().WaitingCount(), 1u);
  scene.list.MarkPendingDelete(box);
  EXPECT_EQ(scene.list.FindComponent("box"), nullptr);
  scene.RunFrame();
  EXPECT_EQ(scene.list.Events().Count(), 0u);
}

TEST(Deletion, FreeingAParentFreesItsChildrenAndKeepsIdsUnused) {
  SceneHarness scene;
  TKestBox& parent = scene.Box("p", {0, 0, 50, 50}, 0);
  TKestBox& child = scene.Box("c", {0, 0, 10, 10}, 0, &parent);
  const ObjectId child_id = child.Id();
  scene.list.MarkPendingDelete(parent);
  scene.RunFrame();
  EXPECT_FALSE(scene.list.Contains(child_id));
  EXPECT_EQ(scene.list.ObjectCount(), 0u);
  EXPECT_GT(scene.list.CreateByKind(LT_BOX)->Id(), child_id);
}

// An object whose update frees an object that stands before the update cursor.
class FreeingBox : public TKestBox {
 public:
  FreeingBox(TKestBaseList& owner, ObjectId victim) : TKestBox(owner), victim_(victim) {}
  bool Update(std::int32_t) override {
    Owner().Free(victim_);
    ++updates;
    return false;
  }
  int updates = 0;

 private:
  ObjectId victim_;
};

TEST(Deletion, UpdateLoopStaysCorrectWhenAnUpdateFreesEarlierObjects) {
  SceneHarness scene;
  TKestBox& early = scene.Box("early", {0, 0, 4, 4}, 0);
  TKestBox& a = scene.Box("a", {0, 0, 4, 4}, 0);
  FreeingBox& freeing = scene.list.Create<FreeingBox>(early.Id());
  TKestBox& b = scene.Box("b", {0, 0, 4, 4}, 0);
  SetProp(a, PR_ONIDLE, std::string("x"));
  SetProp(b, PR_ONIDLE, std::string("y"));
  scene.RunFrame();
  EXPECT_EQ(freeing.updates, 1);
  // The object after the freeing one was still visited: its idle event is queued.
  ASSERT_EQ(scene.list.Events().WaitingCount(), 2u);
  EXPECT_EQ(scene.list.Events()[1].Sender, b.Id());
}

}  // namespace
}  // namespace kest
