// The picture kinds: animation, geometry (zoom, PosZoomed, flips, explicit sizes, rotation),
// which surface operation each case draws with, brightness, the mask hit test, buttons and
// their radio groups, tiles, and the box's additive alpha.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/expression_compile.h"
#include "params/kest_parser.h"
#include "picture_fixture.h"

namespace kest {
namespace {

using testing::PictureScene;
using testing::TestFrame;

constexpr std::int32_t kBackground = 0x00204060;  // 0x00BBGGRR
constexpr std::uint32_t kBackgroundPixel = 0x604020;

// A surface that records which operation each draw used, and with what.
class RecordingDIBX : public TDIBX {
 public:
  RecordingDIBX() : TDIBX(64, 64, 32) {}
  std::vector<std::string> calls;

  void Draw(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, Flip flip, Keyed key) override {
    Note("Draw", flip, 255, key == Keyed::Yes);
    TDIBX::Draw(x, y, s, src, flip, key);
  }
  void DrawAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, int alpha, Flip flip, Keyed key) override {
    Note("DrawAlpha", flip, alpha, key == Keyed::Yes);
    TDIBX::DrawAlpha(x, y, s, src, alpha, flip, key);
  }
  void DrawAdd(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, int level, Flip flip) override {
    Note("DrawAdd", flip, level, false);
    TDIBX::DrawAdd(x, y, s, src, level, flip);
  }
  void DrawMask(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, TCustomDIBX& m, Flip flip) override {
    Note("DrawMask", flip, 255, false);
    TDIBX::DrawMask(x, y, s, src, m, flip);
  }
  void DrawMaskAlpha(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, TCustomDIBX& m, int alpha,
                     Flip flip) override {
    Note("DrawMaskAlpha", flip, alpha, false);
    TDIBX::DrawMaskAlpha(x, y, s, src, m, alpha, flip);
  }
  void DrawMaskAdd(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, TCustomDIBX& m, int level,
                   Flip flip) override {
    Note("DrawMaskAdd", flip, level, false);
    TDIBX::DrawMaskAdd(x, y, s, src, m, level, flip);
  }
  void DrawRotate(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, const RotateZoom& r, int combined,
                  Flip flip, Keyed key) override {
    Note("DrawRotate", flip, combined, key == Keyed::Yes);
    last_rotate = r;
    TDIBX::DrawRotate(x, y, s, src, r, combined, flip, key);
  }
  void DrawRotateMask(std::int32_t x, std::int32_t y, TCustomDIBX& s, const Rect& src, TCustomDIBX& m,
                      const RotateZoom& r, int combined, Flip flip) override {
    Note("DrawRotateMask", flip, combined, false);
    last_rotate = r;
    TDIBX::DrawRotateMask(x, y, s, src, m, r, combined, flip);
  }
  void StretchDraw(const Rect& dst, TCustomDIBX& s, const Rect& src, int alpha, Flip flip, Keyed key) override {
    Note("StretchDraw", flip, alpha, key == Keyed::Yes);
    last_dst = dst;
    TDIBX::StretchDraw(dst, s, src, alpha, flip, key);
  }
  void StretchDrawMask(const Rect& dst, TCustomDIBX& s, const Rect& src, TCustomDIBX& m, int alpha, Flip flip) override {
    Note("StretchDrawMask", flip, alpha, false);
    last_dst = dst;
    TDIBX::StretchDrawMask(dst, s, src, m, alpha, flip);
  }
  void StretchDrawAdd(const Rect& dst, TCustomDIBX& s, const Rect& src, int level, Flip flip, Keyed key) override {
    Note("StretchDrawAdd", flip, level, key == Keyed::Yes);
    last_dst = dst;
    TDIBX::StretchDrawAdd(dst, s, src, level, flip, key);
  }
  void StretchDrawMaskAdd(const Rect& dst, TCustomDIBX& s, const Rect& src, TCustomDIBX& m, int level,
                          Flip flip) override {
    Note("StretchDrawMaskAdd", flip, level, false);
    last_dst = dst;
    TDIBX::StretchDrawMaskAdd(dst, s, src, m, level, flip);
  }
  void TileFill(const Rect& dst, TCustomDIBX& s, std::int32_t ox, std::int32_t oy, Flip flip) override {
    Note("TileFill", flip, 255, false);
    TDIBX::TileFill(dst, s, ox, oy, flip);
  }

