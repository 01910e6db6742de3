#include "render/glyphs/freetype_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "core/errors.h"
#include "render/glyphs/face_resolver.h"
#include "render/glyphs/glyph_codes.h"
#include "render/glyphs/glyph_messages.h"
#include "render/glyphs/grey_tables.h"

namespace kest {

namespace {

[[noreturn]] void ThrowRefused() { throw KestError(Message(GlyphMessage::OutlineMetricsFailed)); }

std::int32_t BoldSpread(std::int32_t em) { return std::max(1, em / 24); }

// Font units scaled to pixels of an em, rounded to nearest.
std::int32_t Scale(FT_Long units, std::int32_t em, FT_UShort units_per_em) {
  return static_cast<std::int32_t>(std::lround(static_cast<double>(units) * em / units_per_em));
}

// 26.6 fixed point to whole pixels.
std::int32_t RoundPixels(FT_Pos value) { return static_cast<std::int32_t>((value + 32) >> 6); }

// One opened face with the em its size was last set to.
struct OpenFace {
  FT_Face face = nullptr;
  std::int32_t em = 0;
};

// The glyph slot's bitmap as coverage at `level`: 1-bit rows set 255, grey rows go through the
// level's table. Other pixel modes (colour, sub-pixel) give nothing.
bool CopyBitmap(const FT_Bitmap& bitmap, int level, RasterGlyph& glyph) {
  const auto width = static_cast<std::int32_t>(bitmap.width);
  const auto rows = static_cast<std::int32_t>(bitmap.rows);
  if (width == 0 || rows == 0) return true;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
  const auto& quantize = CoverageMap(level);
  const int grays = std::max(2, static_cast<int>(bitmap.num_grays));
  glyph.width = width;
  glyph.height = rows;
  glyph.coverage.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
  const int pitch = bitmap.pitch;
  // A negative pitch means rows run upwards from the buffer's start.
  const unsigned char* top = pitch >= 0 ? bitmap.buffer : bitmap.buffer + static_cast<std::ptrdiff_t>(rows - 1) * -pitch;
  for (std::int32_t y = 0; y < rows; ++y) {
    const unsigned char* row = top + static_cast<std::ptrdiff_t>(y) * pitch;
    std::uint8_t* out = glyph.coverage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    if (mono) {
      for (std::int32_t x = 0; x < width; ++x) out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    } else if (grays == 256) {
      for (std::int32_t x = 0; x < width; ++x) out[x] = quantize[row[x]];
    } else {
      for (std::int32_t x = 0; x < width; ++x) out[x] = quantize[std::min(255, row[x] * 255 / (grays - 1))];
    }
  }
  return true;
}

class FreeTypeRasterizer final : public GlyphRasterizer {
 public:
  explicit FreeTypeRasterizer(std::shared_ptr<const FontCatalog> catalog) : catalog_(std::move(catalog)) {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeRasterizer() override {
    for (auto& [file, open] : by_file_)
      if (open.face) FT_Done_Face(open.face);
    if (library_) FT_Done_FreeType(library_);
  }
  FreeTypeRasterizer(const FreeTypeRasterizer&) = delete;
  FreeTypeRasterizer& operator=(const FreeTypeRasterizer&) = delete;

  FontMetrics Metrics(const FontRequest& font) override {
    const std::int32_t em = FontEm(font.height);
    FT_Face face = Sized(font.face, em);
    const FT_UShort units = face->units_per_EM;
    // The ascent comes from the font's own design (hhea), not FreeType's rounded size metrics,
    // which put IPAGothic's 24 px cell at 22 + 3.
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    FontMetrics metrics;
    metrics.em = em;
    metrics.ascent = std::clamp(Scale(hhea ? hhea->Ascender : face->ascender, em, units), 0, em);
    metrics.descent = em - metrics.ascent;
    metrics.overhang = (font.style & kFontBold) ? BoldSpread(em) : 0;
    metrics.underline_position = std::max(1, Scale(-face->underline_position, em, units));
    metrics.underline_size = std::max(1, Scale(face->underline_thickness, em, units));
    const bool has_os2 = os2 && os2->version != 0xFFFF;
    metrics.strike_out_position = std::max(1, has_os2 ? Scale(os2->yStrikeoutPosition, em, units) : em / 4);
    metrics.strike_out_size = std::max(1, has_os2 ? Scale(os2->yStrikeoutSize, em, units) : metrics.underline_size);
    return metrics;
  }

  std::optional<RasterGlyph> Rasterize(std::uint16_t code, const FontRequest& font, int level) override {
    level = std::clamp(level, 0, kMaxGlyphLevel);
    const std::int32_t em = FontEm(font.height);
    FT_Face face = Sized(font.face, em);
    RasterGlyph glyph;
    const FT_UInt index = GlyphIndex(face, code);
    if (index == 0) return glyph;  // no character, or none in this face: nothing drawn
    const Narrowing narrowing = NarrowingOf(face, code);
    const bool styled = (font.style & (kFontBold | kFontItalic)) != 0 || narrowing.scale != 0x10000;
    FT_Int32 flags = FT_LOAD_TARGET_LIGHT;
    if (level > 0 || styled) flags |= FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face, index, flags) != 0) return glyph;  // a broken glyph: nothing drawn
    FT_GlyphSlot slot = face->glyph;
    glyph.bold_spread = (font.style & kFontBold) ? BoldSpread(em) : 0;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) Style(slot->outline, font.style, em, narrowing.scale);
    glyph.advance = (narrowing.scale != 0x10000 ? narrowing.advance : RoundPixels(slot->advance.x)) + glyph.bold_spread;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, level == 0 ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
      return Failed(level, glyph);
    if (!CopyBitmap(slot->bitmap, level, glyph)) return Failed(level, glyph);  // not a coverage bitmap
    glyph.origin_x = slot->bitmap_left;
    glyph.origin_y = slot->bitmap_top;
    return glyph;
  }

