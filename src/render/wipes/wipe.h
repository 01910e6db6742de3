#pragma once
// Screen transitions (wipes): one full-screen picture replaced by another over a run of steps.
//
// A transition draws into a destination surface from two pictures, FromPicture (shown at
// position 0) and ToPicture (reached at the end). It is a pure function of Position / Duration:
// the caller sets Position (0 to Duration) and calls Step, which redraws the destination; the
// caller decides the pace. Position and Duration are milliseconds in the player, but nothing
// here depends on the unit. Every product of a range and the position is taken in 64 bits.
//
// Pictures of another size than the destination are drawn over the common area, the rest
// black; pictures and destinations of other depths are composed through 32-bit copies.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/dibx.h"

namespace kest {

// The kind codes of the kind table (wipe_kinds.cpp).
enum WipeKind : std::int32_t {
  WP_NONE = 0,
  WP_FADE,
  WP_BLINDH,
  WP_BLINDV,
  WP_CURTAINH,
  WP_CURTAINV,
  WP_SCROLLH,
  WP_SCROLLV,
  WP_GRID,
  WP_GRIDH,
  WP_GRIDV,
  WP_DITHER,
  WP_WHITE,
  WP_BLACK,
  WP_FLASH,
  WP_MOSAIC,
  WP_SUDAREH,
  WP_SUDAREV,
  WP_SPOT,
  WP_MASKFADE,
  WP_MASKWHITE,
  WP_MASKBLACK,
  WP_SMALL,
  WP_BIG,
  WP_RIPPLE,
  WP_BLURWHITE,
  WP_BLURBLACK,
  WP_TWISTH,
  WP_TWISTV,
  WP_CRACK,
  WP_ZOOMIN,
  WP_CLOCKHAND,
  WP_RUBBERH,
  WP_RUBBERV,
  WP_FAN,
  WP_WFAN,
  WP_CIRCLE,
  WP_BLOCKCOIL,
  WP_BLOCKRANDOM,
};
inline constexpr std::int32_t kWipeKindLast = WP_BLOCKRANDOM;

// The flip command's keep modes, which sit beside the kinds in the same table: with FL_OUT the
// objects not named go to the back screen; with FL_STAY the named ones do (so they stay shown).
inline constexpr std::int32_t FL_OUT = 0;
inline constexpr std::int32_t FL_STAY = 1;

class TCustomWipe {
 public:
  TCustomWipe(TCustomDIBX& destination, TCustomDIBX& to, TCustomDIBX& from);
  TCustomWipe(const TCustomWipe&) = delete;
  TCustomWipe& operator=(const TCustomWipe&) = delete;
  virtual ~TCustomWipe();

  // Before Prepare.
  virtual void SetReverse(bool reverse) { reverse_ = reverse; }
  virtual std::int32_t GetParam(int index) const;
  // Stores parameter 0 or 1 (other indexes are ignored); kinds clamp or rebuild their tables.
  virtual void SetParam(int index, std::int32_t value);
  virtual void SetMaskName(const std::string& name) { mask_name_ = name; }
  // Once, after the parameters: kinds size their masks and build their tables.
  virtual void Prepare();
  // Draws the step at Position. Answers true, drawing nothing, once Position reaches Duration
  // (and for a Duration of 0 or less); otherwise marks the destination's whole rectangle in its
  // clip and draws. A transition that was not prepared prepares itself first.
  bool Step();

  void SetDuration(std::int32_t duration) { duration_ = duration; }
  // Clamped to 0..Duration.
  void SetPosition(std::int32_t position);
  std::int32_t Duration() const { return duration_; }
  std::int32_t Position() const { return position_; }
  bool Reverse() const { return reverse_; }
  const std::string& MaskName() const { return mask_name_; }
  // Whether the last Step drew anything (mask kinds skip steps whose mask did not change).
  bool Drew() const { return drew_; }
  Rect DestinationRect() const { return destination_rect_; }

 protected:
  // One step with 0 <= Position < Duration and a non-empty destination.
  virtual void DrawStep() = 0;

  std::int32_t W() const { return width_; }
  std::int32_t H() const { return height_; }
  // range * Position / Duration, in 64 bits.
  std::int64_t Progress(std::int64_t range) const;
  // Position / Duration as a real.
  double Fraction() const { return static_cast<double>(position_) / static_cast<double>(duration_); }
  // The pictures as 32-bit surfaces of the destination's size.
  TCustomDIBX& From() { return *from_view_; }
  TCustomDIBX& To() { return *to_view_; }
  // Where steps draw: the destination itself when it is 32-bit, else a 32-bit copy handed on
  // after the step.
  TCustomDIBX& Canvas() { return *canvas_; }
  // Marks the step as drawn (DrawStep does so unless it found nothing to change).
  void SetDrew(bool drew) { drew_ = drew; }

