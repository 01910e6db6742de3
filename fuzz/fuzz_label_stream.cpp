// Reads the input as a caption label list's stored style: two bytes of stream version, then the
// stream. A short or oversized field may only raise the player's own format error; what loads
// keeps every size within its range, saves and reads back to the same bytes, and measures and
// draws a label on the fake glyphs without leaving its surfaces.

#include <cstdlib>
#include <string_view>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"
#include "render/dibx.h"
#include "render/glyphs/fake_rasterizer.h"
#include "render/glyphs/font_pixel_manager.h"
#include "text/label_list.h"

namespace {

constexpr std::int32_t kNewestVersion = 134;

kest::Bytes Stream(std::int32_t version, std::int32_t level, std::int32_t border, std::int32_t height,
                   std::string_view face, std::int32_t shadow) {
  kest::ByteWriter out;
  out.U8(static_cast<std::uint8_t>(version & 0xFF));
  out.U8(static_cast<std::uint8_t>(version >> 8));
  out.I32(level);
  out.I32(border);
  out.I32(200);  // alpha
  out.I32(height);
  out.LString(std::string(face));
  out.I32(0xFFFFFF);
  out.I32(0x000080);
  out.U8(kest::kFontBold | kest::kFontUnderline);
  for (std::size_t i = 0; i < kest::kLabelMetricsBytes; ++i) out.U8(static_cast<std::uint8_t>(i));
  if (version >= kest::kLabelShadowVersion) {
    out.I32(shadow);
    out.I32(0x404040);
  }
  return out.Take();
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  return {
      Stream(kNewestVersion, 3, 2, 24, "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 2),  // "ＭＳ Ｐゴシック"
      Stream(108, 2, 0, -16, "", 0),
      Stream(121, 1, 40, 100000, "x", 0),
      Stream(kNewestVersion, -5, -1, 0, "", 99),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::int32_t version = data[0] | (data[1] << 8);
  kest::TFontPixelManager glyphs(kest::MakeFakeRasterizer());
  kest::TVxLabelList list(glyphs);
  kest::ByteReader in(kest::ByteSpan(data + 2, size - 2));
  try {
    list.LoadFromStream(in, version);
  } catch (const kest::FormatError&) {
    return 0;
  }
  if (list.AntialiasLevel() < 0 || list.AntialiasLevel() > 3 || list.BorderWidth() < 0 || list.BorderWidth() > 16 ||
      list.Shadow() < 0 || list.Shadow() > 16 || list.Alpha() < 0 || list.Alpha() > 255 || list.FontHeight() < 1 ||
      list.FontHeight() > 256)
    std::abort();

  kest::ByteWriter first;
  list.SaveToStream(first);
  kest::TVxLabelList again(glyphs);
  kest::ByteReader back(first.Data());
  again.LoadFromStream(back, kNewestVersion);
  kest::ByteWriter second;
  again.SaveToStream(second);
  if (first.Data() != second.Data() || back.Remaining() != 0) std::abort();

  // Measuring and drawing at the loaded style, on a surface smaller than the label.
  kest::TDIBX target(40, 20, 32);
  list.TargetSurface = &target;
  list.Add().SetText("A\x82\xa0 j");  // "Aあ j"
  list.Measure();
  list.Get(0)->Draw(-3, 5);
  return 0;
}
