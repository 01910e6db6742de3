// The transitions: the factory's defaults and clamps, the step protocol, and the formulas of the
// kinds on small synthetic pictures, one table of cases.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "render/dibx.h"
#include "render/wipes/wipe.h"
#include "render/wipes/wipe_pictures.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

void FillSolid(TDIBX& surface, std::uint32_t colour) {
  for (std::int32_t y = 0; y < surface.Height(); ++y)
    for (std::int32_t x = 0; x < surface.Width(); ++x) surface.SetPixel(x, y, colour);
}

// A picture whose pixels name their own place: blue x, green y, red the picture's tag.
void FillPlaces(TDIBX& surface, std::uint32_t tag) {
  for (std::int32_t y = 0; y < surface.Height(); ++y)
    for (std::int32_t x = 0; x < surface.Width(); ++x)
      surface.SetPixel(x, y, (tag << 16) | (static_cast<std::uint32_t>(y) << 8) | static_cast<std::uint32_t>(x));
}

// The three surfaces of a transition and the transition itself.
struct Rig {
  TDIBX destination, from, to;
  std::unique_ptr<TCustomWipe> wipe;

  Rig(std::int32_t kind, std::int32_t w, std::int32_t h, std::int32_t duration)
      : destination(w, h, 32), from(w, h, 32), to(w, h, 32) {
    FillSolid(destination, 0x00ABCDEF);
    FillPlaces(from, 0x10);
    FillPlaces(to, 0x20);
    wipe = CreateWipe(kind, destination, from, to);
    if (wipe) wipe->SetDuration(duration);
  }
  // Prepares and draws the step at `position`; answers Step's result.
  bool At(std::int32_t position) {
    wipe->SetPosition(position);
    return wipe->Step();
  }
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) { return destination.GetPixel(x, y); }
  TWipeMask& Mask() { return dynamic_cast<TWipeMask&>(*wipe); }
};

// Restores the mask-picture loader and the notice hook after a test.
class EnvironmentScope {
 public:
  EnvironmentScope() = default;
  ~EnvironmentScope() {
    SetMaskPictureLoader({});
    SetWipeNotice({});
  }
};

// A loader that knows one picture: "ramp", 256 x 1, grey x at column x.
void InstallRampLoader() {
  SetMaskPictureLoader([](const std::string& name, TCustomDIBX& picture) {
    if (name != "ramp") return false;
    picture.SetSize(256, 1, 32);
    for (std::int32_t x = 0; x < 256; ++x) picture.SetPixel(x, 0, static_cast<std::uint32_t>(x) * 0x010101u);
    return true;
  });
}

TEST(WipeFactory, DefaultsAfterTheClampsAndKindsOutsideTheTable) {
  struct Case {
    std::int32_t kind, p0, p1;
  };
  const Case cases[] = {{WP_BLINDH, 20, 1}, {WP_GRID, 80, 30},     {WP_RIPPLE, 5, 0},   {WP_CRACK, 64, 3},
                        {WP_BLOCKCOIL, 60, 1}, {WP_DITHER, 2, 1}, {WP_CLOCKHAND, 0, 0}, {WP_CURTAINH, 30, 1},
                        {WP_FADE, 0, 0},   {WP_ZOOMIN, 0, 0}};
  TDIBX d(4, 4, 32), f(4, 4, 32), t(4, 4, 32);
  for (const Case& c : cases) {
    const auto wipe = CreateWipe(c.kind, d, f, t);
    ASSERT_NE(wipe, nullptr) << c.kind;
    EXPECT_EQ(wipe->GetParam(0), c.p0) << FindWipeKind(c.kind)->name;
    EXPECT_EQ(wipe->GetParam(1), c.p1) << FindWipeKind(c.kind)->name;
  }
  for (const std::int32_t kind : {0, 39, -1, 257, 300}) EXPECT_EQ(CreateWipe(kind, d, f, t), nullptr) << kind;

  // The table is complete and in code order, with the keep modes beside it.
  ASSERT_EQ(WipeKinds().size(), 39u);
  for (std::size_t i = 0; i < WipeKinds().size(); ++i) EXPECT_EQ(WipeKinds()[i].code, static_cast<std::int32_t>(i));
  EXPECT_EQ(WipeKinds()[WP_MASKFADE].class_name, "TWipeShadow");
  EXPECT_EQ(FlipOptions()[FL_STAY].name, "FL_STAY");
}

