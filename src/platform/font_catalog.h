#pragma once
// The fonts the system (or one folder) offers, by family name. The glyph engine asks it for the
// file of a family; nothing else about fonts leaves this library, so the engine sees no
// fontconfig type. Names are UTF-8, as font files store them.
//
//   std::shared_ptr<const FontCatalog> fonts = MakeSystemFontCatalog();       // fontconfig
//   std::shared_ptr<const FontCatalog> mine = MakeFolderFontCatalog("fonts");  // --font-dir DIR
//   if (auto file = fonts->Find("IPAGothic")) Open(file->path, file->index);
//   for (const std::string& family : fonts->Families()) List(family);
//   // a family is found by any of its names, localised ones ("IPAゴシック") included

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kest {

// A face inside a font file; collections (.ttc) hold several.
struct FontFile {
  std::string path;
  int index = 0;

  friend bool operator==(const FontFile&, const FontFile&) = default;
};

class FontCatalog {
 public:
  virtual ~FontCatalog() = default;

  // Every family name known, sorted, each once.
  virtual std::vector<std::string> Families() const = 0;
  // The scalable face of a family by its exact name, the upright regular one when the family has
  // several; nothing when no face has that name.
  virtual std::optional<FontFile> Find(const std::string& family) const = 0;
};

// The system's fonts through fontconfig.
std::unique_ptr<FontCatalog> MakeSystemFontCatalog();

// The .ttf, .otf and .ttc files directly inside `folder` (UTF-8 path). A folder that does not
// exist, or holds no font FreeType can open, raises KestError naming it.
std::unique_ptr<FontCatalog> MakeFolderFontCatalog(const std::string& folder);

}  // namespace kest
