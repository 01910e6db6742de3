#include "images/film_manager.h"

#include <algorithm>
#include <climits>

#include "core/arith.h"
#include "core/errors.h"
#include "images/motion_interp.h"
#include "render/image_codec.h"
#include "vfs/file_manager.h"

namespace kest {

const TZelkItemFrame* TCustomFrame::Picture() const {
  if (!item || frame_index < 0 || static_cast<std::size_t>(frame_index) >= item->frames.size()) return nullptr;
  return &item->frames[static_cast<std::size_t>(frame_index)];
}

std::int32_t TCustomFrameList::FrameAt(std::int64_t t) const { return FrameAtTime(durations_, cycle_, t); }

namespace {

// Sums of 32-bit positions and offsets, taken in 64 bits and saturated to the 32-bit range.
std::int32_t Sum(std::int64_t a, std::int64_t b, std::int64_t c = 0) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(a + b + c, INT32_MIN, INT32_MAX));
}

}  // namespace

FilmTrackState TCustomFrameList::StateAt(std::int64_t time, MotionPoint origin, MotionPoint header_offset,
                                         std::int32_t base_priority) const {
  const MotionTrackRecord& r = effective_;
  const TrackKindTraits& traits = TraitsOf(r.kind);
  const std::int64_t c = length_;
  const std::int64_t d = time - start_;
  const CurveStep curve(c, d, has_successor_ ? Successor::Yes : Successor::No);
  const auto interpolate = [&curve](std::int32_t b, std::int32_t e, std::uint8_t mode) { return curve.Int(b, e, mode); };

  FilmTrackState state;
  state.record = &record_;
  state.order = r.order;
  state.priority = wrap::Add(base_priority, r.order);
  state.flag1 = r.flag1;
  state.flag2 = r.flag2;
  state.plane_swap = r.plane_swap;
  state.frame_index = FrameAt(d);
  if (state.frame_index >= 0) state.frame = frames_[static_cast<std::size_t>(state.frame_index)].Picture();

  if (traits.position) {
    state.x = Sum(origin.x, interpolate(r.start_position.x, r.end_position.x, r.x_curve), -std::int64_t{header_offset.x});
    state.y = Sum(origin.y, interpolate(r.start_position.y, r.end_position.y, r.y_curve), -std::int64_t{header_offset.y});
  }
  if (traits.image_part) {
    state.angle = AngleToTurnSteps(curve.Real(r.start_angle, r.end_angle, r.angle_curve));
    state.zoom_x = ZoomTo256(curve.Real(r.zoom_x_start, r.zoom_x_end, r.zoom_x_curve));
    state.zoom_y = ZoomTo256(curve.Real(r.zoom_y_start, r.zoom_y_end, r.zoom_y_curve));
    // 0 at either end means opaque.
    const std::int32_t alpha_start = r.start_alpha == 0 ? 255 : r.start_alpha;
    const std::int32_t alpha_end = r.end_alpha == 0 ? 255 : r.end_alpha;
    state.alpha = interpolate(alpha_start, alpha_end, 0);
    const std::int64_t frame_x = state.frame ? state.frame->offset_x : 0;
    const std::int64_t frame_y = state.frame ? state.frame->offset_y : 0;
    state.anchor = {Sum(r.pivot.x, -frame_x), Sum(r.pivot.y, -frame_y)};
  }
  if (traits.crop) {
    const MotionCrop& crop = r.crop;
    const std::int32_t left = interpolate(crop.origin_start.x, crop.origin_end.x, crop.x_curve);
    const std::int32_t width = interpolate(crop.size_start.x, crop.size_end.x, crop.x_curve);
    const std::int32_t top = interpolate(crop.origin_start.y, crop.origin_end.y, crop.y_curve);
    const std::int32_t height = interpolate(crop.size_start.y, crop.size_end.y, crop.y_curve);
    // A crop narrower or lower than one pixel means the whole picture.
    if (width >= 1 && height >= 1) state.crop = Rect{left, top, Sum(left, width), Sum(top, height)};
  }
  if (traits.extent) {
    state.extent = {interpolate(r.start_extent.x, r.end_extent.x, r.x_curve),
                    interpolate(r.start_extent.y, r.end_extent.y, r.y_curve)};
  }
  if (traits.sound) {
    state.sound1 = interpolate(r.sound1_start, r.sound1_end, 0);
    state.sound2 = interpolate(r.sound2_start, r.sound2_end, 0);
  }
  return state;
}

TFilmManager::TFilmManager(FilmManagerOptions options) : options_(std::move(options)) {}

// The target may be gone by now, so destruction releases the pictures without hiding anything.
TFilmManager::~TFilmManager() { Release(); }

