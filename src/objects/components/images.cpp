#include "objects/components/images.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "images/zelk_cache.h"
#include "objects/components/motion.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"
#include "params/kest_parser.h"

namespace kest {

// ---------------------------------------------------------------- brightness copies

std::unique_ptr<TDIBX> BrightnessCopy(TCustomDIBX& source, std::int32_t delta) {
  auto copy = std::make_unique<TDIBX>(source.Width(), source.Height(), source.BitCount());
  copy->Draw(0, 0, source, {0, 0, source.Width(), source.Height()});
  copy->transparent_color = source.transparent_color;
  copy->region_rects = source.region_rects;
  const std::int32_t grey = std::min(std::abs(delta), 255);
  if (grey == 0 || copy->IsEmpty()) return copy;
  const auto colour = static_cast<std::uint32_t>(copy->ColorToPixel(grey | grey << 8 | grey << 16));
  const Rect all{0, 0, copy->Width(), copy->Height()};
  if (delta > 0)
    copy->FillRectAdd(all, colour);
  else
    copy->FillRectSub(all, colour);
  // The transparent pixels keep the transparent colour, so the copy stays keyed like the frame.
  if (source.transparent_color != -1) {
    const auto key = static_cast<std::uint32_t>(source.transparent_color);
    for (std::int32_t y = 0; y < copy->Height(); ++y)
      for (std::int32_t x = 0; x < copy->Width(); ++x)
        if (source.GetPixel(x, y) == key) copy->SetPixel(x, y, key);
  }
  return copy;
}

// ---------------------------------------------------------------- the image list

const TZelkItemFrame* TKestImageData::Frame() const {
  return index_ < entry_->frames.size() ? &entry_->frames[index_] : nullptr;
}

TCustomDIBX* TKestImageData::Shown(std::int32_t brightness) {
  const TZelkItemFrame* frame = Frame();
  TCustomDIBX* surface = frame ? frame->surface.get() : nullptr;
  if (brightness == 0 || !surface) return surface;
  if (!copy_ || copy_brightness_ != brightness) {
    copy_ = BrightnessCopy(*surface, brightness);
    copy_brightness_ = brightness;
  }
  return copy_.get();
}

TCustomDIBX* TKestImageData::Mask() const {
  const TZelkItemFrame* frame = Frame();
  return frame ? frame->mask.get() : nullptr;
}
std::int32_t TKestImageData::Delay() const { return Frame() ? Frame()->delay : 1; }
std::int32_t TKestImageData::OffsetX() const { return Frame() ? Frame()->offset_x : 0; }
std::int32_t TKestImageData::OffsetY() const { return Frame() ? Frame()->offset_y : 0; }

TKestImageList::~TKestImageList() { Clear(); }

void TKestImageList::Load(TKestBaseList& list, ObjectId user, const std::string& name, bool trim) {
  Clear();
  TZelkCollection* cache = list.ImageCache();
  if (!cache) return;
  list_ = &list;
  user_ = user;
  entry_ = &cache->Acquire(user, name, trim, true);
  frames_.reserve(entry_->frames.size());
  for (std::size_t i = 0; i < entry_->frames.size(); ++i) frames_.emplace_back(*entry_, i);
}

void TKestImageList::Clear() {
  frames_.clear();
  if (entry_ && list_)
    if (TZelkCollection* cache = list_->ImageCache()) cache->Release(*entry_, user_);
  entry_ = nullptr;
}

void TKestImageList::ReleaseCopies() {
  for (TKestImageData& frame : frames_) frame.ReleaseCopy();
}

SourceKind SourceKindOf(const std::string& name) {
  if (name.size() < 4) return SourceKind::None;
  const std::string extension = cp932::LowerCase(name.substr(name.size() - 4));
  if (extension == ".zel") return SourceKind::Picture;
  if (extension == ".kmt") return SourceKind::Motion;
  return SourceKind::None;
}

// ---------------------------------------------------------------- TKestCustomImages

TKestCustomImages::TKestCustomImages(TKestBaseList& owner, std::uint8_t kind) : TKestCustomImage(owner, kind) {}

TKestCustomImages::~TKestCustomImages() = default;

void TKestCustomImages::SetLoopWait(const TKestParser& expression) {
  loop_wait_ = std::make_unique<TKestParser>();
  loop_wait_->Assign(expression);
}

void TKestCustomImages::KeepExpression(std::uint8_t id, const TKestParser& expression) {
  if (id == PR_DELAY) SetLoopWait(expression);
}

std::int32_t TKestCustomImages::LoopWaitValue() {
  if (!loop_wait_ || loop_wait_->Count() == 0) return 0;
  return Owner().EvaluateInt(*loop_wait_).value_or(0);
}

bool TKestCustomImages::AniPaused() const { return AsBool(ReadProperty(PR_ANIPAUSED).value_or(false)); }

void TKestCustomImages::ForgetFrame() {
  Invalidate();
  index_ = -1;
  SizeFromPicture();
}

TCustomDIBX* TKestCustomImages::ShownFrame() const {
  auto* list = const_cast<TKestCustomImages*>(this)->CurrentList();
  if (SurfacesReleased() || !list || !list->Valid(index_)) return nullptr;
  return list->At(index_).Shown(brightness_);
}

TCustomDIBX* TKestCustomImages::ShownFrameMask() const {
  auto* list = const_cast<TKestCustomImages*>(this)->CurrentList();
  if (SurfacesReleased() || !list || !list->Valid(index_)) return nullptr;
  return list->At(index_).Mask();
}

void TKestCustomImages::SetIndex(std::int32_t index) {
  if (motion_) {
    motion_->SeekFrame(index);
    return;
  }
  TKestImageList* list = CurrentList();
  if (list && list->Valid(index_)) Invalidate();
  index_ = index;
  if (!list || !list->Valid(index)) {
    // Outside the list nothing shows, and the animation stops.
    SizeFromPicture();
    return;
  }
  TKestImageData& frame = list->At(index);
  const std::int64_t time_left = std::int64_t{frame_time_left_} + frame.Delay() +
                                 (static_cast<std::size_t>(index) + 1 == list->Count() && list->Count() > 1
                                      ? LoopWaitValue()
                                      : 0);
  frame_time_left_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(time_left, INT32_MIN, INT32_MAX));
  SizeFromPicture();
  Invalidate();
}

