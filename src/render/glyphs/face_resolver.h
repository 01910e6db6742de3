#pragma once
// Which font file draws a face a title names. Titles name the faces of Japanese Windows; those
// map to the free IPA faces. Names match with full-width ASCII folded to ASCII and without regard
// to case or blanks, so "ＭＳ ゴシック", "MS Gothic" and "MSゴシック" are one face:
//
//   ＭＳ ゴシック, MS Gothic              -> IPAGothic
//   ＭＳ Ｐゴシック, MS PGothic, MS UI Gothic -> IPAPGothic
//   ＭＳ 明朝, MS Mincho                  -> IPAMincho
//   ＭＳ Ｐ明朝, MS PMincho               -> IPAPMincho
//
// Any other name is looked up in the font catalogue by its exact family name; what is not there
// either is drawn with IPAGothic.

#include <optional>
#include <string>
#include <string_view>

#include "platform/font_catalog.h"

namespace kest {

inline constexpr const char* kFallbackFamily = "IPAGothic";

// The free family a face name (CP932) stands for, or nothing when it is not one of the mapped
// names.
std::optional<std::string> MappedFamily(std::string_view cp932_face);

struct ResolvedFace {
  std::string family;  // UTF-8
  FontFile file;
};

// The face that draws `cp932_face`: the mapped family, else the catalogue's family of that exact
// name, else the fallback family, else another of the free faces the map names; nothing when the
// catalogue has none of them.
std::optional<ResolvedFace> ResolveFace(const FontCatalog& catalog, std::string_view cp932_face);

}  // namespace kest