TEST(WipeFactory, SetParamClampsMaskKindsAndCurtainsAndKeepsTheRest) {
  TDIBX d(4, 4, 32), f(4, 4, 32), t(4, 4, 32);
  struct Case {
    std::int32_t kind, set0, set1, read0, read1;
  };
  const Case cases[] = {
      {WP_BLINDH, 1, 0, 2, 1},     {WP_GRIDV, -5, -5, 2, 1},   {WP_DITHER, 1, 0, 2, 1},
      {WP_CIRCLE, 1, 0, 2, 1},     {WP_CURTAINH, 0, 0, 1, 1},  {WP_CURTAINV, -3, 7, 1, 7},
      {WP_CLOCKHAND, -90, -1, -90, -1}, {WP_FADE, -7, 9, -7, 9}, {WP_CRACK, 1, -2, 1, -2},
  };
  for (const Case& c : cases) {
    const auto wipe = CreateWipe(c.kind, d, f, t);
    wipe->SetParam(0, c.set0);
    wipe->SetParam(1, c.set1);
    EXPECT_EQ(wipe->GetParam(0), c.read0) << FindWipeKind(c.kind)->name;
    EXPECT_EQ(wipe->GetParam(1), c.read1) << FindWipeKind(c.kind)->name;
  }
}

TEST(WipeStep, DoneAtTheEndWithoutDrawingAndForEmptyDurations) {
  for (std::int32_t kind = 1; kind <= kWipeKindLast; ++kind) {
    Rig rig(kind, 16, 12, 100);
    const auto before = testing::Pixels(rig.destination);
    EXPECT_TRUE(rig.At(100)) << kind;
    EXPECT_EQ(testing::Pixels(rig.destination), before) << FindWipeKind(kind)->name;
    EXPECT_FALSE(rig.At(99)) << kind;
    // Position is clamped to 0..Duration.
    rig.wipe->SetPosition(500);
    EXPECT_EQ(rig.wipe->Position(), 100);
    rig.wipe->SetPosition(-5);
    EXPECT_EQ(rig.wipe->Position(), 0);
    rig.wipe->SetDuration(0);
    EXPECT_TRUE(rig.wipe->Step());
    rig.wipe->SetDuration(-10);
    EXPECT_TRUE(rig.wipe->Step());
  }
}

TEST(WipeStep, PicturesOfAnotherSizeAreDrawnOverTheCommonAreaTheRestBlack) {
  TDIBX destination(8, 8, 32), from(4, 4, 32), to(16, 2, 24);
  FillSolid(from, 0x00112233);
  FillSolid(to, 0x00445566);
  auto wipe = CreateWipe(WP_DITHER, destination, from, to);
  wipe->SetDuration(100);
  wipe->SetPosition(0);
  EXPECT_FALSE(wipe->Step());
  EXPECT_EQ(destination.GetPixel(3, 3), 0x00112233u);
  EXPECT_EQ(destination.GetPixel(4, 3), 0u);
  EXPECT_EQ(destination.GetPixel(7, 7), 0u);
  wipe->SetPosition(99);
  wipe->Step();
  // At 99 of 100 the dither shows 4055 of 4096 cells of the new picture: nearly all of row 1.
  int new_cells = 0;
  for (std::int32_t x = 0; x < 8; ++x) new_cells += destination.GetPixel(x, 1) == 0x00445566u;
  EXPECT_GE(new_cells, 6);
  EXPECT_EQ(destination.GetPixel(0, 5) & 0x00FFFFFF, 0u);  // below the new picture: black either way
}

