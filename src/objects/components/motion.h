#pragma once
// TKestMotion: the player of a motion file (".kmt") attached to a control. Motion files run at
// 60 frames per second; the player turns the control's elapsed time into a frame of the file and
// has the frame applied: the control's anchor (MotionX/MotionY) and the child objects of the
// tracks. What a frame contains comes from the film manager through TMotionFrames, so the
// player's timing can be driven (and tested) without a file.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kest {

class TKestControl;

// The frames of one motion file as a control plays them.
class TMotionFrames {
 public:
  virtual ~TMotionFrames() = default;
  // The number of frames (ticks of 1/60 s); 0 for a motion without content.
  virtual std::int32_t FrameCount() const = 0;
  // The frame a repeating motion continues at after its last one.
  virtual std::int32_t LoopStart() const = 0;
  // Whether the positions are relative to the control's position.
  virtual bool Relative() const = 0;
  // Where the motion's origin lies on the control's parent.
  virtual void SetAnchor(std::int64_t x, std::int64_t y) = 0;
  // The priority the track objects are stacked above.
  virtual void SetBasePriority(std::int32_t priority) = 0;
  // Writes frame `frame` to the control: MotionX, MotionY, PriorityOffset and the track objects.
  virtual void Apply(TKestControl& control, std::int32_t frame) = 0;
};

// Makes the frames of a motion file for a control; none when the file cannot be played (the
// loader reports why).
using MotionLoader = std::function<std::unique_ptr<TMotionFrames>(TKestControl& control, const std::string& name)>;

// One frame of a motion file as the player counts them (60 a second), in milliseconds.
inline constexpr double kMotionFrameMs = 1000.0 / 60.0;

class TKestMotion {
 public:
  TKestMotion(TKestControl& control, std::unique_ptr<TMotionFrames> frames);
  ~TKestMotion();
  TKestMotion(const TKestMotion&) = delete;
  TKestMotion& operator=(const TKestMotion&) = delete;

  // One update of the control: answers true once, when a motion without repeat ends.
  bool Step(std::int32_t frame_time, bool repeat);
  // Back to the start: elapsed 0, not ended, the start countdown at 2.
  void Restart();
  // Moves the elapsed time to frame `index` (the nearest millisecond).
  void SeekFrame(std::int32_t index);
  // Applies the frame shown again, once it was shown: after the image cache reloaded its
  // pictures, the track objects take the new surfaces (an ended or paused motion would not
  // apply a frame again by itself).
  void Reapply();

  std::int32_t Frame() const { return frame_; }
  std::int32_t FrameCount() const;
  bool Ended() const { return ended_; }
  std::int64_t Elapsed() const { return elapsed_; }
  TMotionFrames& Frames() { return *frames_; }

 private:
  TKestControl& control_;
  std::unique_ptr<TMotionFrames> frames_;
  std::int64_t elapsed_ = 0;
  std::int32_t countdown_ = 2;
  bool ended_ = false;
  std::int32_t frame_ = 0;
  std::int32_t last_left_ = 0, last_top_ = 0;
};

}  // namespace kest