void TFilmManager::Clear() {
  if (target_) {
    for (const auto& track : tracks_) {
      if (track->shown_) target_->Hide(*track);
      track->shown_ = false;
    }
  }
  Release();
  tracks_.clear();
  header_ = {};
  file_name_.clear();
  loaded_ = false;
  total_time_ = 0;
  last_time_ = 0;
  current_transition_ = -1;
}

void TFilmManager::Release() {
  for (const auto& track : tracks_) {
    if (track->picture_ && options_.cache) options_.cache->Release(*track->picture_, options_.user);
    track->picture_ = nullptr;
    if (TraitsOf(track->Kind()).picture) {
      track->frames_.clear();
      track->durations_.clear();
    }
  }
}

bool TFilmManager::LoadFromFile(const std::string& file_name) {
  if (!options_.files) throw KestError("no file manager to read " + file_name);
  const Bytes data = options_.files->ReadFile(file_name);
  return Load(data, file_name);
}

bool TFilmManager::Load(ByteSpan data, const std::string& file_name) {
  Clear();
  if (!ProbeMotionSignature(data)) {
    if (options_.on_message)
      options_.on_message(FormatError(file_name, 0, "not a motion file (the signature names neither type)").what());
    return false;
  }
  MotionFile file;
  try {
    file = ReadMotionFile(data, file_name);
  } catch (...) {
    Clear();
    throw;
  }
  header_ = file.header;
  file_name_ = file_name;
  tracks_.reserve(file.tracks.size());
  for (std::size_t i = 0; i < file.tracks.size(); ++i)
    tracks_.push_back(std::make_unique<TCustomFrameList>(static_cast<std::int32_t>(i), std::move(file.tracks[i])));
  for (const auto& track : tracks_) {
    // Negative lengths count as 0.
    track->length_ = std::max<std::int64_t>(0, track->record_.length);
    track->cycle_ = track->record_.cycle;
    // A transition is one frame for its whole length.
    if (track->Kind() == TrackKind::Transition) {
      track->frames_.push_back({});
      track->durations_.push_back(1);
    }
  }
  ResolveParents();
  if (!suppress_resources_) LoadResources();
  ComputeTimes();
  Chain();
  loaded_ = true;
  return true;
}

void TFilmManager::ResolveParents() {
  const std::int64_t count = static_cast<std::int64_t>(tracks_.size());
  std::vector<std::int64_t> parent(tracks_.size(), -1);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t p = tracks_[static_cast<std::size_t>(i)]->record_.parent;
    if (p >= 0 && p < count && p != i) parent[static_cast<std::size_t>(i)] = p;
  }
  // Walk each chain once; a walk that meets its own path has found a cycle, and every track on
  // the cycle loses its parent (a track hanging off the cycle keeps its own).
  enum : std::uint8_t { kNew, kOnPath, kDone };
  std::vector<std::uint8_t> mark(tracks_.size(), kNew);
  std::vector<std::size_t> path;
  for (std::size_t first = 0; first < tracks_.size(); ++first) {
    path.clear();
    std::int64_t node = static_cast<std::int64_t>(first);
    while (node >= 0 && mark[static_cast<std::size_t>(node)] == kNew) {
      mark[static_cast<std::size_t>(node)] = kOnPath;
      path.push_back(static_cast<std::size_t>(node));
      node = parent[static_cast<std::size_t>(node)];
    }
    if (node >= 0 && mark[static_cast<std::size_t>(node)] == kOnPath) {
      const auto loop = std::find(path.begin(), path.end(), static_cast<std::size_t>(node));
      for (auto it = loop; it != path.end(); ++it) parent[*it] = -1;
    }
    for (std::size_t member : path) mark[member] = kDone;
  }
  for (std::size_t i = 0; i < tracks_.size(); ++i) {
    TCustomFrameList* up = parent[i] >= 0 ? tracks_[static_cast<std::size_t>(parent[i])].get() : nullptr;
    tracks_[i]->parent_ = up;
    if (up) up->has_successor_ = true;
  }
}

