#pragma once
// TFilmManager plays a motion file: it reads the file, makes one track (TCustomFrameList) per
// record, resolves the chains between tracks and, on every step, hands each track's state at
// that time to its display object through TFilmTarget. Transition tracks drive the scene's two
// planes through TFilmScene. Both are interfaces so the manager runs without a scene list (the
// player's components implement them; tests use fakes).
//
// Times are ticks of the frame loop (16 ms); the player's motion component turns milliseconds
// into ticks at 60 per second.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "images/motion.h"
#include "images/zelk_cache.h"
#include "render/geometry.h"

namespace kest {

class TVrFileManager;
class TCustomFrameList;

// One frame of a track: a frame of a cached picture, shown for `duration` ticks.
class TCustomFrame {
 public:
  TZelkItem* item = nullptr;      // the cache entry (none for a transition's single frame)
  std::int32_t frame_index = 0;   // in item->frames
  std::int64_t duration = 1;      // ticks, at least 1

  // The picture frame, or none (no entry, or the entry has fewer frames now).
  const TZelkItemFrame* Picture() const;
};

// What a track hands its display object at one time.
struct FilmTrackState {
  const TZelkItemFrame* frame = nullptr;  // the picture frame, none without one
  std::int32_t frame_index = -1;          // in the track's frames, -1 without frames
  std::int32_t x = 0, y = 0;              // origin + interpolated position - header offset
  std::int32_t angle = 0;                 // 0..255 steps a turn
  std::int32_t zoom_x = 256, zoom_y = 256;
  std::int32_t alpha = 255;
  std::optional<Rect> crop;               // none: the whole picture
  MotionPoint anchor;                     // pivot minus the frame's offset
  MotionPoint extent;                     // width and height (box, particle, fire)
  std::int32_t sound1 = 0, sound2 = 0;
  std::int32_t order = 0;
  std::int32_t priority = 0;              // the manager's base priority + order
  std::uint8_t flag1 = 0, flag2 = 0, plane_swap = 0;
  const MotionTrackRecord* record = nullptr;  // for everything else
};

// The display objects of a film's tracks. Show is called on every step while a track is active;
// Hide once when a track that was shown stops being active (and for every shown track when the
// manager is cleared).
class TFilmTarget {
 public:
  virtual ~TFilmTarget() = default;
  virtual void Show(const TCustomFrameList& track, const FilmTrackState& state) = 0;
  virtual void Hide(const TCustomFrameList& track) = 0;
};

// A transition as a track starts it on the scene.
struct FilmTransitionStart {
  std::int32_t kind = 0;   // the transition kind code
  bool reverse = false;
  int plane = 0;           // the plane shown when the transition starts (0 or 1)
  std::int64_t step = 0;   // ticks since the track started
  std::int64_t duration = 0;
  std::int32_t param0 = 0, param1 = 0;
  std::string mask_name;   // resolved; empty for none
};

// The scene whose planes a film's transition tracks switch.
class TFilmScene {
 public:
  virtual ~TFilmScene() = default;
  virtual void StartTransition(const FilmTransitionStart& start) = 0;
  virtual void SetTransitionStep(std::int64_t step) = 0;
  // No transition track is active: the scene shows `plane` (0 or 1).
  virtual void ShowPlane(int plane) = 0;
};

// One track: its record, its frames, its chain and its computed times.
class TCustomFrameList {
 public:
  TCustomFrameList(std::int32_t index, MotionTrackRecord record) : index_(index), record_(std::move(record)) {}

  std::int32_t Index() const { return index_; }
  TrackKind Kind() const { return record_.kind; }
  const MotionTrackRecord& Record() const { return record_; }
  TCustomFrameList* Parent() const { return parent_; }
  bool HasSuccessor() const { return has_successor_; }

  // Computed start (the parent's start + length for a chained track), length (negative counts
  // as 0) and cycle, in ticks.
  std::int64_t Start() const { return start_; }
  std::int64_t Length() const { return length_; }
  std::int64_t Cycle() const { return cycle_; }
  bool ActiveAt(std::int64_t time) const { return time >= start_ && time - start_ < length_; }

  const std::vector<TCustomFrame>& Frames() const { return frames_; }
  // The frame at `t` ticks from the track's start; -1 without frames.
  std::int32_t FrameAt(std::int64_t t) const;
  // The state at absolute time `time` (meaningful while active).
  FilmTrackState StateAt(std::int64_t time, MotionPoint origin, MotionPoint header_offset,
                         std::int32_t base_priority) const;

