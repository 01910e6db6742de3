// The folder catalogue (`--font-dir DIR`): the fonts of one folder, named as their own name
// tables name them, read with FreeType.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/messages.h"
#include "core/text_format.h"
#include "platform/font_catalog.h"

namespace kest {

namespace {

enum class FolderMessage { FolderMissing, NoFontInFolder, kCount };

const std::string& Message(FolderMessage id) {
  static const MessageTable<FolderMessage, static_cast<std::size_t>(FolderMessage::kCount)> table({
      "フォントのフォルダ %s が見つかりません",
      "フォルダ %s には使えるフォントがありません",
  });
  return table[id];
}

KestError FolderError(FolderMessage id, const std::string& folder) {
  return KestError(FillMessage(Message(id), {cp932::FromUtf8Lenient(folder)}));
}

bool IsFontFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == ".ttf" || extension == ".otf" || extension == ".ttc";
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A name-table string as UTF-8: UTF-16BE for the Unicode and Windows platforms, ASCII for the
// Macintosh Roman one; nothing for other encodings or broken surrogates.
std::optional<std::string> DecodeName(const FT_SfntName& name) {
  std::string out;
  if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN) {
    for (FT_UInt i = 0; i < name.string_len; ++i) {
      if (name.string[i] >= 0x80) return std::nullopt;
      out += static_cast<char>(name.string[i]);
    }
    return out;
  }
  const bool utf16 = name.platform_id == TT_PLATFORM_APPLE_UNICODE ||
                     (name.platform_id == TT_PLATFORM_MICROSOFT &&
                      (name.encoding_id == TT_MS_ID_UNICODE_CS || name.encoding_id == TT_MS_ID_SYMBOL_CS));
  if (!utf16 || name.string_len % 2 != 0) return std::nullopt;
  for (FT_UInt i = 0; i < name.string_len; i += 2) {
    char32_t unit = static_cast<char32_t>(name.string[i] << 8 | name.string[i + 1]);
    if (unit >= 0xD800 && unit < 0xDC00) {
      if (i + 3 >= name.string_len) return std::nullopt;
      const char32_t low = static_cast<char32_t>(name.string[i + 2] << 8 | name.string[i + 3]);
      if (low < 0xDC00 || low >= 0xE000) return std::nullopt;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (unit >= 0xDC00 && unit < 0xE000) {
      return std::nullopt;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

// Every family name of a face: FreeType's own, and each language's family and typographic
// family names from the name table.
std::vector<std::string> FamilyNames(FT_Face face) {
  std::vector<std::string> names;
  if (face->family_name) names.emplace_back(face->family_name);
  const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
    if (name.name_id != TT_NAME_ID_FONT_FAMILY && name.name_id != TT_NAME_ID_TYPOGRAPHIC_FAMILY) continue;
    if (auto decoded = DecodeName(name); decoded && !decoded->empty()) names.push_back(std::move(*decoded));
  }
  return names;
}

int DistanceFromRegular(FT_Face face) {
  return ((face->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0) + ((face->style_flags & FT_STYLE_FLAG_ITALIC) ? 2 : 0);
}

class FolderFontCatalog final : public FontCatalog {
 public:
  explicit FolderFontCatalog(const std::string& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) throw FolderError(FolderMessage::FolderMissing, folder);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
      if (entry.is_regular_file(error) && IsFontFile(entry.path())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());  // the same choice among equals on every run

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw FolderError(FolderMessage::NoFontInFolder, folder);
    for (const auto& file : files) Scan(library, file.string());
    FT_Done_FreeType(library);
    if (families_.empty()) throw FolderError(FolderMessage::NoFontInFolder, folder);
  }

  std::vector<std::string> Families() const override {
    std::vector<std::string> names;
    for (const auto& [name, face] : families_) names.push_back(name);
    return names;
  }

  std::optional<FontFile> Find(const std::string& family) const override {
    const auto found = families_.find(family);
    if (found == families_.end()) return std::nullopt;
    return found->second.file;
  }

 private:
  struct Candidate {
    FontFile file;
    int distance = 0;
  };

  void Scan(FT_Library library, const std::string& path) {
    FT_Long count = 1;
    for (FT_Long index = 0; index < count; ++index) {
      FT_Face face = nullptr;
      if (FT_New_Face(library, path.c_str(), index, &face) != 0) return;
      count = face->num_faces;
      if (FT_IS_SCALABLE(face)) {
        const Candidate candidate{{path, static_cast<int>(index)}, DistanceFromRegular(face)};
        for (const std::string& name : FamilyNames(face)) {
          const auto [slot, added] = families_.try_emplace(name, candidate);
          if (!added && candidate.distance < slot->second.distance) slot->second = candidate;
        }
      }
      FT_Done_Face(face);
    }
  }

  std::map<std::string, Candidate> families_;
};

}  // namespace

std::unique_ptr<FontCatalog> MakeFolderFontCatalog(const std::string& folder) {
  return std::make_unique<FolderFontCatalog>(folder);
}

}  // namespace kest
