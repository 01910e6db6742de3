#pragma once
// The scene as the frame and the interpreter see it: the steps of a frame that belong to the
// display objects (turn input into events, update every object by the frame time, draw), the
// event queue, the names of the objects that send events, and the objects themselves for the
// commands that create and address them. The object model provides the real scene
// (TKestBaseList); TEmptyScene stands in where there are no display objects.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/timer_list.h"

namespace kest {

class TObjectAccess;
class TScreenAccess;

class TScene {
 public:
  virtual ~TScene() = default;

  // The display objects, for the object commands and built-in functions; none for a scene
  // without them.
  virtual TObjectAccess* Objects() { return nullptr; }
  // The two screens, for the Flip command; none for a scene without them.
  virtual TScreenAccess* Screens() { return nullptr; }

  virtual TTimerList& Events() = 0;
  // The name of a living object, or "" when there is none (destroyed, or never existed).
  virtual std::string ObjectName(ObjectId object) const = 0;

  // Frame steps, in frame order around the interpreter's run.
  virtual void ProcessInput() = 0;
  virtual void Update(std::int32_t frame_time) = 0;
  virtual void Draw() = 0;

  // The Reset command: every object goes, and the event queue is emptied.
  virtual void Reset() = 0;

  // The image cache's dither flag ("@CGDither", kept in the status data); a scene without
  // pictures keeps none.
  virtual bool Dither() const { return false; }
  virtual void SetDither(bool /*dither*/) {}

  // The sender of an event that scripted input queues as an object would (a testing aid): the
  // object of that name when one exists, else a stand-in that carries only the name until the
  // scene is reset. An event without a named sender still comes from a stand-in named "".
  virtual ObjectId StandInSender(std::string_view name) = 0;
};

// A scene without display objects. It keeps the event queue, and stand-ins for the objects
// that scripted input names as the senders of events (a testing aid): such a sender lives
// until the scene is reset.
class TEmptyScene final : public TScene {
 public:
  TTimerList& Events() override { return events_; }
  std::string ObjectName(ObjectId object) const override;
  void ProcessInput() override {}
  void Update(std::int32_t /*frame_time*/) override {}
  void Draw() override {}
  void Reset() override;

  ObjectId StandInSender(std::string_view name) override;

 private:
  TTimerList events_;
  std::vector<std::string> names_;  // id - first_id_ indexes this
  ObjectId first_id_ = 1;
};

}  // namespace kest
