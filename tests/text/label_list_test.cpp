#include <gtest/gtest.h>

#include <map>

#include "core/errors.h"
#include "render/glyphs/font_pixel_manager.h"
#include "text/label_list.h"

namespace kest {
namespace {

// Glyphs whose widths the test chooses: each code has its A, B and C; the black box is B wide
// and em high, fully covered, so every pixel a label draws is predictable.
class TableRasterizer final : public GlyphRasterizer {
 public:
  std::map<std::uint16_t, AbcWidths> widths{
      {'A', {1, 5, 0}}, {'B', {0, 6, 1}}, {'j', {-1, 4, -2}}, {0x82A0, {1, 10, 1}}, {' ', {0, 0, 4}}};
  std::map<std::uint16_t, int> abc_calls;

  FontMetrics Metrics(const FontRequest& font) override {
    const std::int32_t em = std::abs(font.height);
    return {.em = em, .ascent = em - 2, .descent = 2, .overhang = (font.style & kFontBold) ? 1 : 0};
  }
  std::optional<RasterGlyph> Rasterize(std::uint16_t code, const FontRequest& font, int) override {
    const AbcWidths abc = Abc(code, font);
    --abc_calls[code];  // drawing is not measuring
    RasterGlyph glyph{.width = abc.b, .height = abc.b > 0 ? std::abs(font.height) : 0,
                      .origin_x = abc.a, .origin_y = std::abs(font.height) - 2, .advance = abc.a + abc.b + abc.c};
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width * glyph.height), 255);
    return glyph;
  }
  AbcWidths Abc(std::uint16_t code, const FontRequest&) override {
    ++abc_calls[code];
    const auto found = widths.find(code);
    return found == widths.end() ? AbcWidths{0, 6, 0} : found->second;
  }
};

struct LabelFixture : testing::Test {
  TableRasterizer* engine = nullptr;
  std::unique_ptr<TFontPixelManager> glyphs;
  LabelFixture() {
    auto owned = std::make_unique<TableRasterizer>();
    engine = owned.get();
    glyphs = std::make_unique<TFontPixelManager>(std::move(owned));
  }
};

using LabelMeasure = LabelFixture;