  RotateZoom last_rotate;
  Rect last_dst;

 private:
  void Note(const char* name, Flip flip, int value, bool keyed) {
    std::string call = std::string(name) + " " + std::to_string(value);
    if (flip != Flip::None) call += flip == Flip::Horizontal ? " h" : flip == Flip::Vertical ? " v" : " hv";
    if (keyed) call += " keyed";
    calls.push_back(call);
  }
};

class PictureKinds : public ::testing::Test {
 protected:
  PictureKinds() {
    pics_.Write("red.zel", {TestFrame{}});
    pics_.Write("key.zel", {TestFrame{.colour = [](std::int32_t x, std::int32_t) { return x == 0 ? 0x00FF00u : 0x808080u; },
                                      .key = 0x00FF00}});
    pics_.Write("soft.zel", {TestFrame{.mask = [](std::int32_t x, std::int32_t) { return x < 3 ? 0u : 255u; }}});
    pics_.Write("two.zel", {TestFrame{.delay = 100}, TestFrame{.colour = [](std::int32_t, std::int32_t) { return 0x0000FFu; },
                                                               .delay = 100}});
    pics_.Write("three.zel", {TestFrame{.delay = 50}, TestFrame{.delay = 50}, TestFrame{.delay = 50}});
    pics_.Write("wide.zel", {TestFrame{.width = 200, .height = 20}});
    pics_.scene.Box("back", {0, 0, 40, 30}, kBackground);
  }

  TKestImages& Image(const std::string& source, std::map<std::uint8_t, PropValue> more = {}) {
    more[PR_SOURCE] = source;
    if (!more.count(PR_LEFT)) more[PR_LEFT] = std::int32_t{10};
    if (!more.count(PR_TOP)) more[PR_TOP] = std::int32_t{5};
    return pics_.Create<TKestImages>(LT_IMAGES, more);
  }

  void Frames(int n) {
    for (int i = 0; i < n; ++i) pics_.scene.RunFrame();
  }

  PictureScene pics_;
};

TEST_F(PictureKinds, TwoFramesWithoutRepeatShowFrameOneThenRaisePlayEndEveryUpdate) {
  TKestImages& image = Image("two.zel", {{PR_ONPLAYEND, std::string("p:end")}});
  EXPECT_EQ(image.Index(), 0);
  Frames(6);  // 96 ms
  EXPECT_EQ(image.Index(), 0);
  Frames(1);  // 112 ms
  EXPECT_EQ(image.Index(), 1);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), 0x0000FFu);
  Frames(6);  // 208 ms: frame 1 showed from 112 ms
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 0u);
  // From 224 ms on, each update raises it once, as an interpreter that takes each entry
  // at once sees it.
  for (int i = 0; i < 4; ++i) {
    pics_.scene.RunFrame();
    EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 1u) << i;
    pics_.scene.list.Events().Clear();
  }
  // While the entry still waits (events held), no second one is queued.
  Frames(5);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 1u);
  EXPECT_EQ(GetProp(image, PR_PLAYING), PropValue(false));
}