TEST(WipeMasks, BlindRampOneIsBinaryAndRampThirtyRisesSoftly) {
  {
    Rig rig(WP_BLINDH, 40, 4, 100);
    for (std::int32_t p = 0; p < 100; p += 7) {
      rig.At(p);
      EXPECT_TRUE(rig.Mask().IsBinary());
      for (std::int32_t x = 0; x < 40; ++x) {
        const std::uint8_t m = rig.Mask().MaskAt(x, 0);
        EXPECT_TRUE(m == 0 || m == 255) << p << " " << x;
      }
    }
  }
  // Stripe 20, ramp 30: range 30 + 38 = 68. With Duration 68 the progress is the position;
  // column 3 has delay 6, so at progress 21 it is 15 units in: 15 * 255 / 30 = 127.
  Rig rig(WP_BLINDH, 40, 4, 68);
  rig.wipe->SetParam(1, 30);
  rig.At(21);
  EXPECT_FALSE(rig.Mask().IsBinary());
  EXPECT_EQ(rig.Mask().MaskAt(3, 0), 127);
  EXPECT_EQ(rig.Mask().MaskAt(23, 0), 127);  // the next stripe, same place
  EXPECT_EQ(rig.Mask().MaskAt(3, 3), 127);   // the one-row mask repeats downwards
  EXPECT_EQ(rig.Mask().MaskAt(11, 0), 0);    // delay 22: not yet
  EXPECT_EQ(rig.Mask().MaskAt(0, 0), 178);   // delay 0: 21 * 255 / 30
  // And the picture follows the mask: (to * 127 + from * 128) >> 8 per channel.
  const std::uint32_t f = rig.from.GetPixel(3, 2), t = rig.to.GetPixel(3, 2);
  std::uint32_t expected = 0;
  for (int k = 0; k < 32; k += 8) expected |= ((((t >> k) & 255) * 127 + ((f >> k) & 255) * 128) >> 8) << k;
  EXPECT_EQ(rig.Pixel(3, 2), expected);
}

TEST(WipeMasks, DitherAtHalfTakesHalfOfEveryTileTheSameCells) {
  Rig rig(WP_DITHER, 160, 130, 1000);
  rig.At(500);
  std::int32_t from_tile0 = 0;
  for (std::int32_t y = 0; y < 64; ++y) {
    for (std::int32_t x = 0; x < 64; ++x) {
      const bool is_new = (rig.Pixel(x, y) >> 16) == 0x20;
      from_tile0 += is_new;
      // Every other tile (across and down, the last ones cut) shows the same cells.
      for (std::int32_t ty = 0; ty * 64 + y < 130; ++ty)
        for (std::int32_t tx = 0; tx * 64 + x < 160; ++tx)
          ASSERT_EQ((rig.Pixel(tx * 64 + x, ty * 64 + y) >> 16) == 0x20, is_new) << x << "," << y;
    }
  }
  EXPECT_EQ(from_tile0, 2048);
  EXPECT_TRUE(rig.Mask().IsBinary());
}

TEST(WipeMasks, UnchangedMaskDrawsNothing) {
  Rig rig(WP_BLINDH, 40, 4, 100000);
  rig.At(10);
  EXPECT_TRUE(rig.wipe->Drew());
  FillSolid(rig.destination, 0);
  rig.At(11);  // progress 39 * 11 / 100000 is still 0
  EXPECT_FALSE(rig.wipe->Drew());
  EXPECT_EQ(rig.Pixel(0, 0), 0u);
}

TEST(WipeMasks, MissingMaskPictureTurnsEveryPixelTogetherWithOneMessage) {
  EnvironmentScope scope;
  std::vector<std::string> notices;
  SetWipeNotice([&](const std::string& text) { notices.push_back(text); });
  Rig rig(WP_MASKFADE, 8, 8, 512);
  rig.wipe->SetMaskName("nowhere.png");
  rig.At(100);
  rig.At(200);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("nowhere.png"), std::string::npos);
  // Every grey is 255: T(200 + 255) = 199 everywhere.
  for (std::int32_t y = 0; y < 8; ++y)
    for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(rig.Mask().MaskAt(x, y), 199);
}

// One row of the formula table: a kind on small pictures, set up, stepped once, and checked.
struct FormulaCase {
  const char* what;
  std::int32_t kind;
  std::int32_t w, h, duration, position;
  std::function<void(TCustomWipe&)> setup;
  std::function<void(Rig&)> check;
};

