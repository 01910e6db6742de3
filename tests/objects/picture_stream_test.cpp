// Save streams of the picture kinds at the versions that changed them: 103 (before the zoom y,
// the box's motion fields, the button's clicked picture and the idle handlers), 104, and now.

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "picture_fixture.h"

namespace kest {
namespace {

using testing::PictureScene;
using testing::TestFrame;

constexpr std::int32_t kCurrent = 134;

class PictureStreams : public ::testing::TestWithParam<std::int32_t> {
 protected:
  PictureStreams() {
    for (PictureScene* p : {&from_, &to_}) {
      p->Write("three.zel", {TestFrame{.delay = 50}, TestFrame{.delay = 70}, TestFrame{.width = 8, .delay = 90}});
      p->Write("red.zel", {TestFrame{}});
    }
  }

  void RoundTrip() {
    ByteWriter out;
    from_.scene.list.SaveToStream(out, GetParam());
    const Bytes bytes = out.Take();
    ByteReader in(bytes, "save.dat");
    to_.scene.list.LoadFromStream(in, GetParam());
    EXPECT_EQ(in.Remaining(), 0u);
  }

  template <typename T>
  T& Loaded(const std::string& name) {
    auto* control = dynamic_cast<T*>(to_.scene.list.FindControl(name));
    EXPECT_NE(control, nullptr) << name;
    return *control;
  }