TEST_F(PictureKinds, RepeatLoopsLoopWaitLengthensTheLastFrameAndAutoscrapEnds) {
  // ImgNew hands its PR_DELAY expression to the picture, which evaluates it at each last frame.
  std::int32_t asked = 0;
  pics_.scene.list.SetExpressionRunner([&asked](TKestParser&) {
    ++asked;
    return std::optional<std::int32_t>(100);
  });
  const auto delay = CompileExpressionToRun("100");
  TKestObject* made = CreateObject(pics_.scene.list, LT_IMAGES, [&](std::uint8_t id) {
    CarriedProperty p;
    if (id == PR_SOURCE) p = {CarriedProperty::State::Value, std::string("three.zel")};
    if (id == PR_REPEAT) p = {CarriedProperty::State::Value, true};
    if (id == PR_DELAY) p = {CarriedProperty::State::Value, std::int32_t{100}, delay.get()};
    return p;
  });
  auto& image = dynamic_cast<TKestImages&>(*made);
  // Frames of 50 ms with the leftover time carried (more than two frames): frame 1 at 64 ms,
  // frame 2 at 112 ms with 50 + 100 ms, frame 0 again at 256 ms.
  Frames(7);
  EXPECT_EQ(image.Index(), 2);
  EXPECT_EQ(asked, 1);
  Frames(8);
  EXPECT_EQ(image.Index(), 2);
  Frames(1);
  EXPECT_EQ(image.Index(), 0);
  EXPECT_EQ(GetProp(image, PR_PLAYING), PropValue(true));
  EXPECT_EQ(GetProp(image, PR_COUNT), PropValue(std::int32_t{3}));

  // A wait that makes the list's time 0 or less loops at most once per update, and the update
  // returns.
  pics_.scene.list.SetExpressionRunner([](TKestParser&) { return std::optional<std::int32_t>(-1000); });
  Frames(20);
  EXPECT_TRUE(image.Index() >= 0 && image.Index() < 3);

  TKestImages& once = Image("three.zel", {{PR_NAME, std::string("once")}, {PR_AUTOSCRAP, true}});
  const ObjectId id = once.Id();
  Frames(9);
  EXPECT_TRUE(pics_.scene.list.Contains(id));
  Frames(1);
  EXPECT_FALSE(pics_.scene.list.Contains(id));
}

TEST_F(PictureKinds, AnIndexOutsideTheListShowsNothingAndStopsTheAnimation) {
  TKestImages& image = Image("two.zel", {{PR_ONPLAYEND, std::string("p:end")}});
  Frames(1);
  SetProp(image, PR_INDEX, std::int32_t{5});
  EXPECT_EQ(image.GetSurface(), nullptr);
  Frames(30);
  EXPECT_EQ(GetProp(image, PR_INDEX), PropValue(std::int32_t{5}));
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 0u);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), kBackgroundPixel);
  SetProp(image, PR_INDEX, std::int32_t{1});
  Frames(1);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), 0x0000FFu);
}

TEST_F(PictureKinds, ZoomPosZoomedFlipAnchorAndZeroZooms) {
  TKestImages& image = Image("red.zel", {{PR_LEFT, std::int32_t{100}}, {PR_POSZOOMED, true}, {PR_ZOOMX, std::int32_t{128}}});
  EXPECT_EQ(image.GetScreenLeft(), 50);
  EXPECT_EQ(image.Width(), 3);
  SetProp(image, PR_POSZOOMED, false);
  SetProp(image, PR_ZOOMX, std::int32_t{256});
  image.SizeIfDirty();
  SetProp(image, PR_FLIPH, true);
  // With FlipH the anchor term is Width - 1 - OffsetX.
  EXPECT_EQ(image.GetScreenLeft(), 100 - 5);
  SetProp(image, PR_OFFSETX, std::int32_t{2});
  EXPECT_EQ(image.GetScreenLeft(), 100 - 3);
  for (std::int32_t zoom : {0, -5}) {
    SetProp(image, PR_ZOOMY, zoom);
    EXPECT_EQ(GetProp(image, PR_ZOOMY), PropValue(std::int32_t{1}));
  }
}

TEST_F(PictureKinds, APosZoomedChildMapsItsEdgesThroughTheParentsPicture) {
  // The parent shows a 200-pixel picture at half size; the child, at the same zoom, is placed
  // in the parent's picture pixels.
  TKestImages& parent = Image("wide.zel", {{PR_LEFT, std::int32_t{0}}, {PR_TOP, std::int32_t{0}}, {PR_ZOOMX, std::int32_t{128}}});
  parent.SizeIfDirty();
  ASSERT_EQ(parent.Width(), 100);
  TKestImages& child = Image("red.zel", {{PR_PARENT, parent.Name()}, {PR_LEFT, std::int32_t{51}}, {PR_POSZOOMED, true},
                                         {PR_ZOOMX, std::int32_t{128}}});
  child.SizeIfDirty();
  // d = 2 * 65536: 51 maps to 25.5, rounded up by the remainder rule; the right edge 57 to 28.5
  // rounded up: width 29 - 26 = 3.
  EXPECT_EQ(child.GetScreenLeft(), 26);
  EXPECT_EQ(child.Width(), 3);
  SetProp(child, PR_FLIPH, true);
  // Mirrored in the parent's picture: 200 - 51 - 6 = 143 maps to 71.5, rounded up.
  EXPECT_EQ(child.GetScreenLeft(), 72);
}

