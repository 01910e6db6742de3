#pragma once
// TKestImage: the single picture a motion file's image track shows as a child of the control
// that plays it. Its frames come from the image cache cut to their visible parts ("?m?t"); the
// track picks the frame. Brightness runs from 0 (black) to 255 (the picture itself).

#include <string>

#include "objects/components/images.h"

namespace kest {

class TKestImage : public TKestCustomImage {
 public:
  explicit TKestImage(TKestBaseList& owner);
  ~TKestImage() override;

  // Loads the picture (frame 0 shown when it has frames).
  void SetSource(const std::string& source);
  const std::string& Source() const { return source_; }
  // Shows frame `index` of the picture (nothing outside it).
  void ShowFrame(std::int32_t index);
  std::int32_t Frame() const { return frame_; }
  TKestImageList& List() { return list_; }
  std::int32_t Brightness() const { return brightness_; }
  void SetBrightness(std::int32_t brightness);

  void ReleaseSurfaces() override;
  void RestoreSurfaces() override;

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  TCustomDIBX* ShownFrame() const override;
  TCustomDIBX* ShownFrameMask() const override;

 private:
  std::string source_;
  TKestImageList list_;
  std::int32_t frame_ = -1;
  std::int32_t brightness_ = 255;
};

}  // namespace kest
