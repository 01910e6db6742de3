// The system's and a folder's font catalogues.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/errors.h"
#include "ipa_fonts.h"
#include "platform/font_catalog.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/freetype_rasterizer.h"
#include "render/glyphs/glyph_codes.h"
#include "support/temp_folder.h"

namespace kest {
namespace {

bool Lists(const FontCatalog& fonts, const std::string& family) {
  const auto families = fonts.Families();
  return std::find(families.begin(), families.end(), family) != families.end();
}

TEST(SystemFontCatalog, FindsFamiliesByTheirNamesInEveryLanguage) {
  KEST_NEED_IPA_FONTS();
  const auto& fonts = *testing::SystemFonts();
  const auto gothic = fonts.Find("IPAGothic");
  ASSERT_TRUE(gothic);
  EXPECT_TRUE(std::filesystem::is_regular_file(gothic->path)) << gothic->path;
  const auto localised = fonts.Find("IPAゴシック");
  ASSERT_TRUE(localised);
  EXPECT_EQ(std::filesystem::canonical(localised->path), std::filesystem::canonical(gothic->path));
  EXPECT_TRUE(Lists(fonts, "IPAGothic"));
  EXPECT_TRUE(Lists(fonts, "IPA明朝"));
  EXPECT_EQ(fonts.Find("No Such Family At All"), std::nullopt);
}

TEST(FolderFontCatalog, ListsTheFontsOfOneFolderByTheirOwnNames) {
  KEST_NEED_IPA_FONTS();
  testing::TempFolder folder;
  std::filesystem::copy_file(testing::SystemFonts()->Find("IPAPMincho")->path, folder.File("MINCHO.TTF"));
  {
    std::ofstream(folder.File("broken.ttf")) << "not a font";
    std::ofstream(folder.File("readme.txt")) << "not a font either";
  }
  std::unique_ptr<FontCatalog> fonts = MakeFolderFontCatalog(folder.Path().string());
  EXPECT_EQ(fonts->Families(), (std::vector<std::string>{"IPA P明朝", "IPAPMincho"}));
  EXPECT_EQ(fonts->Find("IPAPMincho"), (FontFile{folder.File("MINCHO.TTF"), 0}));
  EXPECT_EQ(fonts->Find("IPA P明朝"), (FontFile{folder.File("MINCHO.TTF"), 0}));
  EXPECT_EQ(fonts->Find("IPAGothic"), std::nullopt);

  // Through the engine the folder's face draws the Windows face that maps to it. The fallback
  // family is looked up in the same folder, which lacks it, so an unknown face is drawn with the
  // free face the folder has.
  TFontPixelManager glyphs(MakeFreeTypeRasterizer(std::shared_ptr<const FontCatalog>(fonts.release())),
                           [](const std::string&) {});
  EXPECT_TRUE(glyphs.Get(0x82A0, {.face = "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9", .height = 24})->HasMask());  // ＭＳ Ｐ明朝
  EXPECT_TRUE(glyphs.Get(0x82A0, {.face = "unknown", .height = 24})->HasMask());
}

TEST(FolderFontCatalog, AFolderWithoutFontsIsAnErrorNamingIt) {
  testing::TempFolder folder;
  std::filesystem::create_directory(folder.File("empty"));
  std::filesystem::create_directory(folder.File("junk"));
  std::ofstream(folder.File("junk/broken.otf")) << "not a font";
  for (const char* name : {"empty", "junk", "missing"}) {
    SCOPED_TRACE(name);
    const std::string path = folder.File(name);
    try {
      MakeFolderFontCatalog(path);
      ADD_FAILURE() << "no error";
    } catch (const KestError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace kest