TEST_F(PictureKinds, AWrittenSizeStretchesTheFrameAndSurvivesFrameChangesUntilAZoomWrite) {
  TKestImages& image = Image("two.zel");
  SetProp(image, PR_WIDTH, std::int32_t{12});
  EXPECT_EQ(GetProp(image, PR_ZOOMX), PropValue(std::int32_t{256}));
  EXPECT_EQ(image.Width(), 12);
  SetProp(image, PR_OFFSETX, std::int32_t{2});
  EXPECT_EQ(image.GetScreenLeft(), 10 - 4);  // the anchor maps through 12 / 6
  SetProp(image, PR_INDEX, std::int32_t{1});
  EXPECT_EQ(image.Width(), 12);
  RecordingDIBX target;
  image.Paint(target);
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0], "StretchDraw 255");
  EXPECT_EQ(target.last_dst, (Rect{6, 5, 18, 9}));
  SetProp(image, PR_WIDTH, std::int32_t{0});  // back to the picture's size
  EXPECT_EQ(image.Width(), 6);
  SetProp(image, PR_WIDTH, std::int32_t{9});
  SetProp(image, PR_ZOOMX, std::int32_t{512});
  image.SizeIfDirty();
  EXPECT_EQ(image.Width(), 12);
}

TEST_F(PictureKinds, TheDrawChoiceFollowsAngleScaleAlphaMaskKeyAndFlips) {
  struct Case {
    std::string source;
    std::map<std::uint8_t, PropValue> values;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"red.zel", {}, "Draw 255"},
      {"red.zel", {{PR_ALPHA, std::int32_t{300}}}, "DrawAdd 44"},
      {"red.zel", {{PR_ALPHA, std::int32_t{100}}}, "DrawAlpha 100"},
      {"red.zel", {{PR_ALPHA, std::int32_t{600}}}, "DrawAlpha 600"},
      {"red.zel", {{PR_FLIPH, true}, {PR_FLIPV, true}}, "Draw 255 hv"},
      {"key.zel", {}, "DrawMask 255"},  // "?m": the key became a mask
      {"soft.zel", {{PR_ALPHA, std::int32_t{256}}}, "DrawMaskAdd 0"},
      {"soft.zel", {{PR_ALPHA, std::int32_t{10}}, {PR_FLIPV, true}}, "DrawMaskAlpha 10 v"},
      {"red.zel", {{PR_ZOOMX, std::int32_t{512}}}, "StretchDraw 255"},
      {"red.zel", {{PR_ZOOMY, std::int32_t{128}}, {PR_ALPHA, std::int32_t{400}}}, "StretchDrawAdd 144"},
      {"soft.zel", {{PR_ZOOMX, std::int32_t{300}}, {PR_FLIPH, true}}, "StretchDrawMask 255 h"},
      {"soft.zel", {{PR_ZOOMX, std::int32_t{300}}, {PR_ALPHA, std::int32_t{511}}}, "StretchDrawMaskAdd 255"},
      {"red.zel", {{PR_ANGLE, std::int32_t{64}}}, "DrawRotate 255"},
      {"soft.zel", {{PR_ANGLE, std::int32_t{32}}, {PR_ALPHA, std::int32_t{300}}}, "DrawRotateMask 300"},
      {"red.zel", {{PR_ANGLE, std::int32_t{256}}}, "Draw 255"},  // only the low 8 bits turn
      {"red.zel", {{PR_ALPHA, std::int32_t{0}}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source + " -> " + c.expected);
    TKestImages& image = Image(c.source, c.values);
    image.SizeIfDirty();
    RecordingDIBX target;
    image.Paint(target);
    EXPECT_EQ(target.calls.empty() ? std::string() : target.calls[0], c.expected);
    EXPECT_LE(target.calls.size(), 1u);
    ObjDelCommand(pics_.scene.list, image.Name());
    Frames(1);
  }
}