void TKestCustomImages::ReleaseSurfaces() {
  TKestCustomImage::ReleaseSurfaces();
  if (TKestImageList* list = CurrentList()) list->ReleaseCopies();
}

bool TKestCustomImages::Animate(std::int32_t frame_time) {
  TKestImageList* list = CurrentList();
  if (!list || !list->Valid(index_) || !GetVisible() || paused_ || AniPaused()) return false;
  if (frame_time_left_ > 0) frame_time_left_ -= std::max(frame_time, 0);
  const std::size_t count = list->Count();
  // At most one pass of the list per update: a list whose delays and LoopWait add up to 0 or
  // less would otherwise never leave this loop.
  for (std::size_t steps = 0; frame_time_left_ < 1 && steps <= count; ++steps) {
    if (static_cast<std::size_t>(index_) + 1 < count) {
      if (count <= 2) frame_time_left_ = 0;
      SetIndex(index_ + 1);
    } else if (Repeats()) {
      frame_time_left_ = 0;
      SetIndex(0);
    } else {
      return true;
    }
  }
  return false;
}

std::optional<PropValue> TKestCustomImages::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_BRIGHTNESS: return brightness_;
    case PR_PAUSED: return paused_;
    case PR_INDEX: return motion_ ? motion_->Frame() : index_;
    case PR_COUNT: {
      if (motion_) return motion_->FrameCount();
      const TKestImageList* list = const_cast<TKestCustomImages*>(this)->CurrentList();
      return static_cast<std::int32_t>(list ? list->Count() : 0);
    }
    case PR_PLAYING: {
      if (paused_ || AniPaused()) return false;
      if (motion_) return !motion_->Ended();
      return Repeats() || frame_time_left_ > 0;
    }
    default: return TKestCustomImage::ReadProperty(id);
  }
}

