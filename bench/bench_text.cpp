// Message markup: ParseMarkup over a page set of about 1 MB of typical message text (Japanese
// sentences with FONT, RUBY, B, BR, WAIT and EVENT tags), in bytes per second. The yardstick is
// a memchr scan of the same bytes for "<", the least any tokenizer has to look at.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/cp932.h"
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

BENCHMARK(Text_ParseMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_MemchrScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