  // The start values after chaining (the parent's end values where it has them).
  const MotionTrackRecord& Effective() const { return effective_; }

 private:
  friend class TFilmManager;

  std::int32_t index_;
  MotionTrackRecord record_;
  MotionTrackRecord effective_;
  TCustomFrameList* parent_ = nullptr;
  bool has_successor_ = false;
  std::int64_t start_ = 0, length_ = 0, cycle_ = 0;
  std::vector<TCustomFrame> frames_;
  std::vector<std::int64_t> durations_;  // of frames_, for FrameAtTime
  TZelkItem* picture_ = nullptr;         // the acquired cache entry
  bool shown_ = false;
};

struct FilmManagerOptions {
  TZelkCollection* cache = nullptr;  // pictures of image and tile tracks (none: no pictures)
  TVrFileManager* files = nullptr;   // for loading by name
  ZelkUser user = 0;                 // the cache user the manager acquires for
  // Told once per load about a file that is not a motion file and about pictures that were not
  // taken (CP932).
  std::function<void(const std::string&)> on_message;
};

class TFilmManager {
 public:
  explicit TFilmManager(FilmManagerOptions options = {});
  ~TFilmManager();
  TFilmManager(const TFilmManager&) = delete;
  TFilmManager& operator=(const TFilmManager&) = delete;

  // Whether Load leaves track resources (pictures) unloaded; a stored length of 0 then stays 0.
  void SetSuppressResources(bool suppress) { suppress_resources_ = suppress; }
  bool SuppressResources() const { return suppress_resources_; }

  // Replaces the tracks with those of the file. A file of neither signature leaves the manager
  // empty, tells on_message and answers false. Any other fault of the bytes raises FormatError
  // and leaves the manager empty.
  bool Load(ByteSpan data, const std::string& file_name);
  // Reads the file through the file manager first (KestError when it is missing or there is no
  // file manager).
  bool LoadFromFile(const std::string& file_name);
  // Releases every resource and drops the tracks (shown tracks are hidden first).
  void Clear();
  // Releases the cache entries of every track (their frames are dropped; the tracks stay).
  void Release();

  void SetTarget(TFilmTarget* target) { target_ = target; }
  // Transitions run only when a scene is given.
  void SetScene(TFilmScene* scene) { scene_ = scene; }
  // The position the tracks' positions are relative to (the object's position when the header
  // flag is set, else (0, 0)) and the priority their orders are added to.
  void SetOrigin(MotionPoint origin) { origin_ = origin; }
  MotionPoint Origin() const { return origin_; }
  void SetBasePriority(std::int32_t priority) { base_priority_ = priority; }

  // Every track shows or hides its object for `time` (ticks), then the transitions are checked.
  void Step(std::int64_t time);
  std::int64_t LastStepTime() const { return last_time_; }

  bool Loaded() const { return loaded_; }
  const MotionHeader& Header() const { return header_; }
  bool RelativeToObject() const { return header_.flag != 0; }
  std::size_t Count() const { return tracks_.size(); }
  const TCustomFrameList& Track(std::size_t index) const { return *tracks_.at(index); }
  const std::string& FileName() const { return file_name_; }

  // The largest start + length over the tracks.
  std::int64_t TotalTime() const { return total_time_; }
  // The first track, in file order, whose computed start is 0; -1 when none.
  std::int32_t FirstTrackWithoutStart() const;
  // The start of the first sound track; -1 without one.
  std::int64_t SoundStart() const;
  // What the player's motion component counts in: frames = total time in ticks, and the frame a
  // repeating motion loops back to (the header's interval, within the count; 0 before 106).
  std::int64_t FrameCount() const { return total_time_; }
  std::int64_t LoopStart() const;
  // The transition track active at the last step, -1 none.
  std::int32_t CurrentTransition() const { return current_transition_; }

 private:
  void ResolveParents();
  void ComputeTimes();
  void Chain();
  void LoadResources();
  void StepTransitions(std::int64_t time);

  FilmManagerOptions options_;
  bool suppress_resources_ = false;
  bool loaded_ = false;
  std::string file_name_;
  MotionHeader header_;
  std::vector<std::unique_ptr<TCustomFrameList>> tracks_;
  TFilmTarget* target_ = nullptr;
  TFilmScene* scene_ = nullptr;
  MotionPoint origin_;
  std::int32_t base_priority_ = 0;
  std::int64_t last_time_ = 0;
  std::int64_t total_time_ = 0;
  std::int32_t current_transition_ = -1;
};

}  // namespace kest
