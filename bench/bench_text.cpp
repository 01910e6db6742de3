// Message markup: ParseMarkup over a page set of about 1 MB of typical message text (Japanese
// sentences with FONT, RUBY, B, BR, WAIT and EVENT tags), in bytes per second. The yardstick is
// a memchr scan of the same bytes for "<", the least any tokenizer has to look at.
//
// Caption labels: 200 menu-sized labels in the real faces measured, rendered and drawn onto a
// 640 x 480 scene, and drawn alone (the work of every frame a menu shows), against pixman putting
// the same coverage masks on the same scene in one solid colour (OVER, a8 mask).

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "platform/glyph_engine.h"
#include "render/dibx.h"
#include "render/glyphs/font_pixel_manager.h"
#include "text/label_list.h"
#include "text/vx_word.h"

namespace kest {
namespace {

const std::string& Source() {
  static const std::string source = [] {
    const std::string paragraph = cp932::FromUtf8(
        "「おはよう」と彼女は言った。今日は<FONT SIZE=24 COLOR=#FF0000>晴れ</FONT>、"
        "<RUBY VALUE=あした>明日</RUBY>も<B>晴れ</B>るそうです。\r"
        "窓の外では鳥が鳴いている。静かな朝だった。<WAIT VALUE=80>……</WAIT>"
        "僕はゆっくりと起き上がり、カーテンを開けた。<BR>"
        "Good morning, world!  \\<not a tag\\> <A HREF=\"link\">リンク</A><EVENT VALUE=next><CLEAR>\r");
    std::string text;
    while (text.size() < (1u << 20)) text += paragraph;
    return text;
  }();
  return source;
}

void Text_ParseMarkup(benchmark::State& state) {
  const std::string& source = Source();
  TVxWord word;
  for (auto _ : state) {
    word.ParseMarkupSource(source, 30);
    benchmark::DoNotOptimize(word.Elements().data());
  }
  state.counters["elements"] = static_cast<double>(word.Elements().size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

void Baseline_MemchrScan(benchmark::State& state) {
  const std::string& source = Source();
  for (auto _ : state) {
    std::size_t brackets = 0;
    const char* at = source.data();
    const char* end = at + source.size();
    while ((at = static_cast<const char*>(std::memchr(at, '<', static_cast<std::size_t>(end - at)))) != nullptr) {
      ++brackets;
      ++at;
    }
    benchmark::DoNotOptimize(brackets);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

constexpr int kLabels = 200;
constexpr std::int32_t kSceneWidth = 640;
constexpr std::int32_t kSceneHeight = 480;

// Menu items as titles write them: a few words each, every one different.
std::vector<std::string> LabelTexts() {
  const char* const words[] = {"はじめから", "つづきから", "設定", "おまけ", "終了する", "Load", "Save", "音楽鑑賞"};
  std::vector<std::string> texts;
  for (int i = 0; i < kLabels; ++i)
    texts.push_back(cp932::FromUtf8(std::string(words[i % 8]) + " " + std::to_string(i + 1)));
  return texts;
}

struct LabelScene {
  TFontPixelManager glyphs{platform::MakeGlyphEngine({})};
  TVxLabelList list{glyphs};
  TDIBX scene{kSceneWidth, kSceneHeight, 32};

  explicit LabelScene(std::int32_t border) {
    list.SetFontHeight(16);
    list.SetBorderWidth(border);
    list.Color = 0xFFFFFF;
    for (const std::string& text : LabelTexts()) list.Add().SetText(text);
    list.TargetSurface = &scene;
  }
  void DrawAll() {
    for (int i = 0; i < kLabels; ++i) list.Get(static_cast<std::size_t>(i))->Draw((i / 20) * 64, (i % 20) * 24);
  }
};

void Labels_MeasureRenderDraw(benchmark::State& state) {
  LabelScene labels(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    labels.list.Measure();
    labels.list.InvalidateAll();
    labels.DrawAll();
    benchmark::DoNotOptimize(labels.scene.PixelAddress(0, 0));
  }
}

void Labels_Draw(benchmark::State& state) {
  LabelScene labels(0);
  labels.list.Measure();
  labels.DrawAll();
  for (auto _ : state) {
    labels.DrawAll();
    benchmark::DoNotOptimize(labels.scene.PixelAddress(0, 0));
  }
}

void Pixman_LabelMasks(benchmark::State& state) {
  LabelScene labels(0);
  labels.list.Measure();
  labels.DrawAll();
  std::vector<std::uint32_t> scene_bits(static_cast<std::size_t>(kSceneWidth) * kSceneHeight);
  pixman_image_t* dst =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, kSceneWidth, kSceneHeight, scene_bits.data(), kSceneWidth * 4);
  const pixman_color_t white{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
  pixman_image_t* colour = pixman_image_create_solid_fill(&white);
  // The labels' own coverage, copied top-down with pixman's row alignment.
  std::vector<std::vector<std::uint32_t>> mask_bits;
  std::vector<pixman_image_t*> masks;
  for (int i = 0; i < kLabels; ++i) {
    const TDIBX& coverage = labels.list.Get(static_cast<std::size_t>(i))->CoverageSurface();
    const int stride = (coverage.Width() + 3) / 4 * 4;
    auto& bits = mask_bits.emplace_back(static_cast<std::size_t>(stride / 4 * coverage.Height()) + 1);
    auto* bytes = reinterpret_cast<std::uint8_t*>(bits.data());
    for (int y = 0; y < coverage.Height(); ++y)
      std::memcpy(bytes + y * stride, const_cast<TDIBX&>(coverage).PixelAddress(0, y),
                  static_cast<std::size_t>(coverage.Width()));
    masks.push_back(pixman_image_create_bits(PIXMAN_a8, coverage.Width(), coverage.Height(), bits.data(), stride));
  }
  for (auto _ : state) {
    for (int i = 0; i < kLabels; ++i) {
      const auto w = static_cast<std::uint16_t>(labels.list.Get(static_cast<std::size_t>(i))->Width());
      const auto h = static_cast<std::uint16_t>(labels.list.Get(static_cast<std::size_t>(i))->Height());
      pixman_image_composite32(PIXMAN_OP_OVER, colour, masks[static_cast<std::size_t>(i)], dst, 0, 0, 0, 0,
                               (i / 20) * 64, (i % 20) * 24, w, h);
    }
    benchmark::DoNotOptimize(scene_bits.data());
  }
  for (pixman_image_t* mask : masks) pixman_image_unref(mask);
  pixman_image_unref(colour);
  pixman_image_unref(dst);
}

BENCHMARK(Text_ParseMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_MemchrScan)->Unit(benchmark::kMillisecond);
BENCHMARK(Labels_MeasureRenderDraw)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(Labels_Draw)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pixman_LabelMasks)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kest
