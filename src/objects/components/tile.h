#pragma once
// TKestTile: a picture repeated over the tile's area, shifted by PR_SCROLLX/PR_SCROLLY (which
// also move its children) and spaced by PR_DISTANCEX/PR_DISTANCEY when those exceed the zoomed
// frame. Its width and height are the area it covers, not the picture's; an animated picture
// always loops (PR_REPEAT is read-only on tiles and reads false). The tile is placed by its
// parent's position + Left (its offsets, PosZoomed and PlusX/PlusY do not move it).

#include <string>

#include "objects/components/images.h"

namespace kest {

class TKestTile : public TKestCustomImages {
 public:
  explicit TKestTile(TKestBaseList& owner);
  ~TKestTile() override;

  std::int32_t ScrollX() const override { return scroll_x_; }
  std::int32_t ScrollY() const override { return scroll_y_; }
  std::int64_t GetScreenLeft() const override;
  std::int64_t GetScreenTop() const override;
  Rect GetScreenRect() const override;
  TKestControl* HitTest(std::int64_t x, std::int64_t y, MouseModes modes) override;
  bool Update(std::int32_t frame_time) override;
  // The cell pitch on the screen along an axis: the distance when it is at least the zoomed
  // frame, else the zoomed frame.
  std::int32_t Pitch(int axis) const;

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  TKestImageList* CurrentList() override { return &list_; }
  bool Repeats() const override { return true; }
  bool SizeFollowsPicture() const override { return false; }
  void PaintSelf(TCustomDIBX& target) override;

 private:
  void SetSource(const std::string& source);
  std::int32_t ZoomedFrame(int axis) const;

  TKestImageList list_;
  std::string source_;
  std::int32_t scroll_x_ = 0, scroll_y_ = 0;
  std::int32_t distance_x_ = 0, distance_y_ = 0;
};

}  // namespace kest