  PictureScene from_, to_;
};

TEST_P(PictureStreams, ImagesKeepTheirPictureFrameAndPlacement) {
  const std::int32_t version = GetParam();
  auto& image = from_.Create<TKestImages>(LT_IMAGES, {{PR_NAME, std::string("img")}, {PR_SOURCE, std::string("three.zel")},
                                                       {PR_LEFT, std::int32_t{3}}, {PR_ALPHA, std::int32_t{300}},
                                                       {PR_ZOOMX, std::int32_t{512}}, {PR_ZOOMY, std::int32_t{128}},
                                                       {PR_ANGLE, std::int32_t{20}}, {PR_FLIPV, true},
                                                       {PR_CAPTUREMASK, true}, {PR_REPEAT, true},
                                                       {PR_BRIGHTNESS, std::int32_t{-30}}, {PR_PAUSED, true},
                                                       {PR_ONPLAYEND, std::string("p:end")},
                                                       {PR_ONIDLE, std::string("p:idle")}});
  SetProp(image, PR_INDEX, std::int32_t{2});
  image.SizeIfDirty();
  SetProp(image, PR_HEIGHT, std::int32_t{9});  // a written size survives the round trip
  RoundTrip();
  auto& loaded = Loaded<TKestImages>("img");
  EXPECT_EQ(GetProp(loaded, PR_SOURCE), PropValue(std::string("three.zel")));
  EXPECT_EQ(loaded.Index(), 2);
  EXPECT_EQ(loaded.FrameTimeLeft(), image.FrameTimeLeft());
  EXPECT_EQ(GetProp(loaded, PR_ALPHA), PropValue(std::int32_t{300}));
  EXPECT_EQ(GetProp(loaded, PR_ZOOMX), PropValue(std::int32_t{512}));
  // Before 104 the zoom y was not saved: it is the zoom x.
  EXPECT_EQ(GetProp(loaded, PR_ZOOMY), PropValue(std::int32_t{version >= 104 ? 128 : 512}));
  EXPECT_EQ(GetProp(loaded, PR_ANGLE), PropValue(std::int32_t{20}));
  EXPECT_EQ(GetProp(loaded, PR_FLIPV), PropValue(true));
  EXPECT_EQ(GetProp(loaded, PR_CAPTUREMASK), PropValue(true));
  EXPECT_EQ(GetProp(loaded, PR_REPEAT), PropValue(true));
  EXPECT_EQ(GetProp(loaded, PR_BRIGHTNESS), PropValue(std::int32_t{-30}));
  EXPECT_EQ(GetProp(loaded, PR_PAUSED), PropValue(true));
  EXPECT_EQ(GetProp(loaded, PR_ONPLAYEND), PropValue(std::string("p:end")));
  EXPECT_EQ(GetProp(loaded, PR_ONIDLE), PropValue(std::string(version >= 104 ? "p:idle" : "")));
  EXPECT_EQ(loaded.Width(), 16);
  EXPECT_EQ(loaded.Height(), 9);
  EXPECT_TRUE(loaded.HasExplicitSize(1));
  EXPECT_FALSE(loaded.HasExplicitSize(0));
}

TEST_P(PictureStreams, ButtonsKeepTheirSourcesAndGroup) {
  const std::int32_t version = GetParam();
  for (const char* name : {"a", "b"})
    from_.Create<TKestButton>(LT_BUTTON, {{PR_NAME, std::string(name)}, {PR_SOURCE, std::string("red.zel")},
                                          {PR_HOVERSOURCE, std::string("three.zel")},
                                          {PR_PRESSEDSOURCE, std::string("red.zel")},
                                          {PR_CLICKEDSOURCE, std::string("three.zel")}, {PR_GROUPINDEX, std::int32_t{2}},
                                          {PR_ONNOTIFY, std::string("p:click")}});
  SetProp(*from_.scene.list.FindControl("b"), PR_SELECTED, true);
  RoundTrip();
  auto& a = Loaded<TKestButton>("a");
  auto& b = Loaded<TKestButton>("b");
  EXPECT_EQ(GetProp(b, PR_HOVERSOURCE), PropValue(std::string("three.zel")));
  EXPECT_EQ(GetProp(b, PR_PRESSEDSOURCE), PropValue(std::string("red.zel")));
  EXPECT_EQ(GetProp(b, PR_CLICKEDSOURCE), PropValue(std::string(version >= 104 ? "three.zel" : "")));
  EXPECT_EQ(GetProp(b, PR_ONNOTIFY), PropValue(std::string("p:click")));
  EXPECT_EQ(b.GroupIndex(), 2);
  EXPECT_TRUE(b.Selected());
  EXPECT_FALSE(a.Selected());
  EXPECT_EQ(b.GetState(), TKestButton::kPressed);
  EXPECT_EQ(b.PressState(), 0);
}

TEST_P(PictureStreams, TilesAndBoxesKeepTheirFields) {
  const std::int32_t version = GetParam();
  from_.Create<TKestTile>(LT_TILE, {{PR_NAME, std::string("sky")}, {PR_SOURCE, std::string("three.zel")},
                                    {PR_WIDTH, std::int32_t{30}}, {PR_HEIGHT, std::int32_t{20}},
                                    {PR_SCROLLX, std::int32_t{-4}}, {PR_SCROLLY, std::int32_t{7}},
                                    {PR_DISTANCEX, std::int32_t{9}}, {PR_DISTANCEY, std::int32_t{11}},
                                    {PR_ONIDLE, std::string("p:idle")}});
  auto& box = from_.scene.Box("box", {1, 2, 3, 4}, 0x102030);
  SetProp(box, PR_SOURCE, std::string("not-a-motion.txt"));
  SetProp(box, PR_REPEAT, true);
  SetProp(box, PR_ONPLAYEND, std::string("p:box"));
  RoundTrip();
  auto& tile = Loaded<TKestTile>("sky");
  EXPECT_EQ(tile.Width(), 30);
  EXPECT_EQ(tile.Height(), 20);
  EXPECT_EQ(tile.ScrollX(), -4);
  EXPECT_EQ(tile.ScrollY(), 7);
  EXPECT_EQ(GetProp(tile, PR_DISTANCEX), PropValue(std::int32_t{9}));
  EXPECT_EQ(GetProp(tile, PR_DISTANCEY), PropValue(std::int32_t{11}));
  EXPECT_EQ(GetProp(tile, PR_ONIDLE), PropValue(std::string("p:idle")));
  EXPECT_EQ(tile.Index(), 0);
  auto& loaded_box = Loaded<TKestBox>("box");
  EXPECT_EQ(GetProp(loaded_box, PR_SOURCE), PropValue(std::string(version >= 104 ? "not-a-motion.txt" : "")));
  EXPECT_EQ(GetProp(loaded_box, PR_REPEAT), PropValue(version >= 104));
  EXPECT_EQ(GetProp(loaded_box, PR_ONPLAYEND), PropValue(std::string(version >= 104 ? "p:box" : "")));
}

INSTANTIATE_TEST_SUITE_P(Versions, PictureStreams, ::testing::Values(103, 104, kCurrent));

}  // namespace
}  // namespace kest
