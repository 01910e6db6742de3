// Flip: the screen transition. Scripts build the next picture on the back screen and Flip shows
// it, optionally keeping objects of the front screen visible, through a transition over the
// duration, then swaps the screens.
//
// Fields, in record order: wipe kind, duration (ms), reverse, keep mode, name lists, clear-old,
// the two wipe parameters, the mask picture (pages after 100), events held (pages after 106).
//
// Timing: the first execution is in the frame of Begin and does nothing; the second records the
// frame clock as the start; each later one advances the transition to the time since the start
// while it is below the transition's duration, and at the end swaps and moves on. So a flip of
// D ms on frames of F ms swaps in the frame ceil(D / F) + 1 after it began; a flip without a
// transition (kind 0 or above 38) swaps at its third execution, and one whose keep mode is set
// with a duration of 0 or none swaps at once.

#include <string>
#include <string_view>
#include <vector>

#include "core/arith.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "scenario/call_man.h"
#include "scenario/command.h"
#include "scenario/command_run.h"
#include "scenario/frame_clock.h"
#include "scenario/scene.h"
#include "scenario/screen_access.h"

namespace kest {

namespace {

enum FlipField : std::size_t {
  kWipe = 0,
  kDuration,
  kReverse,
  kKeep,
  kNames,
  kClearOld,
  kParam0,
  kParam1,
  kMask,
  kHold,
};

// The highest kind code with a transition; higher codes flip without one.
constexpr std::int32_t kLastWipeKind = 38;

class FlipRun final : public TCommandRun {
 public:
  bool YieldsFrame() const override { return yields; }
  bool HoldsEvents() const override { return events_held; }
  void SaveState(ByteWriter& out) const override {
    out.Bool(events_held);
    out.Bool(clear_old);
  }
  void LoadState(ByteReader& in, std::int32_t version) override {
    if (version >= 100) {
      events_held = in.Bool();
      clear_old = in.Bool();
    }
    restored = true;
  }
  // PCReset ends the script: the back screen is shown at once.
  void Abort(TCallMan& call_man) override {
    if (TScreenAccess* screens = call_man.Scene().Screens()) screens->EndFlip(clear_old);
  }

  bool events_held = false;
  bool clear_old = false;
  bool yields = false;     // the duration expression was greater than 0
  bool immediate = false;  // no transition: swap at the first execution
  bool restored = false;   // read from a save: its transition did not survive
  std::int32_t executions = 0;
  std::int32_t start = 0;
};

TScreenAccess& ScreensOf(ExecContext& context) {
  TScreenAccess* screens = context.call_man.Scene().Screens();
  if (!screens) RaiseNotAvailable(context.command);
  return *screens;
}

// A name list: one name per line, the lines split at CR LF, LF or CR (never inside a
// double-byte character); empty lines name nothing.
void SplitNames(const std::string& text, std::vector<std::string>& names) {
  std::string name;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharLength(text, i);
    const char c = text[i];
    if (length == 1 && (c == '\r' || c == '\n')) {
      if (!name.empty()) names.push_back(std::move(name));
      name.clear();
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      continue;
    }
    name.append(text, i, length);
    i += length;
  }
  if (!name.empty()) names.push_back(std::move(name));
}

std::unique_ptr<TCommandRun> BeginFlip(ExecContext& context) {
  TScreenAccess& screens = ScreensOf(context);
  auto run = std::make_unique<FlipRun>();
  std::int32_t kind = context.IntOr(kWipe, 0) & 0xFF;
  if (kind > kLastWipeKind) kind = 0;
  const TCustomParam* duration_result = context.Evaluate(kDuration);
  const std::int32_t duration_value = duration_result ? duration_result->AsInt() : 0;
  const std::int32_t duration = duration_result ? std::max(duration_value, 1) : 1;
  run->yields = duration_value > 0;

  const bool reverse = context.BoolOr(kReverse, false);
  run->events_held = context.BoolOr(kHold, false);
  run->clear_old = context.BoolOr(kClearOld, false);
  const TCustomParam* keep = context.Evaluate(kKeep);
  const std::optional<std::int32_t> keep_mode = keep ? std::optional(keep->AsInt()) : std::nullopt;
  std::vector<std::string> names;
  for (const auto& expression : context.command.Fields[kNames].list) {
    if (!expression) continue;
    if (const TCustomParam* result = context.Run(*expression)) SplitNames(result->AsStr(), names);
  }

  if (keep_mode) {
    run->immediate = duration_value <= 0;
    if (!run->immediate) {
      screens.DrawNow();
      screens.PutSnapshot();
    }
    screens.MoveToBack(*keep_mode, names);
  }
  if (!run->immediate) {
    WipeOptions options;
    if (const TCustomParam* p = context.Evaluate(kParam0)) options.param0 = p->AsInt();
    if (const TCustomParam* p = context.Evaluate(kParam1)) options.param1 = p->AsInt();
    if (const TCustomParam* p = context.Evaluate(kMask)) options.mask_name = p->AsStr();
    screens.StartFlip(kind, duration, reverse, options);
  }
  return run;
}

void EndFlip(ExecContext& context, const FlipRun& run) {
  ScreensOf(context).EndFlip(run.clear_old);
  context.Advance();
}

void ExecuteFlip(ExecContext& context) {
  auto& run = static_cast<FlipRun&>(*context.run);
  TScreenAccess& screens = ScreensOf(context);
  // A flip read back from a save has lost its transition: it finishes as an immediate one.
  if (run.immediate || (run.restored && !screens.FlipRunning())) {
    EndFlip(context, run);
    return;
  }
  ++run.executions;
  const std::int32_t now = context.call_man.Clock().FrameClock;
  if (run.executions == 1) return;
  if (run.executions == 2) {
    run.start = now;
    return;
  }
  const std::int32_t elapsed = wrap::Sub(now, run.start);
  if (elapsed < screens.FlipDuration()) {
    screens.AdvanceFlip(elapsed);
    return;
  }
  EndFlip(context, run);
}

}  // namespace

void AddScreenCommands(CommandBehaviors& table) {
  table[FindCommandSpec("Flip")->id] = {.begin = BeginFlip,
                                         .execute = ExecuteFlip,
                                         .new_run = [] { return std::unique_ptr<TCommandRun>(std::make_unique<FlipRun>()); },
                                         .yields = YieldRule::AskRun};
}

}  // namespace kest
