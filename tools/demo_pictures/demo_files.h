#pragma once
// The files the demo title needs besides its pages, drawn in code and written with the project's
// own writers when the demo is built; no picture or motion file is checked in.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "images/zelk.h"

namespace kest::demo {

// The gallery's pictures and the transitions' mask picture; `seed` is the project's
// identification code, which scrambles the background.
void WriteGalleryFiles(const std::filesystem::path& folder, std::int32_t seed);
// The animation scene's pictures, motion file and pointer.
void WriteAnimationFiles(const std::filesystem::path& folder);

// A frame of one picture with an optional key (the picture format's native value).
inline std::unique_ptr<TZelkFrame> Frame(ZelkPicture picture, std::int32_t key = -1) {
  auto frame = std::make_unique<TZelkFrame>();
  frame->picture = std::move(picture);
  frame->KeyColor = key;
  frame->UpdateKeyColorRgb();
  return frame;
}

}  // namespace kest::demo
