#pragma once
// TKestCustomImage, the base of the picture kinds, and TKestImages, a picture from the image
// cache. What is built: the own and borrowed surfaces with the mask slots, Alpha, PR_ORIGWIDTH
// and PR_ORIGHEIGHT, unscaled drawing by the alpha convention, and for TKestImages a ".zel"
// source shown at frame 0. Zoom, rotation, flips, animation and motion files are stored but not
// played yet; saving these kinds is not available yet.

#include <memory>

#include "objects/object.h"
#include "render/dibx.h"

namespace kest {

class TZelkItem;

class TKestCustomImage : public TKestControl {
 public:
  TKestCustomImage(TKestBaseList& owner, std::uint8_t kind);
  ~TKestCustomImage() override;

  // Only TKestImages draws so far; the other picture kinds keep their values.
  bool IsBuilt() const override { return false; }

  // The surface drawn: the borrowed one when set, else the own one (none before it is made).
  TCustomDIBX* GetSurface() const;
  // The second mask slot when set, else the first.
  TCustomDIBX* GetMask() const;

  // The image's own surface, made empty at 32 bits on first use. A snapshot or a picture drawn
  // by the player goes here; it shows whenever nothing is borrowed.
  TDIBX& OwnSurface();
  void DropOwnSurface() { own_.reset(); }
  // A surface (and its mask) owned elsewhere, shown instead of the own one; none clears it.
  void SetBorrowed(TCustomDIBX* surface, TCustomDIBX* mask);
  void SetSecondMask(TCustomDIBX* mask);

  std::int32_t Alpha() const { return alpha_; }

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  void PaintSelf(TCustomDIBX& target) override;
  // Width and height follow the shown surface (unscaled).
  void SizeFromPicture();
  // A cache frame's surface and mask when the kind borrows one; none by default.
  virtual TCustomDIBX* CacheSurface() const { return nullptr; }
  virtual TCustomDIBX* CacheMask() const { return nullptr; }

 private:
  std::unique_ptr<TDIBX> own_;
  TCustomDIBX* borrowed_ = nullptr;
  TCustomDIBX* borrowed_mask_ = nullptr;
  TCustomDIBX* second_mask_ = nullptr;
  std::int32_t alpha_ = 255;
};

class TKestCustomImages : public TKestCustomImage {
 public:
  using TKestCustomImage::TKestCustomImage;
};

class TKestImages : public TKestCustomImages {
 public:
  explicit TKestImages(TKestBaseList& owner, std::uint8_t kind = LT_IMAGES);
  ~TKestImages() override;

  bool IsBuilt() const override { return true; }

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;

  // The cache entry shown (none without a ".zel" source).
  const TZelkItem* Entry() const { return entry_; }

 protected:
  TCustomDIBX* CacheSurface() const override;
  TCustomDIBX* CacheMask() const override;

 private:
  void SetSource(const std::string& source);
  void ReleaseEntry();

  std::string source_;
  TZelkItem* entry_ = nullptr;  // held (this object is one of its users) until released
  std::int32_t index_ = -1;
};

}  // namespace kest
