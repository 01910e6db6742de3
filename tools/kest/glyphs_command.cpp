// kest glyphs: one line of text drawn as the player draws a caption label, written as a PNG. The
// text is UTF-8 on the command line and drawn in CP932, as titles store it.

#include <charconv>
#include <iostream>
#include <optional>
#include <span>
#include <string>

#include "command.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "glyph_specimen.h"
#include "output_files.h"
#include "render/glyphs/font_pixel_manager.h"
#include "platform/glyph_engine.h"

namespace kest::tool {
namespace {

std::optional<std::int32_t> Number(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "RRGGBB" or "#RRGGBB", as people write colours, into the player's 0x00BBGGRR.
std::optional<std::int32_t> Colour(std::string_view text) {
  if (!text.empty() && text[0] == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + 6, rgb, 16);
  if (error != std::errc() || end != text.data() + 6) return std::nullopt;
  return static_cast<std::int32_t>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

std::optional<std::uint8_t> Style(std::string_view text) {
  std::uint8_t bits = 0;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    if (word == "bold") bits |= kFontBold;
    else if (word == "italic") bits |= kFontItalic;
    else if (word == "underline") bits |= kFontUnderline;
    else if (word == "strikeout") bits |= kFontStrikeOut;
    else if (word != "regular") return std::nullopt;
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return bits;
}

int Usage(const std::string& why) {
  std::cerr << "kest glyphs: " << why << "\n";
  return 2;
}

int RunGlyphs(std::span<const std::string> arguments) {
  SpecimenStyle style;
  platform::GlyphEngineChoice engine;
  std::string output;
  std::optional<std::string> text;
  // Options that take a whole number, by name, with their range.
  struct NumberOption {
    std::string_view name;
    std::int32_t* value;
    std::int32_t low, high;
  };
  const NumberOption numbers[] = {
      {"--size", &style.size, 1, 256},   {"--level", &style.level, 0, 3},  {"--border", &style.border, 0, 16},
      {"--shadow", &style.shadow, 0, 16}, {"--alpha", &style.alpha, 0, 255}, {"--margin", &style.margin, 0, 256},
  };
  struct ColourOption {
    std::string_view name;
    std::int32_t* value;
  };
  const ColourOption colours[] = {{"--color", &style.colour},
                                  {"--background", &style.background},
                                  {"--border-color", &style.border_colour},
                                  {"--shadow-color", &style.shadow_colour}};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    bool known = false;
    for (const NumberOption& option : numbers) {
      if (a != option.name) continue;
      const auto v = value();
      const auto n = v ? Number(*v) : std::nullopt;
      if (!n || *n < option.low || *n > option.high)
        return Usage(a + " takes a whole number from " + std::to_string(option.low) + " to " +
                     std::to_string(option.high));
      *option.value = *n;
      known = true;
    }
    for (const ColourOption& option : colours) {
      if (a != option.name) continue;
      const auto v = value();
      const auto c = v ? Colour(*v) : std::nullopt;
      if (!c) return Usage(a + " takes a colour RRGGBB");
      *option.value = *c;
      known = true;
    }
    if (known) continue;
    if (a == "--face") {
      const auto v = value();
      if (!v) return Usage("--face takes a face name");
      style.face = cp932::FromUtf8Lenient(*v);
    } else if (a == "--style") {
      const auto v = value();
      const auto bits = v ? Style(*v) : std::nullopt;
      if (!bits) return Usage("--style takes bold, italic, underline, strikeout or regular, joined by commas");
      style.style = *bits;
    } else if (a == "--fake") {
      engine.fake = true;
    } else if (a == "--font-dir") {
      const auto v = value();
      if (!v) return Usage("--font-dir takes a folder");
      engine.font_dir = *v;
    } else if (a == "-o") {
      const auto v = value();
      if (!v) return Usage("-o takes a file");
      output = *v;
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option '" + a + "'");
    } else if (text) {
      return Usage("one TEXT only (quote it when it holds blanks)");
    } else {
      text = a;
    }
  }
  if (!text || output.empty()) return Usage("usage: " + std::string(kGlyphsCommand.usage));
  const std::string cp932_text = cp932::FromUtf8Lenient(*text);
  TFontPixelManager glyphs(platform::MakeGlyphEngine(engine));
  TDIBX picture;
  RenderGlyphSpecimen(cp932_text, style, glyphs, picture);
  WritePicturePng(output, picture);
  return 0;
}

}  // namespace

const Command kGlyphsCommand = {
    "glyphs", "draw one line of text as the player draws a caption label, as a PNG specimen",
    "kest glyphs TEXT -o FILE.png [--face NAME] [--size 1-256] [--level 0-3] [--style bold,italic,underline,strikeout] "
    "[--color RRGGBB] [--background RRGGBB] [--border 0-16] [--border-color RRGGBB] [--shadow 0-16] "
    "[--shadow-color RRGGBB] [--alpha 0-255] [--margin N] [--fake] [--font-dir DIR]",
    RunGlyphs};

}  // namespace kest::tool
