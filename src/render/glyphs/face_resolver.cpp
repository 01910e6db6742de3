#include "render/glyphs/face_resolver.h"

#include <array>
#include <utility>

#include "core/cp932.h"

namespace kest {

namespace {

// The faces of Japanese Windows and the free faces drawn for them (names in UTF-8).
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kFaceMap = {{
    {"ＭＳ ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},
    {"MS UI Gothic", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"MS PMincho", "IPAPMincho"},
}};

// A UTF-8 name with full-width ASCII (U+FF01..U+FF5E) folded to ASCII, blanks (the full-width
// one too) removed and ASCII letters in lower case. Bytes that are not UTF-8 are kept as they are.
std::string MatchKey(std::string_view utf8) {
  std::string key;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    // U+3000 is E3 80 80; U+FF01..U+FF5E are EF BC 81..EF BD 9E.
    if (b0 == 0xE3 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
        static_cast<unsigned char>(utf8[i + 2]) == 0x80) {
      i += 3;
      continue;
    }
    if (b0 == 0xEF && i + 2 < utf8.size()) {
      const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
      const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
      const int code = (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) ? b2 - 0x80 + 0x20
                       : (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) ? b2 - 0x80 + 0x60
                                                                 : 0;
      if (code != 0) {
        key += static_cast<char>(code >= 'A' && code <= 'Z' ? code + 32 : code);
        i += 3;
        continue;
      }
    }
    if (b0 == ' ' || b0 == '\t') {
      ++i;
      continue;
    }
    key += static_cast<char>(b0 >= 'A' && b0 <= 'Z' ? b0 + 32 : b0);
    ++i;
  }
  return key;
}

}  // namespace

std::optional<std::string> MappedFamily(std::string_view cp932_face) {
  const std::string key = MatchKey(cp932::ToUtf8Lenient(cp932_face));
  for (const auto& [windows_face, family] : kFaceMap)
    if (MatchKey(windows_face) == key) return std::string(family);
  return std::nullopt;
}

std::optional<ResolvedFace> ResolveFace(const FontCatalog& catalog, std::string_view cp932_face) {
  // After the fallback, the other free faces: a font folder may hold only one of them, and any of
  // them draws Japanese text better than nothing.
  std::string candidates[6];
  if (auto mapped = MappedFamily(cp932_face)) candidates[0] = std::move(*mapped);
  candidates[1] = cp932::ToUtf8Lenient(cp932_face);
  candidates[2] = kFallbackFamily;
  candidates[3] = "IPAPGothic";
  candidates[4] = "IPAMincho";
  candidates[5] = "IPAPMincho";
  for (std::string& family : candidates) {
    if (family.empty()) continue;
    if (auto file = catalog.Find(family)) return ResolvedFace{std::move(family), std::move(*file)};
  }
  return std::nullopt;
}

}  // namespace kest