TEST_F(LabelMeasure, WidthsAreTheCharactersCellsAndTheLastKeepsItsOverhang) {
  struct Case {
    const char* text;
    std::int32_t border;
    std::uint8_t style;
    std::vector<std::int32_t> widths;
    std::int32_t height;
  } cases[] = {
      {"AB", 0, 0, {6, 7}, 12},
      {"ABj", 0, 0, {6, 7, 3}, 12},   // the last j: -1 + 4 - 2, its negative C kept out
      {"jA", 0, 0, {1, 6}, 12},       // not the last: C counts
      {"AB", 2, 0, {10, 11}, 16},     // an outline widens each cell and the line by twice its width
      {"AB", 0, kFontBold, {7, 8}, 12},
      {"\x82\xa0" "A", 0, 0, {12, 6}, 12},
      {"", 0, 0, {}, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TVxLabelList list(*glyphs);
    list.SetBorderWidth(c.border);
    list.FontStyle = c.style;
    TVxLabelDIB& label = list.Add();
    label.SetText(c.text);
    list.Measure();
    EXPECT_EQ(label.CharWidths(), c.widths);
    std::int32_t sum = 0;
    for (std::int32_t w : c.widths) sum += w;
    EXPECT_EQ(label.Width(), sum);
    EXPECT_EQ(label.Height(), c.height);
    EXPECT_EQ(list.MaxWidth(), sum);
  }
}

TEST_F(LabelMeasure, EachCharacterIsMeasuredOnceButTheLastOfEveryLabel) {
  TVxLabelList list(*glyphs);
  list.Add().SetText("AAB");
  list.Add().SetText("AB");
  list.Measure();
  EXPECT_EQ(engine->abc_calls['A'], 1);
  EXPECT_EQ(engine->abc_calls['B'], 2);
  EXPECT_EQ(list.Get(0)->CharWidths()[2], list.Get(1)->CharWidths()[1]);
  EXPECT_EQ(list.Get(2), nullptr);
}

using LabelDraw = LabelFixture;

TEST_F(LabelDraw, SettingTheSameTextKeepsTheLabelClean) {
  TVxLabelList list(*glyphs);
  TDIBX target(40, 20, 32);
  list.TargetSurface = &target;
  TVxLabelDIB& label = list.Add();
  label.SetText("A");
  list.Measure();
  label.Draw(0, 0);
  EXPECT_FALSE(label.Dirty());
  label.SetText("A");
  EXPECT_FALSE(label.Dirty());
  label.SetText("B");
  EXPECT_TRUE(label.Dirty());
  list.InvalidateAll();
  EXPECT_TRUE(list.Get(0)->Dirty());
}

TEST_F(LabelDraw, TheThreePathsPutTheTextWhereItsCellsAre) {
  // "A" is a 5 x 12 box one pixel into its cell; with an outline of 1 the box moves one pixel
  // further in and the outline surrounds it.
  struct Case {
    const char* name;
    std::int32_t border;
    std::int32_t alpha;
    std::uint32_t inside;   // the pixel at the box's top-left
    std::uint32_t outline;  // the pixel just left of it
  } cases[] = {
      // The colour blends by the coverage, (255 * 255) >> 8.
      {"plain colour through the coverage", 0, 255, 0x0000FE, 0x000000},
      // Full coverage copies the colour surface's pixel.
      {"outlined, copied through the coverage", 1, 255, 0x0000FF, 0x00FF00},
      // The weight is (255 * 128) >> 8 = 127, the channel (255 * 127) >> 8 = 126.
      {"outlined at half opacity", 1, 128, 0x00007E, 0x007E00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TVxLabelList list(*glyphs);
    list.SetBorderWidth(c.border);
    list.SetAlpha(c.alpha);
    list.Color = 0xFF0000;        // 0x00BBGGRR: blue
    list.BorderColor = 0x00FF00;  // green
    TDIBX target(40, 20, 32);
    target.Fill(0);
    list.TargetSurface = &target;
    TVxLabelDIB& label = list.Add();
    label.SetText("A");
    list.Measure();
    label.Draw(3, 2);
    const std::int32_t box_x = 3 + 1 + c.border, box_y = 2 + c.border;
    EXPECT_EQ(target.GetPixel(box_x, box_y) & 0xFFFFFF, c.inside);
    EXPECT_EQ(target.GetPixel(box_x - 1, box_y) & 0xFFFFFF, c.outline);
    EXPECT_EQ(target.GetPixel(0, 0) & 0xFFFFFF, 0u);
  }
}

TEST_F(LabelDraw, AnEmptyLabelDrawsNothing) {
  TVxLabelList list(*glyphs);
  TDIBX target(8, 8, 32);
  target.Fill(0x123456);
  list.TargetSurface = &target;
  TVxLabelDIB& label = list.Add();
  list.Measure();
  label.Draw(0, 0);
  EXPECT_EQ(label.Width(), 0);
  for (std::int32_t y = 0; y < 8; ++y)
    for (std::int32_t x = 0; x < 8; ++x) ASSERT_EQ(target.GetPixel(x, y) & 0xFFFFFF, 0x123456u);
}

// ---- the stream form

Bytes HandBuiltStream(std::int32_t level, bool with_shadow) {
  ByteWriter out;
  out.I32(level);
  out.I32(2);    // border
  out.I32(200);  // alpha
  out.I32(16);   // height
  out.LString("Face");
  out.I32(0x010203);
  out.I32(0x040506);
  out.U8(kFontItalic);
  for (std::size_t i = 0; i < kLabelMetricsBytes; ++i) out.U8(static_cast<std::uint8_t>(i));
  if (with_shadow) {
    out.I32(3);
    out.I32(0x070809);
  }
  return out.Take();
}

TEST_F(LabelMeasure, StreamsOfEveryVersionReadBack) {
  struct Case {
    std::int32_t version;
    std::int32_t stored_level;
    bool with_shadow;
    std::int32_t level;
    std::int32_t shadow;
  } cases[] = {
      {108, 2, false, 3, 0}, {108, 1, false, 0, 0}, {109, 2, false, 2, 0}, {121, 1, false, 1, 0},
      {122, 3, true, 3, 3},  {134, 0, true, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    const Bytes bytes = HandBuiltStream(c.stored_level, c.with_shadow);
    ByteReader in(bytes, "label");
    TVxLabelList list(*glyphs);
    list.LoadFromStream(in, c.version);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(list.AntialiasLevel(), c.level);
    EXPECT_EQ(list.BorderWidth(), 2);
    EXPECT_EQ(list.Alpha(), 200);
    EXPECT_EQ(list.FontHeight(), 16);
    EXPECT_EQ(list.FontName, "Face");
    EXPECT_EQ(list.Color, 0x010203);
    EXPECT_EQ(list.BorderColor, 0x040506);
    EXPECT_EQ(list.FontStyle, kFontItalic);
    EXPECT_EQ(list.Metrics[211], 211);
    EXPECT_EQ(list.Shadow(), c.shadow);
    if (c.with_shadow) {
      EXPECT_EQ(list.ShadowColor, 0x070809);
    }

    ByteWriter again;
    list.SaveToStream(again);
    if (c.with_shadow && c.version == 134) {
      EXPECT_EQ(again.Data(), bytes);
    }
  }
}

TEST_F(LabelMeasure, BadStreamsNameTheOffsetAndSizesAreKeptInRange) {
  Bytes bytes = HandBuiltStream(3, true);
  bytes[16] = 0xFF;  // the face name's length: far past the end
  bytes[17] = 0xFF;
  {
    ByteReader in(bytes, "label");
    TVxLabelList list(*glyphs);
    try {
      list.LoadFromStream(in, 134);
      FAIL() << "a name longer than the stream was read";
    } catch (const FormatError& error) {
      EXPECT_EQ(error.Offset(), 16u);
    }
  }
  Bytes truncated = HandBuiltStream(3, true);
  truncated.resize(truncated.size() - 3);
  ByteReader short_in(truncated, "label");
  TVxLabelList list(*glyphs);
  EXPECT_THROW(list.LoadFromStream(short_in, 134), FormatError);

  ByteWriter huge;
  huge.I32(3);
  huge.I32(1000);       // border
  huge.I32(-5);         // alpha
  huge.I32(1 << 30);    // height
  huge.LString("");
  huge.I32(0);
  huge.I32(0);
  huge.U8(0);
  for (std::size_t i = 0; i < kLabelMetricsBytes; ++i) huge.U8(0);
  huge.I32(-7);  // shadow
  huge.I32(0);
  ByteReader in(huge.Data(), "label");
  list.LoadFromStream(in, 134);
  EXPECT_EQ(list.FontHeight(), 256);
  EXPECT_EQ(list.BorderWidth(), 16);
  EXPECT_EQ(list.Alpha(), 0);
  EXPECT_EQ(list.Shadow(), 0);
  list.SetFontHeight(-16);  // a negative height is the same em
  EXPECT_EQ(list.FontHeight(), 16);
}

}  // namespace
}  // namespace kest
