#pragma once
// An interpreter over pages written in title source, with a host that serves them from
// memory, a trace kept in memory and a virtual frame clock.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/cp932.h"
#include "core/errors.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "scenario/call_man.h"
#include "scenario/frame_clock.h"
#include "scenario/interpreter_state.h"
#include "scenario/page.h"
#include "scenario/scene.h"
#include "scenario/script_host.h"
#include "scenario/trace.h"
#include "source/page_source.h"

namespace kest::testing {

class MemoryHost : public TScriptHost {
 public:
  // Pages by name (CP932), compiled from UTF-8 source with their page:label targets resolved.
  void SetPages(const std::map<std::string, std::string>& sources) {
    std::map<std::string, source::CompiledPage> compiled;
    for (const auto& [name, text] : sources) compiled[name] = source::CompilePageSource(text, name, name);
    source::ResolveTargets(compiled);
    for (auto& [name, page] : compiled) files[name] = page.page->Write();
  }

  void LoadPage(TPage& page, const std::string& name) override {
    if (unreadable.count(name)) throw KestError(name + ": cannot be read");
    const auto found = files.find(name);
    if (found == files.end()) throw KestError(name + ": no such file");
    ++loads[name];
    page.Parse(found->second, name);
  }
  bool EnsureFile(std::string_view name) override { return files.count(std::string(name)) != 0; }
  bool IsOnSomeDisk(std::string_view name) override { return on_disk.count(std::string(name)) != 0; }
  bool QuitRequested() const override { return quit; }
  void RequestQuit() override { quit = true; }
  void RequestSave(std::int32_t slot, std::string page, std::int32_t index, std::string caption) override {
    saves.push_back(std::to_string(slot) + " " + page + " " + std::to_string(index) + " " + caption);
  }
  void RequestLoad(std::int32_t slot) override { load_slots.push_back(slot); }

  std::map<std::string, Bytes> files;
  std::set<std::string> unreadable, on_disk;
  std::map<std::string, int> loads;
  bool quit = false;
  std::vector<std::string> saves;
  std::vector<std::int32_t> load_slots;
};

class MemoryTrace : public TTraceLog {
 public:
  void Write(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// The interpreter over a scene of type Scene, made from `scene_args`. A frame runs the steps
// the player runs: the scene's input, the interpreter, the scene's update and drawing.
template <typename Scene>
class InterpreterOn : public ::testing::Test {
 protected:
  template <typename... SceneArgs>
  explicit InterpreterOn(SceneArgs&&... scene_args)
      : scene_(std::forward<SceneArgs>(scene_args)...), call_man_({params_, functions_, scene_, clock_, host_}) {
    params_.SetSystemState(std::make_unique<TInterpreterState>(call_man_, clock_));
    call_man_.SetTrace(&trace_);
    call_man_.SetErrorSink([this](const ScriptError& error) { errors_.push_back(error.message); });
  }
  ~InterpreterOn() override { params_.SetSystemState(std::make_unique<TSystemState>()); }

  // Compiles the pages and starts the main script on the start page.
  void Load(const std::map<std::string, std::string>& pages, const std::string& start = "start.ksb") {
    host_.SetPages(pages);
    call_man_.Start(start);
  }
  // One frame of `frame_ms` on the virtual clock.
  void Frame(std::uint32_t frame_ms = 16) {
    now_ += frame_ms;
    ASSERT_TRUE(clock_.BeginFrame(now_));
    scene_.ProcessInput();
    call_man_.Run();
    scene_.Update(static_cast<std::int32_t>(frame_ms));
    scene_.Draw();
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  void Queue(const std::string& handler, const std::string& sender = "button",
             std::vector<std::string> args = {}) {
    scene_.Events().Add({.Handler = handler, .Sender = scene_.StandInSender(sender), .EventId = 36,
                         .Args = std::move(args)});
  }
  std::int32_t Int(const std::string& name) const {
    const TParamCollectionItem* item = params_.Find(name);
    if (!item) throw std::runtime_error(name + " does not exist");
    return item->Value().AsInt();
  }
  std::string Str(const std::string& name) const { return params_.Find(name)->Value().AsStr(); }
  bool Exists(const std::string& name) const { return params_.Find(name) != nullptr; }
  // The trace without time stamps.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const std::string& line : trace_.lines) lines.push_back(line.substr(11));
    return lines;
  }

  TParamCollection params_;
  TSysFuncMan functions_;
  Scene scene_;
  TFrameClock clock_;
  MemoryHost host_;
  MemoryTrace trace_;
  std::vector<std::string> errors_;
  TCallMan call_man_;
  std::uint32_t now_ = 0;
};

class InterpreterTest : public InterpreterOn<TEmptyScene> {};

}  // namespace kest::testing