  std::int32_t params_[2] = {0, 0};

 private:
  void RefreshPictures();

  TCustomDIBX& destination_;
  TCustomDIBX& to_;
  TCustomDIBX& from_;
  TDIBX from_copy_, to_copy_, canvas_copy_;
  TCustomDIBX* from_view_;
  TCustomDIBX* to_view_;
  TCustomDIBX* canvas_;
  bool reverse_ = false;
  bool prepared_ = false;
  bool drew_ = false;
  std::string mask_name_;
  std::int32_t duration_ = 0;
  std::int32_t position_ = 0;
  std::int32_t width_ = 0, height_ = 0;
  Rect destination_rect_;
};

// The mask kinds: each step builds an 8-bit mask as wide as the destination and MaskHeight rows
// high (it repeats downwards) and composes the pictures through it, only when it changed.
class TWipeMask : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  // Parameter 0 at least 2, parameter 1 at least 1.
  void SetParam(int index, std::int32_t value) override;
  void Prepare() override;

  // For tests and tools: the mask as the last step built it.
  std::int32_t MaskRows() const { return mask_rows_; }
  std::uint8_t MaskAt(std::int32_t x, std::int32_t y) const;
  bool IsBinary() const { return binary_; }

 protected:
  // Rebuilds the mask for Position; answers whether it changed.
  virtual bool BuildMask() = 0;
  virtual std::int32_t MaskHeight() const { return H(); }
  void DrawStep() final;

  std::uint8_t* MaskRow(std::int32_t y) { return mask_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(W()); }
  void ClearMask(std::uint8_t value = 0);
  // Records the progress a mask is built for; false when it is the one already built.
  bool TakeProgress(std::int64_t progress);

  bool binary_ = false;

 private:
  std::vector<std::uint8_t> mask_;
  std::int32_t mask_rows_ = 0;
  std::int64_t last_progress_ = -1;
};

// The ramp rule of blinds, curtains and grids: 0 before the delay, then rising over `ramp`
// progress units to 255.
std::uint8_t RampValue(std::int64_t progress, std::int64_t delay, std::int64_t ramp);

// Mask kinds whose pattern is a delay per column (H) or per row (V): the order table.
class TWipeOrderHMask : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;

 protected:
  std::vector<std::int32_t> order_;  // one delay per column
};

class TWipeOrderVMask : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;

 protected:
  std::vector<std::int32_t> order_;  // one delay per row
};

// ---- the kind table and the factory

using WipeMaker = std::unique_ptr<TCustomWipe> (*)(TCustomDIBX& destination, TCustomDIBX& to, TCustomDIBX& from);

struct WipeKindInfo {
  std::int32_t code;
  std::string_view name;        // "WP_FADE"
  std::string_view label;       // the label the authoring tool showed, UTF-8
  std::string_view class_name;  // "TWipeFade"
  WipeMaker make;               // none for WP_NONE
  std::int32_t p0, p1;          // defaults, set through SetParam
};

struct FlipOptionInfo {
  std::int32_t code;
  std::string_view name;
  std::string_view label;
};

// Codes 0 to 38, in order.
const std::vector<WipeKindInfo>& WipeKinds();
const std::vector<FlipOptionInfo>& FlipOptions();
// The row of a code, or none outside 0..38.
const WipeKindInfo* FindWipeKind(std::int32_t code);

// The transition of a kind with both defaults set, or none for codes outside 1..38.
std::unique_ptr<TCustomWipe> CreateWipe(std::int32_t kind, TCustomDIBX& destination, TCustomDIBX& from,
                                        TCustomDIBX& to);

// ---- what the player plugs in

// Loads the first frame of a mask picture by name into `picture` (any depth); false when the
// picture cannot be found or read. The images library registers it, reading through the file
// manager with the project's identification code.
using MaskPictureLoader = std::function<bool(const std::string& name, TCustomDIBX& picture)>;
void SetMaskPictureLoader(MaskPictureLoader loader);
const MaskPictureLoader& GetMaskPictureLoader();
// Where the transitions report what they could not do (a missing mask picture).
void SetWipeNotice(std::function<void(const std::string&)> notice);
void WipeNotice(const std::string& text);
// The seed of the transitions' own random numbers (crack drifts, random block order): the run's
// seed, so headless runs repeat and the scripts' random numbers are left alone.
void SetWipeRandomSeed(std::uint32_t seed);
std::uint32_t WipeRandomSeed();

}  // namespace kest
