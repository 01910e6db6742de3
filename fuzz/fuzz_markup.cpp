// Reads the input as message markup. Only the player's own error for an <A> tag without HREF
// may escape; every element must point into the source and at a decoration in use, and the
// decorations' counts must add up to the elements that hold them.

#include <cstdlib>
#include <string_view>
#include <variant>

#include "fuzz_target.h"
#include "text/vx_word.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  const auto text = [](std::string_view t) { return kest::Bytes(t.begin(), t.end()); };
  return {
      text("\x8d\xa1\x93\xfa\x82\xcd\r\x90\xb0\x82\xea"),  // two lines of Japanese
      text("<FONT SIZE=24 COLOR=#FF0000 BORDER=2><B>a</B></FONT><RUBY VALUE=x>y</RUBY>"),
      text("<PRE>\ra\tb\r</PRE><TEXTAREA>\rc\r</TEXTAREA><BR CLEAR><CLEAR>"),
      text("<DIV ALIGN=CENTER><IMG SRC=a.png ALIGN=TOP></DIV><INDENT>x<UNDENT>"),
      text("<A HREF=\"\x95\\\\n\">l</A><EVENT VALUE=e END><WAIT VALUE=5>w</WAIT><VAR NAME=\"a+1\">"),
      text("\\<B\\> \"q   q\" <!-- c --><SCRIPT>x</SCRIPT><> <FONT SIZE=><<B>> \x83\\{ \x82"),
      text("<A>after"),
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  kest::TVxWord word;
  try {
    word.ParseMarkupSource(source, 30);
  } catch (const kest::MarkupError& error) {
    if (error.Offset() >= size) std::abort();
  }
  std::vector<std::int32_t> counts(word.Decorations().SlotCount(), 0);
  const auto hold = [&](kest::TDecorateList::Index index) {
    if (!word.Decorations().InUse(index)) std::abort();
    ++counts[index];
  };
  for (const kest::TWdElement& element : word.Elements()) {
    if (kest::SourceOffsetOf(element) >= size) std::abort();
    if (const auto* c = std::get_if<kest::TWdChar>(&element)) hold(c->decoration);
    if (const auto* v = std::get_if<std::unique_ptr<kest::TWdOpeVar>>(&element)) hold((*v)->decoration);
  }
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const auto index = static_cast<kest::TDecorateList::Index>(i);
    if (word.Decorations().InUse(index) && word.Decorations()[index].ref_count != counts[i]) std::abort();
    const kest::TDecorate* look = word.Decorations().InUse(index) ? &word.Decorations()[index] : nullptr;
    if (look && (look->border > kest::kMaxMarkupBorder || look->shadow > kest::kMaxMarkupShadow ||
                 look->size > kest::kMaxMarkupSize || look->size < 0))
      std::abort();
  }
  return 0;
}