void TFilmManager::LoadResources() {
  if (!options_.cache) return;
  for (const auto& track : tracks_) {
    if (!TraitsOf(track->Kind()).picture || track->record_.resolved_name.empty()) continue;
    const std::string& name = track->record_.resolved_name;
    // A motion is not a picture: a track never plays another motion file.
    if (LowerExtension(name) == ".kmt") {
      if (options_.on_message)
        options_.on_message(file_name_ + ": track " + std::to_string(track->index_) + " names the motion file " + name +
                            " as its picture; it shows nothing");
      continue;
    }
    TZelkItem& item = options_.cache->Acquire(options_.user, name, true, true);
    track->picture_ = &item;
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < item.frames.size(); ++i) {
      const std::int64_t ticks = DelayToTicks(item.frames[i].delay);
      track->frames_.push_back({&item, static_cast<std::int32_t>(i), ticks});
      track->durations_.push_back(ticks);
      sum += ticks;
    }
    if (track->frames_.empty()) continue;
    // Length 0 plays the picture once; a cycle of 0 or less loops it.
    if (track->record_.length == 0) {
      track->length_ = sum;
      track->cycle_ = sum;
    }
    if (track->cycle_ <= 0) track->cycle_ = sum;
  }
}

void TFilmManager::ComputeTimes() {
  // Chains may be long: the starts are filled from each root down, without recursion.
  std::vector<bool> known(tracks_.size(), false);
  std::vector<TCustomFrameList*> chain;
  for (const auto& first : tracks_) {
    chain.clear();
    for (TCustomFrameList* t = first.get(); t && !known[static_cast<std::size_t>(t->index_)]; t = t->parent_)
      chain.push_back(t);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      TCustomFrameList& t = **it;
      t.start_ = t.parent_ ? t.parent_->start_ + t.parent_->length_ : t.record_.start;
      known[static_cast<std::size_t>(t.index_)] = true;
    }
  }
  total_time_ = 0;
  for (const auto& track : tracks_) total_time_ = std::max(total_time_, track->start_ + track->length_);
}

void TFilmManager::Chain() {
  for (const auto& track : tracks_) {
    track->effective_ = track->record_;
    const TCustomFrameList* parent = track->parent_;
    if (!parent) continue;
    MotionTrackRecord& own = track->effective_;
    const MotionTrackRecord& up = parent->record_;
    const TrackKindTraits& mine = TraitsOf(own.kind);
    const TrackKindTraits& theirs = TraitsOf(up.kind);
    // Only these values carry over from the parent's end; zoom does not.
    if (mine.position && theirs.position) own.start_position = up.end_position;
    if (mine.image_part && theirs.image_part) {
      own.start_angle = up.end_angle;
      own.start_alpha = up.end_alpha;
    }
    if (mine.crop && theirs.crop) {
      own.crop.origin_start = up.crop.origin_end;
      own.crop.size_start = up.crop.size_end;
    }
    if (mine.extent && theirs.extent) own.start_extent = up.end_extent;
    if (mine.sound && theirs.sound) {
      own.sound1_start = up.sound1_end;
      own.sound2_start = up.sound2_end;
    }
  }
}

void TFilmManager::Step(std::int64_t time) {
  last_time_ = time;
  for (const auto& track : tracks_) {
    if (track->ActiveAt(time)) {
      if (target_) target_->Show(*track, track->StateAt(time, origin_, header_.offset, base_priority_));
      track->shown_ = true;
    } else if (track->shown_) {
      if (target_) target_->Hide(*track);
      track->shown_ = false;
    }
  }
  if (scene_) StepTransitions(time);
}

void TFilmManager::StepTransitions(std::int64_t time) {
  std::int32_t active = -1;
  int ended = 0;
  for (const auto& track : tracks_) {
    if (track->Kind() != TrackKind::Transition) continue;
    if (active < 0 && track->ActiveAt(time)) active = track->index_;
    if (time >= track->start_ + track->length_) ended ^= 1;
  }
  if (active < 0) {
    current_transition_ = -1;
    scene_->ShowPlane(ended);
    return;
  }
  const TCustomFrameList& track = *tracks_[static_cast<std::size_t>(active)];
  const std::int64_t step = time - track.start_;
  if (active != current_transition_) {
    const MotionTrackRecord& r = track.record_;
    scene_->StartTransition({.kind = r.transition_kind,
                             .reverse = r.reverse != 0,
                             .plane = ended,
                             .step = step,
                             .duration = track.length_,
                             .param0 = r.param0,
                             .param1 = r.param1,
                             .mask_name = r.resolved_name});
  } else {
    scene_->SetTransitionStep(step);
  }
  current_transition_ = active;
}

std::int32_t TFilmManager::FirstTrackWithoutStart() const {
  for (const auto& track : tracks_)
    if (track->start_ == 0) return track->index_;
  return -1;
}

std::int64_t TFilmManager::SoundStart() const {
  for (const auto& track : tracks_)
    if (track->Kind() == TrackKind::Sound) return track->start_;
  return -1;
}

std::int64_t TFilmManager::LoopStart() const {
  if (header_.version < 106) return 0;
  return std::clamp<std::int64_t>(header_.interval, 0, FrameCount());
}

}  // namespace kest
