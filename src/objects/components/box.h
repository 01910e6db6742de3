#pragma once
// TKestBox: a rectangle filled with Color and framed with BorderColor, drawn opaque, blended or
// added according to Alpha. A ".kmt" source plays a motion file on the box (PR_REPEAT loops it,
// PR_ONPLAYEND is raised at its end); any other source is only stored.

#include <string>

#include "objects/object.h"

namespace kest {

class TKestBox : public TKestControl {
 public:
  explicit TKestBox(TKestBaseList& owner);

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;
  bool MotionRepeats() const override { return repeat_; }

 protected:
  void PaintSelf(TCustomDIBX& target) override;

 private:
  std::int32_t border_width_ = 0;
  std::int32_t border_color_ = -1;
  std::int32_t alpha_ = 255;
  std::string source_;
  bool repeat_ = false;

  void SetSource(const std::string& source);
};

}  // namespace kest
