#pragma once
// The first steps of laying message text out: the size every element takes, and which elements
// must stay on one row. Japanese text may break a row between any two characters, except that a
// row may not start with closing punctuation or end with an opening bracket; ASCII words, a
// ruby group and text inside NOBR stay whole, and a blank stays with the word before it.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "text/decorate.h"
#include "text/elements.h"

namespace kest {

struct ElementSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The text area's defaults, for characters whose decoration names none.
struct MeasureDefaults {
  std::int32_t size = 12;
  std::int32_t border = 0;
  std::int32_t shadow = 0;
};

// The size of an image file's first frame, or nothing when there is no such picture.
using ImageSizeOf = std::function<std::optional<ElementSize>(const std::string& file_name)>;

// Every element's size: a character is its size square (the default when 0), widened by a fifth
// when italic, heightened by half (at least 1) under a ruby text, and grown by twice the border
// and once the shadow; an image takes its first frame's size (0 x 0 when it cannot be found);
// line breaks and the other elements take no room (a line break alone on its row is given its
// height by the layout).
std::vector<ElementSize> MeasureElements(std::span<const TWdElement> elements, const TDecorateList& decorations,
                                         const MeasureDefaults& defaults, const ImageSizeOf& image_size);

// Whether a row may break between `prev` and `next` (prev null: the start of the text).
bool CanBreak(const TWdElement& next, const TWdElement* prev, const TDecorateList& decorations);

// Whether a row may end with the element: not with an opening bracket.
bool CanEndRow(const TWdElement& element);

// The run that must stay on one row, starting at element `first`: its width and its number of
// elements. An opening bracket that cannot end a row takes what follows it along.
struct RowRun {
  std::int32_t width = 0;
  std::size_t count = 0;
};
RowRun RunWidth(std::span<const TWdElement> elements, std::span<const ElementSize> sizes, std::size_t first,
                const TDecorateList& decorations);

}  // namespace kest
