// The system catalogue: fontconfig's list of scalable faces.

#include "platform/font_catalog.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace kest {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
using ObjectSet = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;

// How far a face is from the upright regular one its family is asked for by.
int DistanceFromRegular(FcPattern* face) {
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(face, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(face, FC_SLANT, 0, &slant);
  return std::abs(weight - FC_WEIGHT_REGULAR) + (slant == FC_SLANT_ROMAN ? 0 : 1000);
}

class SystemFontCatalog final : public FontCatalog {
 public:
  SystemFontCatalog() : config_(FcInitLoadConfigAndFonts()) {}
  ~SystemFontCatalog() override {
    if (config_) FcConfigDestroy(config_);
  }
  SystemFontCatalog(const SystemFontCatalog&) = delete;
  SystemFontCatalog& operator=(const SystemFontCatalog&) = delete;

  std::vector<std::string> Families() const override {
    std::set<std::string> names;
    const Pattern pattern(ScalablePattern());
    const ObjectSet objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    const FontSet faces = List(pattern.get(), objects.get());
    for (int i = 0; faces && i < faces->nfont; ++i) {
      FcChar8* name = nullptr;
      for (int n = 0; FcPatternGetString(faces->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
        names.insert(reinterpret_cast<const char*>(name));
    }
    return {names.begin(), names.end()};
  }

  std::optional<FontFile> Find(const std::string& family) const override {
    const Pattern pattern(ScalablePattern());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    const ObjectSet objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, nullptr));
    const FontSet faces = List(pattern.get(), objects.get());
    std::optional<FontFile> best;
    int best_distance = 0;
    for (int i = 0; faces && i < faces->nfont; ++i) {
      FcChar8* file = nullptr;
      int index = 0;
      if (FcPatternGetString(faces->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
      FcPatternGetInteger(faces->fonts[i], FC_INDEX, 0, &index);
      const int distance = DistanceFromRegular(faces->fonts[i]);
      FontFile candidate{reinterpret_cast<const char*>(file), index};
      // Ties go to the smaller path, so the same face is chosen on every run.
      if (!best || distance < best_distance || (distance == best_distance && candidate.path < best->path)) {
        best = std::move(candidate);
        best_distance = distance;
      }
    }
    return best;
  }

 private:
  static FcPattern* ScalablePattern() {
    FcPattern* pattern = FcPatternCreate();
    if (pattern) FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    return pattern;
  }

  FontSet List(FcPattern* pattern, FcObjectSet* objects) const {
    if (!config_ || !pattern || !objects) return nullptr;
    return FontSet(FcFontList(config_, pattern, objects));
  }

  FcConfig* config_;
};

}  // namespace

std::unique_ptr<FontCatalog> MakeSystemFontCatalog() { return std::make_unique<SystemFontCatalog>(); }

}  // namespace kest