std::uint32_t FromAt(std::uint32_t x, std::uint32_t y) { return 0x100000u | (y << 8) | x; }
std::uint32_t ToAt(std::uint32_t x, std::uint32_t y) { return 0x200000u | (y << 8) | x; }

void Solid(Rig& rig, std::uint32_t from, std::uint32_t to) {
  FillSolid(rig.from, from);
  FillSolid(rig.to, to);
}

// Which blocks turn at each step, in order.
std::vector<std::int32_t> BlockOrder(Rig& rig, std::int32_t block, std::int32_t columns, std::int32_t steps) {
  std::vector<std::int32_t> order;
  std::set<std::int32_t> seen;
  for (std::int32_t p = 0; p < steps; ++p) {
    rig.At(p);
    for (std::int32_t i = 0; i < columns * columns; ++i) {
      const std::int32_t x = (i % columns) * block, y = (i / columns) * block;
      if (rig.Mask().MaskAt(x, y) == 255 && seen.insert(i).second) order.push_back(i);
    }
  }
  return order;
}

const std::vector<FormulaCase>& FormulaCases() {
  static const std::vector<FormulaCase> cases = {
      // Alpha 50 * 256 / 100 = 128; offset round(49 / 100 * (10, -4)) = (5, -2).
      {"fade alpha and slide", WP_FADE, 8, 8, 100, 50,
       [](TCustomWipe& w) { w.SetParam(0, 10), w.SetParam(1, -4); },
       [](Rig& r) {
         Solid(r, 0, 0x00FF00FF);
         r.At(50);
         EXPECT_EQ(r.Pixel(4, 0), 0u);
         EXPECT_EQ(r.Pixel(5, 0), 0x007F007Fu);
         EXPECT_EQ(r.Pixel(7, 5), 0x007F007Fu);
         EXPECT_EQ(r.Pixel(7, 6), 0u);
       }},
      {"white in both halves", WP_WHITE, 4, 4, 100, 25, nullptr,
       [](Rig& r) {
         Solid(r, 0x00101010, 0x00202020);
         r.At(25);  // a = 127: the old picture plus 127
         EXPECT_EQ(r.Pixel(1, 1), 0x008F8F8Fu);
         r.At(75);  // a = 383: the new picture plus 128
         EXPECT_EQ(r.Pixel(1, 1), 0x00A0A0A0u);
         r.At(50);  // a = 255: white
         for (std::int32_t y = 0; y < 4; ++y)
           for (std::int32_t x = 0; x < 4; ++x) EXPECT_EQ(r.Pixel(x, y) & 0xFFFFFF, 0xFFFFFFu);
       }},
      {"black in both halves", WP_BLACK, 4, 4, 100, 25, nullptr,
       [](Rig& r) {
         Solid(r, 0x00A0A0A0, 0x00C0C0C0);
         r.At(25);
         EXPECT_EQ(r.Pixel(0, 0), 0x00212121u);
         r.At(75);
         EXPECT_EQ(r.Pixel(0, 0), 0x00404040u);
         r.At(50);
         EXPECT_EQ(r.Pixel(0, 0), 0u);
       }},
      {"flash in both halves", WP_FLASH, 4, 4, 100, 25, nullptr,
       [](Rig& r) {
         Solid(r, 0x00101010, 0x00202020);
         r.At(25);  // b = 63: the new picture plus 192
         EXPECT_EQ(r.Pixel(0, 0), 0x00E0E0E0u);
         r.At(75);  // b = 191: plus 64
         EXPECT_EQ(r.Pixel(0, 0), 0x00606060u);
       }},
      {"scroll offsets", WP_SCROLLH, 16, 2, 100, 25, nullptr,
       [](Rig& r) {
         r.At(25);  // a = 4
         EXPECT_EQ(r.Pixel(0, 1), FromAt(4, 1));
         EXPECT_EQ(r.Pixel(11, 1), FromAt(15, 1));
         EXPECT_EQ(r.Pixel(12, 1), ToAt(0, 1));
       }},
      {"scroll offsets reversed", WP_SCROLLV, 2, 16, 100, 25, [](TCustomWipe& w) { w.SetReverse(true); },
       [](Rig& r) {
         r.At(25);
         EXPECT_EQ(r.Pixel(1, 4), FromAt(1, 0));
         EXPECT_EQ(r.Pixel(1, 3), ToAt(1, 15));
         EXPECT_EQ(r.Pixel(1, 0), ToAt(1, 12));
       }},
      // Stripe 4, ramp 1: range 7, delays 0, 2, 4, 6 (6, 4, 2, 0 reversed); progress 3.
      {"blind delays", WP_BLINDH, 8, 2, 7, 3, [](TCustomWipe& w) { w.SetParam(0, 4); },
       [](Rig& r) {
         r.At(3);
         const std::uint8_t expected[8] = {255, 255, 0, 0, 255, 255, 0, 0};
         for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(r.Mask().MaskAt(x, 1), expected[x]) << x;
       }},
      {"blind delays reversed", WP_BLINDV, 2, 8, 7, 3, [](TCustomWipe& w) { w.SetParam(0, 4), w.SetReverse(true); },
       [](Rig& r) {
         r.At(3);
         EXPECT_EQ(r.Mask().MaskRows(), 4);
         const std::uint8_t expected[8] = {0, 0, 255, 255, 0, 0, 255, 255};
         for (std::int32_t y = 0; y < 8; ++y) EXPECT_EQ(r.Mask().MaskAt(1, y), expected[y]) << y;
         EXPECT_TRUE(r.Mask().IsBinary());
       }},
      // Stripe 2 on 8 columns: delays 0, 16, 16, 32, 32, 48, 48, 64; range (4 + 2 - 2) * 16 + 1.
      {"curtain delays and range", WP_CURTAINH, 8, 1, 65, 20, [](TCustomWipe& w) { w.SetParam(0, 2); },
       [](Rig& r) {
         r.At(20);
         const std::uint8_t expected[8] = {255, 255, 255, 0, 0, 0, 0, 0};
         for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(r.Mask().MaskAt(x, 0), expected[x]) << x;
         r.wipe->SetReverse(true);
         r.wipe->Prepare();
         r.At(20);
         EXPECT_EQ(r.Mask().MaskAt(7, 0), 255);
         EXPECT_EQ(r.Mask().MaskAt(4, 0), 0);
       }},
      // Cells of 4 on 12 x 12: delays 4 * round(hypot(row, column)); range 8 + 12 - 4 = 16.
      {"grid delays and squares", WP_GRID, 12, 12, 16, 8, [](TCustomWipe& w) { w.SetParam(0, 4), w.SetParam(1, 8); },
       [](Rig& r) {
         r.At(8);
         EXPECT_EQ(r.Mask().MaskAt(0, 0), 255);  // delay 0: full value, full square
         EXPECT_EQ(r.Mask().MaskAt(3, 3), 255);
         EXPECT_EQ(r.Mask().MaskAt(4, 0), 0);    // delay 4: value 127 on a square of 2, centred
         EXPECT_EQ(r.Mask().MaskAt(5, 1), 127);
         EXPECT_EQ(r.Mask().MaskAt(6, 2), 127);
         EXPECT_EQ(r.Mask().MaskAt(7, 3), 0);
         EXPECT_EQ(r.Mask().MaskAt(5, 5), 127);  // (1, 1): round(1.41) = 1
         EXPECT_EQ(r.Mask().MaskAt(9, 1), 0);    // (0, 2): delay 8
         EXPECT_FALSE(r.Mask().IsBinary());
       }},
      {"grid by columns repeats one row of cells", WP_GRIDH, 12, 12, 16, 8,
       [](TCustomWipe& w) { w.SetParam(0, 4), w.SetParam(1, 8); },
       [](Rig& r) {
         r.At(8);  // range 8 + 12 - 4; column delays 0, 4, 8
         EXPECT_EQ(r.Mask().MaskRows(), 4);
         EXPECT_EQ(r.Mask().MaskAt(0, 8), 255);
         EXPECT_EQ(r.Mask().MaskAt(5, 9), 127);
         EXPECT_EQ(r.Mask().MaskAt(9, 9), 0);
       }},
      // k = 15 * 3 / 15 = 3: column 3 over columns 0-3, the rest unchanged.
      {"sudare columns", WP_SUDAREH, 8, 2, 15, 3, nullptr,
       [](Rig& r) {
         r.At(3);
         EXPECT_EQ(r.Pixel(0, 1), FromAt(3, 1));
         EXPECT_EQ(r.Pixel(3, 1), FromAt(3, 1));
         EXPECT_EQ(r.Pixel(4, 1), FromAt(4, 1));
         r.At(12);  // second half: k = 16 - 12 - 1 = 3 of the new picture
         EXPECT_EQ(r.Pixel(2, 0), ToAt(3, 0));
         EXPECT_EQ(r.Pixel(5, 0), ToAt(5, 0));
         r.wipe->SetReverse(true);
         r.At(3);  // from the right: column 4 over columns 4-7
         EXPECT_EQ(r.Pixel(7, 0), FromAt(4, 0));
         EXPECT_EQ(r.Pixel(3, 0), FromAt(3, 0));
       }},
      // k = 63 * 8 / 64 = 7; band round(|8 - 32| * 4 / 32) = 3 columns ending at column 7.
      {"rubber columns", WP_RUBBERH, 32, 2, 64, 8, nullptr,
       [](Rig& r) {
         r.At(8);
         EXPECT_EQ(r.Pixel(4, 0), FromAt(4, 0));
         EXPECT_EQ(r.Pixel(5, 0), FromAt(7, 0));
         EXPECT_EQ(r.Pixel(7, 0), FromAt(7, 0));
         EXPECT_EQ(r.Pixel(8, 0), FromAt(8, 0));
       }},
      {"mosaic sizes per quarter", WP_MOSAIC, 64, 64, 1023, 0, nullptr,
       [](Rig&) {
         struct Stage {
           std::int64_t b;
           std::int32_t size, alpha;
           bool from;
         };
         const Stage stages[] = {{0, 16, 0, true},    {255, 9, 0, true},  {300, 7, 11, true},
                                 {600, 4, 129, true}, {1000, 15, 255, false}};
         for (const Stage& s : stages) {
           const MosaicStage got = MosaicStageAt(s.b, 64, 64);
           EXPECT_EQ(got.width, s.size) << s.b;
           EXPECT_EQ(got.height, s.size) << s.b;
           EXPECT_EQ(got.to_alpha, s.alpha) << s.b;
           EXPECT_EQ(got.from_shown, s.from) << s.b;
         }
         EXPECT_EQ(MosaicStageAt(511, 64, 64).width, 1);  // s = 24: (16 * 24) >> 8
       }},
      // 2 x 2: every pixel at distance round(0.71) = 1; range round(hypot(1, 1)) + 512 = 513.
      {"spot ring", WP_SPOT, 2, 2, 513, 0, nullptr,
       [](Rig& r) {
         Solid(r, 0x00101010, 0x00202020);
         r.At(101);  // 100 into the ring: the old picture lit by 100
         EXPECT_EQ(r.Pixel(0, 0), 0x00747474u);
         r.At(301);  // 300 in: the new picture lit by 211
         EXPECT_EQ(r.Pixel(1, 1), 0x00F3F3F3u);
         r.At(0);    // not reached yet
         EXPECT_EQ(r.Pixel(1, 0), 0x00101010u);
       }},
      // Grey g = x; the mask is T(P + g) at Duration 512.
      {"mask fade over a gradient", WP_MASKFADE, 256, 1, 512, 100, [](TCustomWipe& w) { w.SetMaskName("ramp"); },
       [](Rig& r) {
         r.At(100);
         EXPECT_EQ(r.Mask().MaskAt(255, 0), 99);
         EXPECT_EQ(r.Mask().MaskAt(200, 0), 44);
         EXPECT_EQ(r.Mask().MaskAt(155, 0), 0);
         r.At(511);  // the darkest pixel is done by the end
         EXPECT_EQ(r.Mask().MaskAt(0, 0), 255);
         r.wipe->SetReverse(true);
         r.wipe->Prepare();
         r.At(100);  // inverted: dark pixels first
         EXPECT_EQ(r.Mask().MaskAt(0, 0), 99);
       }},
      // v = U(768 P / D + g), D = 768.
      {"mask white over a gradient", WP_MASKWHITE, 256, 1, 768, 100, [](TCustomWipe& w) { w.SetMaskName("ramp"); },
       [](Rig& r) {
         Solid(r, 0x00101010, 0x00202020);
         r.At(100);
         EXPECT_EQ(r.Pixel(255, 0), 0x00737373u);  // v = 99: old + 99
         EXPECT_EQ(r.Pixel(100, 0), 0x00101010u);  // v = 0
         r.At(600);
         EXPECT_EQ(r.Pixel(255, 0), 0x00202020u);  // v = 511: new + 0
         EXPECT_EQ(r.Pixel(100, 0), 0x00636363u);  // v = 444: new + 67
       }},
      {"mask black over a gradient", WP_MASKBLACK, 256, 1, 768, 100, [](TCustomWipe& w) { w.SetMaskName("ramp"); },
       [](Rig& r) {
         Solid(r, 0x00808080, 0x00909090);
         r.At(100);
         EXPECT_EQ(r.Pixel(255, 0), 0x001D1D1Du);  // 128 - 99
         r.At(600);
         EXPECT_EQ(r.Pixel(100, 0), 0x004D4D4Du);  // 144 - 67
       }},
      // c = 49 / 100: zoom round(124.95) = 125, angle round(64 * 0.49) = 31 (negated reversed).
      {"small zoom and angle", WP_SMALL, 64, 64, 100, 50, [](TCustomWipe& w) { w.SetParam(0, 64); },
       [](Rig& r) {
         r.At(50);
         TDIBX expected(64, 64, 32);
         expected.Draw(0, 0, r.to, r.to.Bounds());
         expected.DrawRotate(32, 32, r.from, r.from.Bounds(), {31, 32, 32, 125, 125}, 255);
         EXPECT_EQ(testing::Pixels(r.destination), testing::Pixels(expected));
         EXPECT_EQ(r.Pixel(1, 1) >> 16, 0x20u);
         EXPECT_EQ(r.Pixel(32, 32) >> 16, 0x10u);
       }},
      // zoom round(0.25 * 255) = 64, angle round(64 * 74 / 100) = 47.
      {"big zoom and angle", WP_BIG, 64, 64, 100, 25, [](TCustomWipe& w) { w.SetParam(0, 64); },
       [](Rig& r) {
         r.At(25);
         TDIBX expected(64, 64, 32);
         expected.Draw(0, 0, r.from, r.from.Bounds());
         expected.DrawRotate(32, 32, r.to, r.to.Bounds(), {47, 32, 32, 64, 64}, 255);
         EXPECT_EQ(testing::Pixels(r.destination), testing::Pixels(expected));
       }},
      {"zoom-in source rectangles", WP_ZOOMIN, 100, 80, 100, 25, nullptr,
       [](Rig&) {
         struct Case {
           std::int32_t px, py, position;
           Rect source;
           bool second;
         };
         const Case zooms[] = {
             {90, 10, 25, {45, 5, 95, 45}, false},     // d = 0.5
             {90, 10, 50, {90, 10, 91, 11}, false},    // d = 1: one pixel at the point
             {90, 10, 75, {45, 5, 95, 45}, true},      // d = 1.5, the new picture
             {200, -100, 25, {50, 0, 100, 40}, false},  // clamped to the picture
             {50, 40, 0, {0, 0, 100, 80}, false},      // the whole old picture at the start
         };
         for (const Case& z : zooms) {
           const ZoominSource got = ZoominSourceRect(100, 80, z.px, z.py, z.position, 100);
           EXPECT_EQ(got.source, z.source) << z.px << "," << z.py << " at " << z.position;
           EXPECT_EQ(got.second_half, z.second);
         }
       }},
      {"zoom-in draws its source rectangle", WP_ZOOMIN, 100, 80, 100, 50,
       [](TCustomWipe& w) { w.SetParam(0, 90), w.SetParam(1, 10); },
       [](Rig& r) {
         r.At(50);
         EXPECT_EQ(r.Pixel(0, 0), FromAt(90, 10));
         EXPECT_EQ(r.Pixel(99, 79), FromAt(90, 10));
       }},
      {"block coil order", WP_BLOCKCOIL, 30, 30, 8, 0, [](TCustomWipe& w) { w.SetParam(0, 10); },
       [](Rig& r) {
         EXPECT_EQ(BlockOrder(r, 10, 3, 8), (std::vector<std::int32_t>{0, 1, 2, 5, 8, 7, 6, 3}));
         r.wipe->SetReverse(true);
         r.wipe->Prepare();
         EXPECT_EQ(BlockOrder(r, 10, 3, 8), (std::vector<std::int32_t>{4, 3, 6, 7, 8, 5, 2, 1}));
       }},
      {"random blocks each once", WP_BLOCKRANDOM, 50, 50, 24, 0, [](TCustomWipe& w) { w.SetParam(0, 10); },
       [](Rig& r) {
         const auto order = BlockOrder(r, 10, 5, 24);
         EXPECT_EQ(order.size(), 24u);  // one new block per step, none twice
         EXPECT_EQ(std::set<std::int32_t>(order.begin(), order.end()).size(), 24u);
         EXPECT_NE(order, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                                     19, 20, 21, 22, 23}));
       }},
      {"clock hand a quarter at D/4", WP_CLOCKHAND, 20, 20, 100, 25, nullptr,
       [](Rig& r) {
         r.At(25);
         EXPECT_TRUE(r.Mask().IsBinary());
         for (std::int32_t y = 0; y < 20; ++y)
           for (std::int32_t x = 0; x < 20; ++x)
             EXPECT_EQ(r.Mask().MaskAt(x, y), x >= 10 && y < 10 ? 255 : 0) << x << "," << y;
         r.wipe->SetReverse(true);
         r.At(24);
         r.At(25);
         for (std::int32_t y = 0; y < 20; ++y)
           for (std::int32_t x = 0; x < 20; ++x)
             EXPECT_EQ(r.Mask().MaskAt(x, y), x < 10 && y < 10 ? 255 : 0) << x << "," << y;
       }},
      {"circle grows from the centre", WP_CIRCLE, 20, 20, 100, 50, nullptr,
       [](Rig& r) {
         r.At(50);  // radius half of hypot(10, 10), about 7.07
         EXPECT_EQ(r.Mask().MaskAt(10, 10), 255);
         EXPECT_EQ(r.Mask().MaskAt(16, 10), 255);  // 6.5 from the centre
         EXPECT_EQ(r.Mask().MaskAt(17, 10), 0);    // 7.5
         EXPECT_EQ(r.Mask().MaskAt(0, 0), 0);
       }},
      {"fan opens both ways from the top", WP_FAN, 20, 20, 100, 50, [](TCustomWipe& w) { w.SetParam(0, 0); },
       [](Rig& r) {
         r.At(50);  // 90 degrees each way (the start angle reads 2 after the clamp)
         EXPECT_EQ(r.Mask().MaskAt(5, 2), 255);
         EXPECT_EQ(r.Mask().MaskAt(15, 2), 255);
         EXPECT_EQ(r.Mask().MaskAt(5, 17), 0);
         EXPECT_EQ(r.Mask().MaskAt(15, 17), 0);
       }},
  };
  return cases;
}

TEST(WipeFormulas, EachKindFollowsItsFormula) {
  EnvironmentScope scope;
  InstallRampLoader();
  for (const FormulaCase& c : FormulaCases()) {
    SCOPED_TRACE(c.what);
    Rig rig(c.kind, c.w, c.h, c.duration);
    ASSERT_NE(rig.wipe, nullptr);
    if (c.setup) c.setup(*rig.wipe);
    rig.wipe->Prepare();
    c.check(rig);
  }
}

}  // namespace
}  // namespace kest
