// Writing a frame list in version 106: one layer per frame, its mask as the layer's mask.

#include "core/errors.h"
#include "images/messages.h"
#include "images/zelk.h"
#include "images/zelk_fixture.h"
#include "vfs/atomic_file.h"

namespace kest {

Bytes TZelkFrameList::Write(const ZelkWriteOptions& options) const {
  const bool scrambled = options.scrambled.value_or(identification_ != 0);
  if (scrambled && identification_ == 0) throw KestError(Message(ImageMessage::SetIdentificationCode));
  ZelkFileSpec spec;
  spec.version = kZelkVersion;
  spec.identification = identification_;
  spec.scrambled = scrambled;
  // Scrambled rows need raw blocks.
  spec.compression = scrambled ? ZelkCompression::None : options.compression;
  spec.background = background;
  spec.first_layer_opaque = FirstLayerOpaque;
  spec.jpeg_quality = options.jpeg_quality;
  std::int32_t number = 0;
  for (const auto& frame : frames) {
    ZelkFrameSpec& out = spec.frames.emplace_back();
    out.name = "Frame" + std::to_string(++number);
    out.key = frame->KeyColor;
    out.delay = frame->Delay;
    out.width = frame->picture.Width();
    out.height = frame->picture.Height();
    out.bit_count = frame->picture.BitCount();
    out.palette = frame->picture.Palette();
    ZelkLayerSpec& layer = out.layers.emplace_back();
    layer.use_mask = frame->HasMask();
    layer.picture = frame->picture;
    layer.mask = frame->mask;
  }
  return WriteZelkFile(spec);
}

void TZelkFrameList::WriteToFile(const std::string& path, const ZelkWriteOptions& options) const {
  WriteFileAtomically(path, Write(options));
}

}  // namespace kest
