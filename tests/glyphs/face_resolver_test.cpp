// Which family draws a face a title names: the map of Windows faces, the catalogue, the fallback.

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "listed_fonts.h"
#include "render/glyphs/face_resolver.h"

namespace kest {
namespace {

using testing::ListedFonts;

const ListedFonts kAllFonts({{"IPAGothic", {"ipag.ttf", 0}},
                             {"IPAPGothic", {"ipagp.ttf", 0}},
                             {"IPAMincho", {"ipam.ttf", 0}},
                             {"IPAPMincho", {"ipamp.ttf", 0}},
                             {"DejaVu Sans", {"dejavu.ttf", 0}},
                             {"梅ゴシック", {"ume.ttc", 2}}});

TEST(FaceResolver, WindowsFacesMapToTheIpaFamiliesHoweverTheyAreSpelt) {
  const struct {
    const char* utf8_face;
    const char* family;  // nullptr: not a mapped name
  } cases[] = {
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳゴシック", "IPAGothic"},
      {"MSゴシック", "IPAGothic"},
      {"ms　ゴシック", "IPAGothic"},  // a full-width blank
      {"MS Gothic", "IPAGothic"},
      {"msgothic", "IPAGothic"},
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"MS PGothic", "IPAPGothic"},
      {"MS UI Gothic", "IPAPGothic"},
      {"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "IPAPGothic"},
      {"ＭＳ 明朝", "IPAMincho"},
      {"MS Mincho", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"MS PMincho", "IPAPMincho"},
      {"ＭＳ ゴシック体", nullptr},
      {"MS P Gothic x", nullptr},
      {"DejaVu Sans", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8_face);
    const auto family = MappedFamily(cp932::FromUtf8(c.utf8_face));
    if (c.family) {
      EXPECT_EQ(family, std::optional<std::string>(c.family));
    } else {
      EXPECT_EQ(family, std::nullopt);
    }
  }
  EXPECT_EQ(MappedFamily("\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"),  // ＭＳ ゴシック
            std::optional<std::string>("IPAGothic"));
  EXPECT_EQ(MappedFamily("\x81\xFF\xFF"), std::nullopt);  // bytes that are not CP932
}

TEST(FaceResolver, OtherNamesGoToTheCatalogueThenToTheFallback) {
  const struct {
    const char* utf8_face;
    const char* family;
    FontFile file;
  } cases[] = {
      {"ＭＳ 明朝", "IPAMincho", {"ipam.ttf", 0}},
      {"DejaVu Sans", "DejaVu Sans", {"dejavu.ttf", 0}},
      {"梅ゴシック", "梅ゴシック", {"ume.ttc", 2}},
      {"dejavu sans", "IPAGothic", {"ipag.ttf", 0}},  // the catalogue's names are exact
      {"No Such Face", "IPAGothic", {"ipag.ttf", 0}},
      {"", "IPAGothic", {"ipag.ttf", 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8_face);
    const auto resolved = ResolveFace(kAllFonts, cp932::FromUtf8(c.utf8_face));
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->family, c.family);
    EXPECT_EQ(resolved->file, c.file);
  }
}

TEST(FaceResolver, AMappedFamilyThatIsNotInstalledFallsThrough) {
  const ListedFonts gothic_only({{"IPAGothic", {"ipag.ttf", 0}}});
  EXPECT_EQ(ResolveFace(gothic_only, cp932::FromUtf8("ＭＳ 明朝"))->file, (FontFile{"ipag.ttf", 0}));
  // A font folder with one of the free faces only: every face falls back to it.
  const ListedFonts mincho_only({{"IPAMincho", {"ipam.ttf", 0}}});
  EXPECT_EQ(ResolveFace(mincho_only, cp932::FromUtf8("ＭＳ Ｐゴシック"))->file, (FontFile{"ipam.ttf", 0}));
  EXPECT_EQ(ResolveFace(mincho_only, "Other")->family, "IPAMincho");
  const ListedFonts nothing_useful({{"DejaVu Sans", {"dejavu.ttf", 0}}});
  EXPECT_EQ(ResolveFace(nothing_useful, cp932::FromUtf8("ＭＳ ゴシック")), std::nullopt);
  EXPECT_EQ(ResolveFace(ListedFonts({}), "anything"), std::nullopt);
}

}  // namespace
}  // namespace kest
