#pragma once
// Hands layered images met by TCustomDIBX::LoadFromStream to this library's reader.

#include "images/zelk.h"
#include "render/image_codec.h"

namespace kest {

// The composed first frame of a frame list as a decoded picture (0x00RRGGBB pixels, indexes and
// palette at 8 bits or less, the mask, and the key as 0x00RRGGBB).
DecodedImage FrameToDecodedImage(const TZelkFrame& frame);

// Registers the reader with the surface layer; call once at start (idempotent).
void RegisterLayeredImageLoader();

class TVrFileManager;

// Lets the transitions read their mask pictures: the first frame of the named picture (any
// format the frame lists read), through `files`, unscrambled with the project's code. A picture
// that is missing or cannot be read answers false, and the transition says so.
void RegisterMaskPictureLoader(TVrFileManager& files, std::int32_t image_seed);

}  // namespace kest
