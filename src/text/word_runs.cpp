#include "text/word_runs.h"

#include <algorithm>
#include <optional>

#include "text/kinsoku.h"

namespace kest {

namespace {

constexpr std::uint16_t kBlank = 0x20;

const TWdChar* CharOf(const TWdElement& element) { return std::get_if<TWdChar>(&element); }

bool IsLineBreak(const TWdElement& element) { return std::holds_alternative<TWdOpeReturn>(element); }

// The decoration of an element that has one.
const TDecorate* LookOf(const TWdElement& element, const TDecorateList& decorations) {
  std::optional<TDecorateList::Index> index;
  if (const TWdChar* c = CharOf(element)) index = c->decoration;
  if (const auto* v = std::get_if<std::unique_ptr<TWdOpeVar>>(&element)) index = (*v)->decoration;
  if (!index || !decorations.InUse(*index)) return nullptr;
  return &decorations[*index];
}

// A character code 0x21..0xFF: one byte and not a blank.
bool IsSingleByteNonBlank(std::uint16_t code) { return code >= 0x21 && code <= 0xFF; }

}  // namespace

std::vector<ElementSize> MeasureElements(std::span<const TWdElement> elements, const TDecorateList& decorations,
                                         const MeasureDefaults& defaults, const ImageSizeOf& image_size) {
  std::vector<ElementSize> sizes(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const TWdElement& element = elements[i];
    if (CharOf(element) != nullptr) {
      const TDecorate* look = LookOf(element, decorations);
      const std::int32_t s = look && look->size != 0 ? look->size : defaults.size;
      ElementSize size{s, s};
      if (look && (look->style & kStyleItalic) != 0) size.width += s / 5;
      if (look && !look->ruby.empty()) size.height += std::max(1, s / 2);
      const std::int32_t b = look && look->border != -1 ? look->border : defaults.border;
      const std::int32_t h = look && look->shadow != -1 ? look->shadow : defaults.shadow;
      size.width += 2 * b + h;
      size.height += 2 * b + h;
      sizes[i] = size;
    } else if (const auto* image = std::get_if<std::unique_ptr<TWdImg>>(&element)) {
      if (image_size) sizes[i] = image_size((*image)->file_name).value_or(ElementSize{});
    }
  }
  return sizes;
}

bool CanBreak(const TWdElement& next, const TWdElement* prev, const TDecorateList& decorations) {
  const TWdChar* next_char = CharOf(next);
  if (prev != nullptr) {
    const TDecorate* next_look = LookOf(next, decorations);
    const TDecorate* prev_look = LookOf(*prev, decorations);
    if (next_look && prev_look && next_look->no_break != 0 && prev_look->no_break != 0) return false;
    if (next_look && prev_look && !next_look->ruby.empty() && next_look->ruby == prev_look->ruby) return false;
    const TWdChar* prev_char = CharOf(*prev);
    if (prev_char && next_char && IsSingleByteNonBlank(prev_char->code) && IsSingleByteNonBlank(next_char->code))
      return false;
    // A non-character's text is a zero byte: it is not a blank.
    const bool prev_blank = prev_char && prev_char->code == kBlank;
    if (!prev_blank && next_char && next_char->code == kBlank) return false;
  }
  return !(next_char && CannotStartRow(next_char->code));
}

bool CanEndRow(const TWdElement& element) {
  const TWdChar* c = CharOf(element);
  return !(c && CannotEndRow(c->code));
}

RowRun RunWidth(std::span<const TWdElement> elements, std::span<const ElementSize> sizes, std::size_t first,
                const TDecorateList& decorations) {
  if (first >= elements.size()) return {};
  RowRun run{sizes[first].width, 1};
  if (IsLineBreak(elements[first])) return run;
  std::size_t at = first + 1;
  const auto take_joined = [&] {
    for (; at < elements.size() && !CanBreak(elements[at], &elements[at - 1], decorations); ++at) {
      run.width += sizes[at].width;
      ++run.count;
      if (IsLineBreak(elements[at])) {
        ++at;
        return false;  // a line break that joins the run ends it
      }
    }
    return true;
  };
  if (!take_joined()) return run;
  // An opening bracket alone travels with the next element and whatever cannot be parted from it.
  if (run.count == 1 && !CanEndRow(elements[first]) && at < elements.size() && !IsLineBreak(elements[at])) {
    run.width += sizes[at].width;
    ++run.count;
    ++at;
    take_joined();
  }
  return run;
}

}  // namespace kest
