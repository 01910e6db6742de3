// Pictures from the image cache: ImgNew's object with a ".zel" source shows frame 0 unscaled,
// by the alpha convention, and gives its cache entry back when it goes.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "images/zelk_cache.h"
#include "objects/components/box.h"
#include "images/zelk_fixture.h"
#include "objects/components/images.h"
#include "objects/object_commands.h"
#include "scene_harness.h"
#include "support/temp_folder.h"
#include "vfs/file_manager.h"

namespace kest {
namespace {

using testing::SceneHarness;
using State = CarriedProperty::State;

constexpr std::int32_t kBackground = 0x00204060;  // 0x00BBGGRR: R 0x60, G 0x40, B 0x20
constexpr std::uint32_t kBackgroundPixel = 0x604020;

PropertySource Carrying(std::map<std::uint8_t, PropValue> values) {
  return [values = std::move(values)](std::uint8_t id) {
    const auto it = values.find(id);
    return it == values.end() ? CarriedProperty{} : CarriedProperty{State::Value, it->second};
  };
}

// A 6 x 4 picture: red, with a green key column at x = 0; soft: a mask ramp instead of the key.
Bytes Picture(bool soft) {
  ZelkPicture picture = MakeZelkPicture(6, 4, 24, [](std::int32_t x, std::int32_t) { return x == 0 ? 0x00FF00u : 0xFF0000u; });
  ZelkFileSpec spec;
  ZelkFrameSpec frame;
  frame.width = 6;
  frame.height = 4;
  frame.bit_count = 24;
  ZelkLayerSpec layer;
  layer.picture = picture;
  if (soft) {
    layer.mask = MakeZelkPicture(6, 4, 8, [](std::int32_t x, std::int32_t) { return x * 51; });
    layer.mask.Palette().clear();
    layer.use_mask = true;
  } else {
    frame.key = 0x00FF00;
  }
  frame.layers = {layer};
  spec.frames = {frame};
  return WriteZelkFile(spec);
}

class ImageTest : public ::testing::Test {
 protected:
  ImageTest()
      : files_(FileManagerOptions{.scan_optical_mounts = false, .temp_parent = temp_.Path().string()}),
        cache_(files_, {.on_error = [this](const std::string& e) { errors_.push_back(e); }}) {
    files_.SetBaseFolder(game_.Path().string() + "/");
    game_.Write("key.zel", Picture(false));
    game_.Write("soft.zel", Picture(true));
    scene_.list.SetImageCache(&cache_);
    scene_.Box("back", {0, 0, 40, 30}, kBackground);
  }

  TKestImages& Image(const std::string& source, std::int32_t alpha = 255) {
    TKestObject* object = CreateObject(scene_.list, LT_IMAGES,
                                       Carrying({{PR_NAME, std::string("img")},
                                                 {PR_SOURCE, source},
                                                 {PR_LEFT, std::int32_t{10}},
                                                 {PR_TOP, std::int32_t{5}},
                                                 {PR_ALPHA, alpha}}));
    return dynamic_cast<TKestImages&>(*object);
  }

  testing::TempFolder game_, temp_;
  TVrFileManager files_;
  std::vector<std::string> errors_;
  TZelkCollection cache_;
  SceneHarness scene_{40, 30};
};

TEST_F(ImageTest, KeyPixelsShowWhatIsBehind) {
  TKestImages& image = Image("key.zel");
  EXPECT_EQ(GetProp(image, PR_WIDTH), PropValue(std::int32_t{6}));
  EXPECT_EQ(GetProp(image, 90), PropValue(std::int32_t{6}));  // PR_ORIGWIDTH
  EXPECT_EQ(GetProp(image, 91), PropValue(std::int32_t{4}));  // PR_ORIGHEIGHT
  EXPECT_EQ(GetProp(image, PR_COUNT), PropValue(std::int32_t{1}));
  scene_.RunFrame();
  EXPECT_EQ(scene_.WindowPixel(10, 5), kBackgroundPixel);
  EXPECT_EQ(scene_.WindowPixel(11, 5), 0xFF0000u);
  EXPECT_EQ(scene_.WindowPixel(15, 8), 0xFF0000u);
  EXPECT_EQ(scene_.WindowPixel(16, 8), kBackgroundPixel);
  EXPECT_EQ(scene_.WindowPixel(12, 9), kBackgroundPixel);
  EXPECT_TRUE(scene_.WindowEqualsFullRepaint());
}

TEST_F(ImageTest, SoftMasksAlphaAndAddFollowTheSurfaceOperations) {
  TKestImages& image = Image("soft.zel");
  TCustomDIBX& picture = *image.GetSurface();
  ASSERT_NE(image.GetMask(), nullptr);
  TCustomDIBX& mask = *image.GetMask();
  struct Case {
    std::int32_t alpha;
    std::function<void(TDIBX&)> draw;
  };
  const Rect all{0, 0, 6, 4};
  for (const Case& c : {Case{255, [&](TDIBX& t) { t.DrawMask(10, 5, picture, all, mask); }},
                        Case{100, [&](TDIBX& t) { t.DrawMaskAlpha(10, 5, picture, all, mask, 100); }},
                        Case{300, [&](TDIBX& t) { t.DrawMaskAdd(10, 5, picture, all, mask, 44); }}}) {
    SCOPED_TRACE(c.alpha);
    image.WriteProperty(PR_ALPHA, c.alpha);
    scene_.RunFrame();
    TDIBX expected(40, 30, 32);
    expected.Fill(kBackgroundPixel);
    c.draw(expected);
    for (std::int32_t x = 10; x < 16; ++x)
      EXPECT_EQ(scene_.WindowPixel(x, 6), expected.GetPixel(x, 6) & 0xFFFFFF) << "x " << x;
  }
}

TEST_F(ImageTest, DeletingTheImageReleasesItsEntry) {
  Image("key.zel");
  EXPECT_EQ(cache_.IdleCount(), 0u);
  ObjDelCommand(scene_.list, "img");
  scene_.RunFrame();
  EXPECT_EQ(scene_.list.FindComponent("img"), nullptr);
  EXPECT_EQ(cache_.IdleCount(), 1u);
  // A new source gives the old entry back at once.
  TKestImages& image = Image("key.zel");
  EXPECT_EQ(cache_.IdleCount(), 0u);
  image.WriteProperty(PR_SOURCE, std::string("soft.zel"));
  EXPECT_EQ(cache_.IdleCount(), 1u);
  EXPECT_NE(image.GetMask(), nullptr);
}

TEST_F(ImageTest, AMissingPictureDrawsNothingAndIsReportedOnce) {
  Image("gone.zel");
  scene_.RunFrame();
  for (std::int32_t x = 8; x < 20; ++x) EXPECT_EQ(scene_.WindowPixel(x, 6), kBackgroundPixel);
  scene_.list.ActiveScreen().AddWholeRect();
  scene_.RunFrame();
  EXPECT_EQ(errors_.size(), 1u);
}

TEST_F(ImageTest, OwnSurfaceShowsWhenNothingIsBorrowed) {
  TKestImages& image = Image("");
  EXPECT_EQ(image.GetSurface(), nullptr);
  TDIBX& own = image.OwnSurface();
  own.SetSize(3, 3, 32);
  own.Fill(0x0000FF);
  image.SetBorrowed(nullptr, nullptr);  // sizes the image from the own surface
  scene_.RunFrame();
  EXPECT_EQ(scene_.WindowPixel(11, 6), 0x0000FFu);
  EXPECT_EQ(scene_.WindowPixel(13, 6), kBackgroundPixel);
}

}  // namespace
}  // namespace kest