  AbcWidths Abc(std::uint16_t code, const FontRequest& font) override {
    const std::int32_t em = FontEm(font.height);
    FT_Face face = Sized(font.face, em);
    const FT_UInt index = GlyphIndex(face, code);
    if (index == 0) return {};
    const Narrowing narrowing = NarrowingOf(face, code);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0) return {};
    FT_GlyphSlot slot = face->glyph;
    const std::int32_t advance = narrowing.scale != 0x10000 ? narrowing.advance : RoundPixels(slot->advance.x);
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return {0, 0, advance};
    // The widths of the shape as drawn, bold aside: the caller adds the bold overhang itself.
    Style(slot->outline, font.style & ~kFontBold, em, narrowing.scale);
    if (slot->outline.n_points == 0) return {0, 0, advance};
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    const auto left = static_cast<std::int32_t>(box.xMin >> 6);            // floor
    const auto right = static_cast<std::int32_t>((box.xMax + 63) >> 6);    // ceiling
    return {left, right - left, advance - right};
  }

 private:
  // A render FreeType cannot give: at a grey level the cache asks again at level 0; at level 0
  // the glyph is drawn as nothing.
  static std::optional<RasterGlyph> Failed(int level, RasterGlyph& glyph) {
    if (level > 0) return std::nullopt;
    glyph.width = glyph.height = 0;
    glyph.coverage.clear();
    return std::move(glyph);
  }

  static FT_UInt GlyphIndex(FT_Face face, std::uint16_t code) {
    const auto character = CodeToUnicode(code);
    return character ? FT_Get_Char_Index(face, *character) : 0;
  }

  // The byte 0x5C is drawn with the yen sign, but faces made for Unicode (the IPA ones among them)
  // give U+00A5 the full-width yen of JIS text. A one-byte character keeps the cell of the
  // face's own 0x5C character, so a wider yen is narrowed into it, as half-width faces draw it.
  struct Narrowing {
    FT_Fixed scale = 0x10000;  // horizontal scale of the outline, 16.16
    std::int32_t advance = 0;  // the cell, when narrowed
  };

  static Narrowing NarrowingOf(FT_Face face, std::uint16_t code) {
    Narrowing narrowing;
    if (code != 0x5C) return narrowing;
    const auto advance_of = [face](FT_ULong character) -> FT_Pos {
      const FT_UInt index = FT_Get_Char_Index(face, character);
      if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0) return 0;
      return face->glyph->advance.x;
    };
    const FT_Pos cell = advance_of(0x5C);
    const FT_Pos yen = advance_of(0xA5);
    if (cell > 0 && yen > cell) {
      narrowing.scale = FT_DivFix(cell, yen);
      narrowing.advance = RoundPixels(cell);
    }
    return narrowing;
  }

  // A narrowed yen is scaled first; italic shears x by a fifth of y (the top leans right); bold
  // widens the outline horizontally.
  static void Style(FT_Outline& outline, std::uint8_t style, std::int32_t em, FT_Fixed narrowing) {
    if (narrowing != 0x10000) {
      FT_Matrix narrow{narrowing, 0, 0, 0x10000};
      FT_Outline_Transform(&outline, &narrow);
    }
    if (style & kFontItalic) {
      FT_Matrix shear{0x10000, 0x10000 / 5, 0, 0x10000};
      FT_Outline_Transform(&outline, &shear);
    }
    if (style & kFontBold) FT_Outline_EmboldenXY(&outline, BoldSpread(em) * 64, 0);
  }

  // The face drawing `name` with its size set to `em`; raises KestError when none opens.
  FT_Face Sized(const std::string& name, std::int32_t em) {
    OpenFace* open = Face(name);
    if (!open) ThrowRefused();
    if (open->em != em) {
      if (FT_Set_Pixel_Sizes(open->face, 0, static_cast<FT_UInt>(em)) != 0) ThrowRefused();
      open->em = em;
    }
    return open->face;
  }

  OpenFace* Face(const std::string& name) {
    const auto known = by_name_.find(name);
    if (known != by_name_.end()) return known->second;
    OpenFace* open = nullptr;
    if (library_ && catalog_) {
      if (const auto resolved = ResolveFace(*catalog_, name)) open = File(resolved->file);
    }
    by_name_.emplace(name, open);
    return open;
  }

  // Each file and index is opened once; one FreeType refuses (or one that is not scalable) stays
  // refused.
  OpenFace* File(const FontFile& file) {
    const auto key = std::make_pair(file.path, file.index);
    auto [slot, added] = by_file_.try_emplace(key);
    if (added) {
      FT_Face face = nullptr;
      if (FT_New_Face(library_, file.path.c_str(), file.index, &face) == 0) {
        if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
          slot->second.face = face;
        } else {
          FT_Done_Face(face);
        }
      }
    }
    return slot->second.face ? &slot->second : nullptr;
  }

  std::shared_ptr<const FontCatalog> catalog_;
  FT_Library library_ = nullptr;
  std::map<std::pair<std::string, int>, OpenFace> by_file_;
  std::map<std::string, OpenFace*> by_name_;  // CP932 face name: its face, or null when refused
};

}  // namespace

std::unique_ptr<GlyphRasterizer> MakeFreeTypeRasterizer(std::shared_ptr<const FontCatalog> catalog) {
  return std::make_unique<FreeTypeRasterizer>(std::move(catalog));
}

}  // namespace kest