TEST_F(PictureKinds, RegionsDrawSeparatelyExceptOnAWaveSurface) {
  TKestImages& image = Image("red.zel");
  TCustomDIBX& surface = *image.GetSurface();
  surface.region_rects = {{0, 0, 2, 2}, {4, 2, 6, 4}};
  RecordingDIBX target;
  image.Paint(target);
  EXPECT_EQ(target.calls.size(), 2u);
  EXPECT_EQ(target.GetPixel(10, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(target.GetPixel(12, 5) & 0xFFFFFF, 0u);  // outside both regions
  surface.region_rects.clear();
}

TEST_F(PictureKinds, AngleSixtyFourTurnsAQuarterAndTheRectangleFollows) {
  // A 6 x 4 picture with its anchor at the top-left corner, turned a quarter clockwise: it
  // covers x 7..10 (left of the anchor) and y 5..10 on the screen.
  TKestImages& image = Image("red.zel", {{PR_ANGLE, std::int32_t{64}}});
  const Rect r = image.GetScreenRect();
  EXPECT_EQ(r.Width(), 4);
  EXPECT_EQ(r.Height(), 6);
  Frames(1);
  std::int32_t red = 0;
  for (std::int32_t y = 0; y < 30; ++y)
    for (std::int32_t x = 0; x < 40; ++x) red += pics_.scene.WindowPixel(x, y) == 0xFF0000u ? 1 : 0;
  EXPECT_EQ(red, 24);
  EXPECT_EQ(pics_.scene.WindowPixel(r.left + 1, r.top + 4), 0xFF0000u);
  EXPECT_TRUE(pics_.scene.WindowEqualsFullRepaint());
}

TEST_F(PictureKinds, CaptureMaskLetsClicksOnTransparentPixelsThrough) {
  TKestControl& below = *pics_.scene.list.FindControl("back");
  TKestImages& image = Image("soft.zel", {{PR_CAPTUREMASK, true}});
  TKestBase& screen = pics_.scene.list.ActiveScreen();
  EXPECT_EQ(screen.HitTest(11, 6, kLeftClickModes), &below);   // mask 0
  EXPECT_EQ(screen.HitTest(14, 6, kLeftClickModes), &image);   // mask 255
  SetProp(image, PR_FLIPH, true);  // mirrored about its anchor, and the mask with it
  const std::int64_t left = image.GetScreenLeft();
  EXPECT_EQ(left, 10 - 5);
  EXPECT_EQ(screen.HitTest(left + 1, 6, kLeftClickModes), &image);
  EXPECT_EQ(screen.HitTest(left + 4, 6, kLeftClickModes), &below);
  SetProp(image, PR_FLIPH, false);
  SetProp(image, PR_ZOOMX, std::int32_t{512});
  image.SizeIfDirty();
  EXPECT_EQ(screen.HitTest(15, 6, kLeftClickModes), &below);  // picture x 2
  EXPECT_EQ(screen.HitTest(16, 6, kLeftClickModes), &image);  // picture x 3
  SetProp(image, PR_CAPTUREMASK, false);
  EXPECT_EQ(screen.HitTest(11, 6, kLeftClickModes), &image);
  // Turned a quarter, the point is turned back onto the picture before the mask test.
  SetProp(image, PR_ZOOMX, std::int32_t{256});
  image.SizeIfDirty();
  SetProp(image, PR_CAPTUREMASK, true);
  SetProp(image, PR_ANGLE, std::int32_t{64});
  // Picture (4, 1) -> screen (10 - 1, 5 + 4).
  EXPECT_EQ(screen.HitTest(9, 9, kLeftClickModes), &image);
  // Picture (1, 1) -> screen (9, 6): transparent.
  EXPECT_EQ(screen.HitTest(9, 6, kLeftClickModes), &below);
}

TEST_F(PictureKinds, BrightnessKeepsKeyPixelsAndTheMotionPictureDarkens) {
  TKestImages& image = Image("key.zel");
  for (std::int32_t level : {64, -64}) {
    SetProp(image, PR_BRIGHTNESS, level);
    Frames(1);
    const std::uint32_t grey = static_cast<std::uint32_t>(0x80 + level);
    EXPECT_EQ(pics_.scene.WindowPixel(12, 6), grey | grey << 8 | grey << 16) << level;
    EXPECT_EQ(pics_.scene.WindowPixel(10, 6), kBackgroundPixel) << level;  // the key column
  }
  // A keyed surface (not a mask) keeps its transparent colour in the copy.
  TDIBX keyed(3, 1, 32);
  keyed.Fill(0x808080);
  keyed.SetPixel(1, 0, 0x00FF00);
  keyed.transparent_color = 0x00FF00;
  const auto copy = BrightnessCopy(keyed, 64);
  EXPECT_EQ(copy->GetPixel(0, 0) & 0xFFFFFF, 0xC0C0C0u);
  EXPECT_EQ(copy->GetPixel(1, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(copy->transparent_color, 0x00FF00);

  TKestImage& picture = pics_.scene.list.Create<TKestImage>();
  picture.SetSource("key.zel");
  picture.SetBrightness(200);
  EXPECT_EQ(picture.GetSurface()->GetPixel(3, 0) & 0xFFFFFF, 0x494949u);  // 0x80 - 55
}

TEST_F(PictureKinds, BoxAtAlphaThreeHundredAddsEachChannelTimesFortyFourDivTwoFiftySix) {
  TKestBox& box = pics_.scene.Box("over", {2, 2, 5, 5}, 0x00FF8040);
  SetProp(box, PR_ALPHA, std::int32_t{300});
  Frames(1);
  // 0x00FF8040 scaled: B 0xFF*44/256 = 0x2B, G 0x80*44/256 = 0x16, R 0x40*44/256 = 0x0B.
  EXPECT_EQ(pics_.scene.WindowPixel(3, 3), kBackgroundPixel + 0x0B162Bu);
}

TEST_F(PictureKinds, TilePitchesAndThePlainFillAgainstTheVariants) {
  TKestTile& tile = pics_.Create<TKestTile>(LT_TILE, {{PR_SOURCE, std::string("red.zel")}, {PR_LEFT, std::int32_t{2}},
                                                      {PR_TOP, std::int32_t{3}}, {PR_WIDTH, std::int32_t{30}},
                                                      {PR_HEIGHT, std::int32_t{20}}});
  EXPECT_EQ(tile.Width(), 30);
  EXPECT_EQ(tile.Pitch(0), 6);
  SetProp(tile, PR_DISTANCEX, std::int32_t{5});  // below the frame: the frame's width
  EXPECT_EQ(tile.Pitch(0), 6);
  SetProp(tile, PR_DISTANCEX, std::int32_t{8});
  EXPECT_EQ(tile.Pitch(0), 8);
  SetProp(tile, PR_DISTANCEX, std::int32_t{0});
  struct Case {
    std::map<std::uint8_t, PropValue> values;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{}, "TileFill 255"},
      {{{PR_FLIPH, true}}, "TileFill 255 h"},
      {{{PR_DISTANCEY, std::int32_t{9}}}, "Draw 255"},
      {{{PR_ALPHA, std::int32_t{100}}}, "DrawAlpha 100"},
      {{{PR_ZOOMX, std::int32_t{512}}}, "StretchDraw 255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    for (const auto& [id, value] : c.values) SetProp(tile, id, value);
    RecordingDIBX target;
    tile.Paint(target);
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ(target.calls[0], c.expected);
    SetProp(tile, PR_FLIPH, false);
    SetProp(tile, PR_DISTANCEY, std::int32_t{0});
    SetProp(tile, PR_ALPHA, std::int32_t{255});
    SetProp(tile, PR_ZOOMX, std::int32_t{256});
  }
  // The tile's position ignores its offsets and PlusX; scrolling moves the pattern.
  SetProp(tile, PR_OFFSETX, std::int32_t{4});
  SetProp(tile, PR_PLUSX, std::int32_t{4});
  EXPECT_EQ(tile.GetScreenLeft(), 2);
  SetProp(tile, PR_SCROLLX, std::int32_t{1});
  pics_.Write("stripe.zel", {TestFrame{.width = 2, .height = 1,
                                       .colour = [](std::int32_t x, std::int32_t) { return x == 0 ? 0x0000FFu : 0xFF0000u; }}});
  SetProp(tile, PR_SOURCE, std::string("stripe.zel"));
  Frames(1);
  EXPECT_EQ(pics_.scene.WindowPixel(2, 3), 0xFF0000u);
  EXPECT_EQ(pics_.scene.WindowPixel(3, 3), 0x0000FFu);
  EXPECT_TRUE(pics_.scene.WindowEqualsFullRepaint());
}

TEST_F(PictureKinds, ReleasedSurfacesAreDroppedAndRestoringShowsTheFrameAgain) {
  TKestImages& image = Image("red.zel", {{PR_BRIGHTNESS, std::int32_t{30}}});
  Frames(1);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), 0xFF1E1Eu);
  image.ReleaseSurfaces();
  EXPECT_EQ(image.GetSurface(), nullptr);
  Frames(1);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), kBackgroundPixel);
  image.RestoreSurfaces();
  Frames(1);
  EXPECT_EQ(pics_.scene.WindowPixel(12, 6), 0xFF1E1Eu);

  TKestImage& picture = pics_.scene.list.Create<TKestImage>();
  picture.SetSource("red.zel");
  picture.ReleaseSurfaces();
  EXPECT_EQ(picture.GetSurface(), nullptr);
  picture.RestoreSurfaces();
  ASSERT_NE(picture.GetSurface(), nullptr);
  EXPECT_EQ(picture.GetSurface()->Width(), 6);
}

