#pragma once
// Animated pictures. TKestImageList is the frame sequence of one picture from the image cache
// (one TKestImageData per frame: the cache frame, its mask, its display time, its anchor and a
// brightness-adjusted copy made on demand). TKestCustomImages plays a list: each frame shows for
// its delay; the last frame of a multi-frame picture also waits LoopWait (an expression the
// image-creation command hands over, evaluated each time); at the end the picture loops with
// PR_REPEAT, goes with PR_AUTOSCRAP, or raises PR_ONPLAYEND. TKestImages shows a ".zel" picture
// or plays a ".kmt" motion file.

#include <memory>
#include <string>
#include <vector>

#include "objects/components/custom_image.h"

namespace kest {

class TKestParser;
class TZelkItem;
class TZelkItemFrame;

// A copy of `source` with the grey value |delta| added (delta > 0) or subtracted (delta < 0) on
// every pixel; the transparent pixels stay the transparent colour.
std::unique_ptr<TDIBX> BrightnessCopy(TCustomDIBX& source, std::int32_t delta);

class TKestImageData {
 public:
  TKestImageData(TZelkItem& entry, std::size_t index) : entry_(&entry), index_(index) {}

  // The surface shown at a brightness: the cache frame at 0, else the copy for that value
  // (made once per value).
  TCustomDIBX* Shown(std::int32_t brightness);
  TCustomDIBX* Mask() const;
  std::int32_t Delay() const;
  std::int32_t OffsetX() const;
  std::int32_t OffsetY() const;
  void ReleaseCopy() { copy_.reset(); }

 private:
  // The cache frame, looked up on each use: a reload of the cache replaces the frames.
  const TZelkItemFrame* Frame() const;

  TZelkItem* entry_;
  std::size_t index_;
  std::unique_ptr<TDIBX> copy_;
  std::int32_t copy_brightness_ = 0;
};

class TKestImageList {
 public:
  TKestImageList() = default;
  TKestImageList(const TKestImageList&) = delete;
  TKestImageList& operator=(const TKestImageList&) = delete;
  ~TKestImageList();

  // Fills the list from the cache entry of `name` ("?m": keys become masks; with `trim` "?m?t",
  // each frame cut to its visible part); the entry is held for `user` until Clear.
  void Load(TKestBaseList& list, ObjectId user, const std::string& name, bool trim = false);
  void Clear();
  std::size_t Count() const { return frames_.size(); }
  bool Valid(std::int32_t index) const { return index >= 0 && static_cast<std::size_t>(index) < frames_.size(); }
  TKestImageData& At(std::int32_t index) { return frames_[static_cast<std::size_t>(index)]; }
  void ReleaseCopies();
  const TZelkItem* Entry() const { return entry_; }

 private:
  TKestBaseList* list_ = nullptr;
  ObjectId user_ = kNoObject;
  TZelkItem* entry_ = nullptr;
  std::vector<TKestImageData> frames_;
};

// How a source name is played: from the image cache, as a motion file, or not at all.
enum class SourceKind : std::uint8_t { None, Picture, Motion };
SourceKind SourceKindOf(const std::string& name);

class TKestCustomImages : public TKestCustomImage {
 public:
  TKestCustomImages(TKestBaseList& owner, std::uint8_t kind);
  ~TKestCustomImages() override;

  std::int32_t Index() const { return index_; }
  std::int32_t FrameTimeLeft() const { return frame_time_left_; }
  // Shows frame `index` of the current list (none outside it, which stops the animation); with a
  // motion attached, moves the motion to that frame instead.
  void SetIndex(std::int32_t index);
  // The expression whose value (milliseconds) the last frame of a multi-frame picture adds.
  void SetLoopWait(const TKestParser& expression);
  void KeepExpression(std::uint8_t id, const TKestParser& expression) override;
  // LoopWait's value now (0 without an expression or a value).
  std::int32_t LoopWaitValue();

  void ReleaseSurfaces() override;

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  // The list being shown (none for a kind between sources).
  virtual TKestImageList* CurrentList() = 0;
  // Whether the list loops at its end.
  virtual bool Repeats() const = 0;
  // Advances the current list by the frame time. Answers true once the last frame's time is
  // over without repeat (and on every later update until something changes).
  bool Animate(std::int32_t frame_time);
  TCustomDIBX* ShownFrame() const override;
  TCustomDIBX* ShownFrameMask() const override;
  // Forgets the shown frame (no frame, nothing borrowed).
  void ForgetFrame();
  // Applies the values read by LoadFromStream (the kinds call this once their sources are set).
  void ApplyLoadedFrame();
  bool AniPaused() const;

  std::int32_t brightness_ = 0;
  bool paused_ = false;
  std::int32_t frame_time_left_ = 0;

 private:

  std::int32_t index_ = -1;
  std::unique_ptr<TKestParser> loop_wait_;
  std::int32_t loaded_index_ = -1;
  std::int32_t loaded_time_left_ = 0;
};

class TKestImages : public TKestCustomImages {
 public:
  explicit TKestImages(TKestBaseList& owner, std::uint8_t kind = LT_IMAGES);
  ~TKestImages() override;

  const TKestImageList& List() const { return list_; }
  bool Update(std::int32_t frame_time) override;
  bool MotionRepeats() const override { return repeat_; }

  std::optional<PropValue> ReadProperty(std::uint8_t id) const override;
  void WriteProperty(std::uint8_t id, const PropValue& value) override;
  void SaveToStream(ByteWriter& out, std::int32_t version) const override;
  void LoadFromStream(ByteReader& in, std::int32_t version, int depth) override;

 protected:
  TKestImageList* CurrentList() override { return &list_; }
  bool Repeats() const override { return repeat_; }
  // Loads `source` into `list` (a ".zel" picture), or attaches it as the control's motion (a
  // ".kmt" file, stepped once and rewound); other names load nothing.
  void LoadSource(TKestImageList& list, const std::string& source);
  void SetRepeat(bool repeat);

  void SetSource(const std::string& source);

  bool repeat_ = false;
  TKestImageList list_;
  std::string source_;
};

}  // namespace kest
