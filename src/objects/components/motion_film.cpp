#include "objects/components/motion_film.h"

#include <algorithm>

#include "core/errors.h"
#include "objects/components.h"
#include "objects/property_table.h"
#include "objects/rect64.h"
#include "objects/scene_list.h"

namespace kest {

TFilmMotionFrames::TFilmMotionFrames(TKestControl& control, TZelkCollection& cache)
    : control_(control),
      list_(control.Owner()),
      manager_(FilmManagerOptions{.cache = &cache,
                                  .files = &cache.Files(),
                                  .user = control.Id(),
                                  .on_message = [&list = control.Owner()](const std::string& m) { list.Note(m); }}) {
  manager_.SetTarget(this);
}

TFilmMotionFrames::~TFilmMotionFrames() {
  manager_.SetTarget(nullptr);
  manager_.Clear();
  // The track objects go with the motion (at the end of the frame's update).
  for (const auto& [index, id] : objects_)
    if (TKestObject* object = list_.Resolve(id)) list_.MarkPendingDelete(*object);
}

bool TFilmMotionFrames::Load(const std::string& name) {
  try {
    return manager_.LoadFromFile(name);
  } catch (const KestError& e) {
    list_.Note(name + ": " + e.what());
    return false;
  }
}

std::int32_t TFilmMotionFrames::FrameCount() const { return Clamp32(manager_.FrameCount()); }

std::int32_t TFilmMotionFrames::LoopStart() const { return Clamp32(manager_.LoopStart()); }

void TFilmMotionFrames::SetAnchor(std::int64_t x, std::int64_t y) { manager_.SetOrigin({Clamp32(x), Clamp32(y)}); }

void TFilmMotionFrames::Apply(TKestControl& control, std::int32_t frame) {
  // The control sits at the motion's origin; the tracks' objects are placed within it.
  control.SetMotionPosition(manager_.Origin().x, manager_.Origin().y);
  manager_.Step(frame);
}

TKestObject* TFilmMotionFrames::TrackObject(std::int32_t index) const {
  const auto it = objects_.find(index);
  return it == objects_.end() ? nullptr : list_.Resolve(it->second);
}

TKestObject& TFilmMotionFrames::ObjectFor(const TCustomFrameList& track) {
  if (TKestObject* object = TrackObject(track.Index())) return *object;
  TKestObject* made = nullptr;
  switch (track.Kind()) {
    case TrackKind::Image: made = &list_.Create<TKestImage>(); break;
    case TrackKind::Box: made = list_.CreateByKind(LT_BOX); break;
    case TrackKind::Tile: made = list_.CreateByKind(LT_TILE); break;
    case TrackKind::Label: made = list_.CreateByKind(LT_LABEL); break;
    case TrackKind::Particle: made = list_.CreateByKind(LT_PARTICLE); break;
    case TrackKind::Fire: made = list_.CreateByKind(LT_FIRE); break;
    case TrackKind::Sound:
    case TrackKind::Transition: made = list_.CreateByKind(LT_SOUND); break;
  }
  made->SetName("\x01" + std::to_string(track.Index()));
  if (TKestControl* child = made->AsControl()) child->SetParent(&control_);
  objects_[track.Index()] = made->Id();
  return *made;
}

// A track's crop shows only that part of its picture, where it lies in the whole picture: the
// child clips to the crop (in picture pixels, zoomed as the picture is). No crop clears the clip.
void TFilmMotionFrames::ShowCrop(TKestCustomImage& image, const std::optional<Rect>& crop) {
  if (!crop) {
    image.SetClip(0, 0, 0, 0);
    return;
  }
  const auto shown = [&image](std::int64_t value, int axis) {
    const std::int64_t zoom = axis == 0 ? image.ZoomXValue() : image.ZoomYValue();
    return Clamp32(value * zoom / 256);
  };
  const std::int32_t left = shown(crop->left, 0), top = shown(crop->top, 1);
  image.SetClip(left, top, std::max(shown(crop->right, 0) - left, 1), std::max(shown(crop->bottom, 1) - top, 1));
}

void TFilmMotionFrames::Show(const TCustomFrameList& track, const FilmTrackState& state) {
  TKestObject& object = ObjectFor(track);
  object.SetPriority(state.priority);
  TKestControl* child = object.AsControl();
  if (!child) {
    // A sound track: its two values, kept by the sound object.
    object.WriteProperty(PR_VOLUME, state.sound1);
    object.WriteProperty(PR_BALANCE, state.sound2);
    return;
  }
  const std::int64_t x = std::int64_t{state.x} - manager_.Origin().x;
  const std::int64_t y = std::int64_t{state.y} - manager_.Origin().y;
  child->SetVisible(true);
  if (auto* image = dynamic_cast<TKestCustomImage*>(child)) {
    const TZelkItemFrame* frame = state.frame;
    TCustomDIBX* surface = frame ? frame->surface.get() : nullptr;
    image->WriteProperty(PR_ZOOMX, state.zoom_x);
    image->WriteProperty(PR_ZOOMY, state.zoom_y);
    image->WriteProperty(PR_ANGLE, state.angle);
    image->WriteProperty(PR_ALPHA, state.alpha);
    child->SetOffsetX(state.anchor.x);
    child->SetOffsetY(state.anchor.y);
    if (auto* tile = dynamic_cast<TKestTile*>(child)) {
      tile->SetBorrowed(surface, frame ? frame->mask.get() : nullptr);
      child->SetBounds(Clamp32(x), Clamp32(y), state.extent.x, state.extent.y);
    } else {
      image->SetBorrowed(surface, frame ? frame->mask.get() : nullptr);
      image->SizeIfDirty();
      child->SetLeft(Clamp32(x));
      child->SetTop(Clamp32(y));
      ShowCrop(*image, state.crop);
    }
    return;
  }
  child->SetBounds(Clamp32(x), Clamp32(y), state.extent.x, state.extent.y);
  child->WriteProperty(PR_ALPHA, state.alpha);
}

void TFilmMotionFrames::Hide(const TCustomFrameList& track) {
  if (TKestObject* object = TrackObject(track.Index()))
    if (TKestControl* child = object->AsControl()) child->SetVisible(false);
}

std::unique_ptr<TMotionFrames> LoadFilmMotion(TKestControl& control, const std::string& name) {
  TZelkCollection* cache = control.Owner().ImageCache();
  if (!cache) return nullptr;
  auto frames = std::make_unique<TFilmMotionFrames>(control, *cache);
  if (!frames->Load(name)) return nullptr;
  return frames;
}

}  // namespace kest