// ---- buttons

class Buttons : public PictureKinds {
 protected:
  TKestButton& Button(const std::string& name, std::int32_t left, std::map<std::uint8_t, PropValue> more = {}) {
    more[PR_NAME] = name;
    more[PR_PARENT] = std::string();
    more[PR_PRIORITY] = std::int32_t{1};  // above the background box
    more[PR_SOURCE] = std::string("red.zel");
    more[PR_HOVERSOURCE] = std::string("key.zel");
    more[PR_PRESSEDSOURCE] = std::string("soft.zel");
    more[PR_LEFT] = left;
    more[PR_TOP] = std::int32_t{0};
    more[PR_ONNOTIFY] = std::string("p:" + name);
    return pics_.Create<TKestButton>(LT_BUTTON, more);
  }

  void Click(std::int32_t x, std::int32_t y, std::int32_t release_x = -1) {
    TKestBaseList& list = pics_.scene.list;
    list.MouseMoved(x, y);
    Frames(1);
    list.MouseButtons(true, false);
    Frames(1);
    if (release_x >= 0) list.MouseMoved(release_x, y);
    Frames(1);
    list.MouseReleased();
    Frames(1);
  }

  std::vector<bool> Selected(std::initializer_list<TKestButton*> buttons) {
    std::vector<bool> out;
    for (TKestButton* b : buttons) out.push_back(b->Selected());
    return out;
  }
};