void TKestCustomImages::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_BRIGHTNESS:
      Invalidate();
      brightness_ = std::clamp(AsInt(value), -255, 255);
      Invalidate();
      return;
    case PR_PAUSED:
      paused_ = AsBool(value);
      frame_time_left_ = 0;
      return;
    case PR_VISIBLE:
      TKestCustomImage::WriteProperty(id, value);
      frame_time_left_ = 0;
      return;
    case PR_INDEX: SetIndex(AsInt(value)); return;
    default: TKestCustomImage::WriteProperty(id, value); return;
  }
}

void TKestCustomImages::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestCustomImage::SaveToStream(out, version);
  out.I32(frame_time_left_);
  out.I32(AsInt(ReadProperty(PR_INDEX).value_or(std::int32_t{-1})));
  out.I32(brightness_);
  out.Bool(paused_);
  if (loop_wait_)
    loop_wait_->SaveToStream(out);
  else
    TKestParser().SaveToStream(out);
}

void TKestCustomImages::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestCustomImage::LoadFromStream(in, version, depth);
  loaded_time_left_ = in.I32();
  loaded_index_ = in.I32();
  brightness_ = std::clamp(in.I32(), -255, 255);
  paused_ = in.Bool();
  auto expression = std::make_unique<TKestParser>();
  expression->LoadFromStream(in);
  loop_wait_ = expression->Count() > 0 ? std::move(expression) : nullptr;
}

void TKestCustomImages::ApplyLoadedFrame() {
  SetIndex(loaded_index_);
  frame_time_left_ = loaded_time_left_;
  AdoptLoadedSize();
}

// ---------------------------------------------------------------- TKestImages

TKestImages::TKestImages(TKestBaseList& owner, std::uint8_t kind) : TKestCustomImages(owner, kind) {}

TKestImages::~TKestImages() = default;

void TKestImages::LoadSource(TKestImageList& list, const std::string& source) {
  switch (SourceKindOf(source)) {
    case SourceKind::Picture: list.Load(Owner(), Id(), source); break;
    case SourceKind::Motion:
      if (LoadMotion(source)) {
        motion_->Step(0, MotionRepeats());
        motion_->Restart();
      }
      break;
    case SourceKind::None: break;  // shows nothing, and is no error
  }
}

void TKestImages::SetSource(const std::string& source) {
  ForgetFrame();
  list_.Clear();
  DropMotion();
  source_ = source;
  LoadSource(list_, source);
  if (list_.Count() > 0) SetIndex(0);
  SizeFromPicture();
}

void TKestImages::SetRepeat(bool repeat) {
  const bool turned_on = repeat && !repeat_;
  repeat_ = repeat;
  if (!turned_on) return;
  TKestImageList* list = CurrentList();
  if (motion_ || (list && list->Valid(Index()))) {
    if (motion_ && motion_->Ended()) motion_->Restart();
  } else {
    SetIndex(0);
  }
}

bool TKestImages::Update(std::int32_t frame_time) {
  SizeIfDirty();
  if (motion_) return TKestControl::Update(frame_time);
  if (!Animate(frame_time)) return false;
  if (AutoScrap()) return true;
  RaisePlayEnd();
  return false;
}

std::optional<PropValue> TKestImages::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_SOURCE: return source_;
    case PR_REPEAT: return repeat_;
    default: return TKestCustomImages::ReadProperty(id);
  }
}

void TKestImages::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_SOURCE: SetSource(AsStr(value)); return;
    case PR_REPEAT: SetRepeat(AsBool(value)); return;
    default: TKestCustomImages::WriteProperty(id, value); return;
  }
}

void TKestImages::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestCustomImages::SaveToStream(out, version);
  const auto text = [this](std::uint8_t id) { return AsStr(ReadProperty(id).value_or(std::string())); };
  out.Bool(repeat_);
  out.U8(0);  // spare
  out.LString(source_);
  out.LString(text(PR_ONPLAYEND));
  if (version >= 104) out.LString(text(PR_ONIDLE));
}

void TKestImages::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestCustomImages::LoadFromStream(in, version, depth);
  repeat_ = in.Bool();
  in.U8();
  const std::string source = in.LString();
  stored_[PR_ONPLAYEND] = in.LString();
  if (version >= 104) stored_[PR_ONIDLE] = in.LString();
  SetSource(source);
  ApplyLoadedFrame();
}

}  // namespace kest
