// The scene block of a game save: round trips, older versions, and corrupt streams.

#include <gtest/gtest.h>

#include <functional>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "objects/components/box.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;

constexpr std::int32_t kVersion = 134;

Bytes Save(const TKestBaseList& list) {
  ByteWriter out;
  list.SaveToStream(out);
  return out.Take();
}

void Load(TKestBaseList& list, const Bytes& bytes, std::int32_t version = kVersion) {
  ByteReader in(bytes, "save.dat");
  list.LoadFromStream(in, version);
}

TEST(SceneStream, RoundTripKeepsTreeFieldsEventsAndFocus) {
  SceneHarness scene(80, 60);
  TKestBox& panel = scene.Box("panel", {5, 6, 50, 40}, 0x112233);
  panel.SetPriority(3);
  panel.SetTag("tagged");
  SetProp(panel, PR_ALPHA, std::int32_t{128});
  SetProp(panel, PR_ONLBTNDOWN, std::string("page:down"));
  panel.SetClip(1, 2, 3, 4);
  TKestBox& field = scene.Box("field", {1, 1, 5, 5}, 0x445566, &panel);
  field.SetHandleKey(true);
  scene.Box("other", {0, 0, 4, 4}, 1, &scene.list.Screen(1));
  scene.Box("\x01internal", {0, 0, 4, 4}, -1);  // never saved (and draws nothing)
  scene.list.CreateByKind(LT_CABINET)->SetName("cab");
  scene.RunFrame();  // focus goes to the field
  scene.list.Events().Add({"page:h", field.Id(), PR_ONKEYDOWN, 2, {"a", "b"}});
  const Bytes bytes = Save(scene.list);

  SceneHarness loaded(80, 60);
  Load(loaded.list, bytes);
  EXPECT_EQ(loaded.list.Width(), 80);
  auto* panel2 = static_cast<TKestBox*>(loaded.list.FindControl("panel"));
  ASSERT_NE(panel2, nullptr);
  EXPECT_EQ(panel2->Parent(), &loaded.list.Screen(0));
  EXPECT_EQ(panel2->Priority(), 3);
  EXPECT_EQ(panel2->Tag(), "tagged");
  EXPECT_EQ(GetProp(*panel2, PR_ALPHA), PropValue(std::int32_t{128}));
  EXPECT_EQ(GetProp(*panel2, PR_ONLBTNDOWN), PropValue(std::string("page:down")));
  EXPECT_EQ(GetProp(*panel2, PR_CLIPHEIGHT), PropValue(std::int32_t{4}));
  EXPECT_EQ(panel2->GetScreenRect(), (Rect{5, 6, 50, 40}));
  TKestControl* field2 = loaded.list.FindControl("field");
  ASSERT_NE(field2, nullptr);
  EXPECT_EQ(field2->Parent(), panel2);
  EXPECT_EQ(loaded.list.FindControl("other")->Parent(), &loaded.list.Screen(1));
  EXPECT_EQ(loaded.list.FindComponent("\x01internal"), nullptr);
  EXPECT_EQ(loaded.list.FocusObject(), field2);
  EXPECT_FALSE(loaded.list.RefocusNeeded());
  ASSERT_EQ(loaded.list.Events().Count(), 1u);
  EXPECT_EQ(loaded.list.Events()[0].Sender, field2->Id());
  EXPECT_EQ(loaded.list.Events()[0].EventLevel, 2);
  EXPECT_EQ(loaded.list.Events()[0].Args, (std::vector<std::string>{"a", "b"}));
  // Saving what was loaded gives the same bytes (the cabinet has no place in the component
  // list: it is a control without a parent, so it is not saved either way).
  EXPECT_EQ(Save(loaded.list), bytes);
  // The loaded scene draws the same picture.
  loaded.RunFrame();
  scene.list.Screen(0).AddWholeRect();
  scene.RunFrame();
  for (std::int32_t y = 0; y < 60; y += 7)
    for (std::int32_t x = 0; x < 80; x += 7) EXPECT_EQ(loaded.WindowPixel(x, y), scene.WindowPixel(x, y));
}

TEST(SceneStream, EmptyFocusAndSenderNamesLoadAsNone) {
  SceneHarness scene;
  TKestBox& box = scene.Box("b", {0, 0, 5, 5}, 0);
  const ObjectId gone = scene.list.CreateByKind(LT_BOX)->Id();
  scene.list.Events().Add({"page:h", gone, PR_ONIDLE, 0, {}});
  scene.list.Free(gone);  // its waiting entry goes with it; add one whose sender is gone
  scene.list.Events().Add({"page:h", gone, PR_ONIDLE, 1, {}});
  (void)box;
  const Bytes bytes = Save(scene.list);
  SceneHarness loaded;
  Load(loaded.list, bytes);
  ASSERT_EQ(loaded.list.Events().Count(), 1u);
  EXPECT_EQ(loaded.list.Events()[0].Sender, kNoObject);
  EXPECT_EQ(loaded.list.FocusObject(), nullptr);
  EXPECT_TRUE(loaded.list.RefocusNeeded());
}