TEST_F(Buttons, HoverPressAndAReleaseOutsideRaiseNoNotify) {
  TKestButton& button = Button("b", 2);
  pics_.scene.list.MouseMoved(3, 1);
  Frames(1);
  EXPECT_EQ(button.GetState(), TKestButton::kHover);
  pics_.scene.list.MouseButtons(true, false);
  Frames(1);
  EXPECT_EQ(button.GetState(), TKestButton::kPressed);
  EXPECT_FALSE(pics_.scene.list.ActiveScreen().left_click);  // consumed
  pics_.scene.list.MouseMoved(30, 20);
  Frames(1);
  EXPECT_EQ(button.GetState(), TKestButton::kNormal);
  pics_.scene.list.MouseReleased();
  Frames(1);
  EXPECT_EQ(pics_.Queued(PR_ONNOTIFY), 0u);
  Click(3, 1);
  EXPECT_EQ(pics_.Queued(PR_ONNOTIFY), 1u);
  EXPECT_EQ(pics_.Queued(PR_ONLBTNDOWN), 0u);
}

TEST_F(Buttons, ARadioGroupSelectsOneWithAndWithoutAllowAllUp) {
  TKestButton& a = Button("a", 0, {{PR_GROUPINDEX, std::int32_t{1}}});
  TKestButton& b = Button("b", 10, {{PR_GROUPINDEX, std::int32_t{1}}});
  TKestButton& c = Button("c", 20, {{PR_GROUPINDEX, std::int32_t{1}}});
  // Without AllowAllUp the group always has one selected: the first.
  EXPECT_EQ(Selected({&a, &b, &c}), (std::vector<bool>{true, false, false}));
  Click(12, 1);
  EXPECT_EQ(Selected({&a, &b, &c}), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(b.GetState(), TKestButton::kPressed);
  Click(12, 1);  // clicking it again keeps it selected
  EXPECT_EQ(Selected({&a, &b, &c}), (std::vector<bool>{false, true, false}));
  SetProp(c, PR_ALLOWALLUP, true);  // for the whole group
  EXPECT_EQ(GetProp(a, PR_ALLOWALLUP), PropValue(true));
  Click(12, 1);
  EXPECT_EQ(Selected({&a, &b, &c}), (std::vector<bool>{false, false, false}));
  Click(22, 1);
  EXPECT_EQ(Selected({&a, &b, &c}), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(pics_.Queued(PR_ONNOTIFY), 4u);
  // Outside a group Selected cannot be set.
  TKestButton& alone = Button("alone", 30);
  SetProp(alone, PR_SELECTED, true);
  EXPECT_FALSE(alone.Selected());
}

TEST_F(Buttons, AutoscrapGoesAfterTheClickOrAfterTheClickedPicture) {
  TKestButton& plain = Button("plain", 2, {{PR_AUTOSCRAP, true}});
  const ObjectId plain_id = plain.Id();
  TKestBaseList& list = pics_.scene.list;
  list.MouseMoved(3, 1);
  Frames(1);
  list.MouseButtons(true, false);
  Frames(1);
  list.MouseReleased();
  Frames(1);  // the release clicks; the update after it frees the button
  EXPECT_FALSE(list.Contains(plain_id));

  TKestButton& clicked = Button("clicked", 2, {{PR_AUTOSCRAP, true}, {PR_CLICKEDSOURCE, std::string("two.zel")},
                                               {PR_ONPLAYEND, std::string("p:end")}});
  const ObjectId clicked_id = clicked.Id();
  Click(3, 1);
  EXPECT_EQ(clicked.GetState(), TKestButton::kClicked);
  EXPECT_EQ(GetProp(clicked, PR_REPEAT), PropValue(false));
  Frames(10);
  EXPECT_TRUE(list.Contains(clicked_id));
  Frames(6);  // two frames of 100 ms played once
  EXPECT_FALSE(list.Contains(clicked_id));

  TKestButton& ends = Button("ends", 2, {{PR_CLICKEDSOURCE, std::string("two.zel")}, {PR_ONPLAYEND, std::string("p:end")}});
  Click(3, 1);
  Frames(16);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 1u);
  EXPECT_NE(ends.GetState(), TKestButton::kClicked);
}

TEST_F(Buttons, EnterAndSpaceClickTheFocusedButton) {
  TKestButton& button = Button("b", 2, {{PR_HANDLEKEY, true}});
  Frames(1);
  ASSERT_EQ(pics_.scene.list.FocusObject(), &button);
  pics_.scene.list.SetKey(13, true);
  pics_.scene.list.PostKeyPress(13);
  Frames(1);
  EXPECT_EQ(pics_.Queued(PR_ONNOTIFY), 1u);
}

}  // namespace
}  // namespace kest
