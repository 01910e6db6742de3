#pragma once
// Font engines for cache tests: the fake behind a wrapper that counts calls and can refuse faces,
// grey levels or glyphs, as real engines do.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "render/glyphs/fake_rasterizer.h"

namespace kest::testing {

struct EngineLog {
  int metrics_calls = 0;
  int grey_calls = 0;
  int mono_calls = 0;
  std::vector<std::string> faces_drawn;  // the face of every Rasterize call
};

class ScriptedRasterizer final : public GlyphRasterizer {
 public:
  // Faces `refuses_face` answers true for raise KestError from every call, as a font file the
  // engine cannot open does.
  std::function<bool(const std::string&)> refuses_face = [](const std::string&) { return false; };
  bool refuses_grey = false;
  bool fails_glyphs = false;

  explicit ScriptedRasterizer(std::shared_ptr<EngineLog> log) : log_(std::move(log)) {}

  FontMetrics Metrics(const FontRequest& font) override {
    ++log_->metrics_calls;
    CheckFace(font);
    return fake_->Metrics(font);
  }
  std::optional<RasterGlyph> Rasterize(std::uint16_t code, const FontRequest& font, int level) override {
    ++(level > 0 ? log_->grey_calls : log_->mono_calls);
    log_->faces_drawn.push_back(font.face);
    CheckFace(font);
    if (fails_glyphs) throw KestError("glyph failed");
    if (refuses_grey && level > 0) return std::nullopt;
    return fake_->Rasterize(code, font, level);
  }
  AbcWidths Abc(std::uint16_t code, const FontRequest& font) override {
    CheckFace(font);
    return fake_->Abc(code, font);
  }

 private:
  void CheckFace(const FontRequest& font) const {
    if (refuses_face(font.face)) throw KestError("Error:GetOutlineTextMetrics");
  }

  std::shared_ptr<EngineLog> log_;
  std::unique_ptr<GlyphRasterizer> fake_ = MakeFakeRasterizer();
};

}  // namespace kest::testing