TEST(SceneStream, OlderVersionsLeaveLaterFieldsAtTheirDefaults) {
  // A version-103 save of one box: no priority offset, tag, clip, AniPaused, motion or key
  // fields, and no box fields after Alpha.
  ByteWriter out;
  out.I32(40);
  out.I32(30);
  out.I32(0);
  const auto control = [&](const std::string& name, std::int32_t children) {
    out.LString(name);
    out.I32(7);                                             // priority
    for (int i = 0; i < 6; ++i) out.I32(i == 2 || i == 3 ? 10 : 1);  // left .. offset y
    out.Bool(false);                                        // PosZoomed
    out.Bool(true);                                         // Visible
    out.I32(0x00FF00);                                      // Color
    for (int v : {0, 0, 1, 1}) out.I32(v);                  // ReservedRect
    out.U8(0);                                              // IgnoreMouse
    out.LString("");                                        // Cursor
    for (int i = 0; i < 9; ++i) out.LString("");           // mouse events, OnMouseIn included
    out.I32(children);
  };
  control("BASE0", 1);
  out.U8(LT_BOX);
  control("old", 0);
  out.I32(0);  // border width
  out.I32(-1);
  out.I32(200);
  control("BASE1", 0);
  out.I32(0);  // components
  out.I32(0);  // events
  SceneHarness loaded;
  Load(loaded.list, out.Take(), 103);
  TKestControl* box = loaded.list.FindControl("old");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Priority(), 7);
  EXPECT_EQ(box->PriorityOffset(), 0);
  EXPECT_EQ(GetProp(*box, PR_ALPHA), PropValue(std::int32_t{200}));
  EXPECT_EQ(GetProp(*box, PR_CLIPWIDTH), PropValue(std::int32_t{0}));
  EXPECT_EQ(GetProp(*box, PR_HANDLEKEY), PropValue(false));
  EXPECT_TRUE(loaded.list.RefocusNeeded());  // no focus name before version 119
}

TEST(SceneStream, CorruptStreamsRaiseFormatErrors) {
  SceneHarness scene;
  scene.Box("b", {0, 0, 5, 5}, 0);
  const Bytes good = Save(scene.list);

  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  };
  // Find the kind byte of the box: the first LT_BOX byte followed by the box's name length.
  std::size_t kind_at = 0;
  for (std::size_t i = 12; i + 5 < good.size(); ++i)
    if (good[i] == LT_BOX && good[i + 1] == 1 && good[i + 2] == 0 && good[i + 5] == 'b') kind_at = i;
  ASSERT_NE(kind_at, 0u);
  const Case cases[] = {
      {"bad kind", [&](Bytes& b) { b[kind_at] = 10; }},
      {"huge count", [&](Bytes& b) { b[kind_at - 4] = 0xFF; b[kind_at - 3] = 0xFF; b[kind_at - 2] = 0xFF; b[kind_at - 1] = 0x7F; }},
      {"truncated", [&](Bytes& b) { b.resize(b.size() / 2); }},
      {"screen size", [&](Bytes& b) { b[3] = 0x7F; }},
      // Each side fits a surface, but three surfaces of 16418 x 12288 would take 2.4 GB.
      {"screen area", [&](Bytes& b) { b[0] = 0x22; b[1] = 0x40; b[4] = 0x00; b[5] = 0x30; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bad = good;
    c.damage(bad);
    SceneHarness loaded;
    EXPECT_THROW(Load(loaded.list, bad), FormatError);
  }
}

TEST(SceneStream, DeepNestingIsRefused) {
  SceneHarness scene;
  TKestControl* parent = &scene.list.ActiveScreen();
  for (int i = 0; i < 80; ++i) parent = &scene.Box("n" + std::to_string(i), {0, 0, 1, 1}, 0, parent);
  const Bytes bytes = Save(scene.list);
  SceneHarness loaded;
  EXPECT_THROW(Load(loaded.list, bytes), FormatError);
}

TEST(SceneStream, KindsNotBuiltYetSayTheyCannotBeSaved) {
  SceneHarness scene;
  TKestControl& label = *scene.list.CreateByKind(LT_LABEL)->AsControl();
  label.SetParent(&scene.list.ActiveScreen());
  try {
    Save(scene.list);
    FAIL() << "saved a kind that is not built";
  } catch (const KestError& error) {
    EXPECT_NE(std::string(error.what()).find("LT_LABEL"), std::string::npos);
  }
}

}  // namespace
}  // namespace kest
