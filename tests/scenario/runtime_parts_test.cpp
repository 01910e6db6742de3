// The interpreter's parts on their own: call stack, page cache, event queue, handler texts,
// frame clock, trace lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "params/param_collection.h"
#include "params/param_values.h"
#include "scenario/call_man.h"
#include "scenario/call_stack.h"
#include "scenario/command_run.h"
#include "scenario/command_types.h"
#include "scenario/date_clock.h"
#include "scenario/frame_clock.h"
#include "scenario/messages.h"
#include "scenario/page_cache.h"
#include "scenario/timer_list.h"
#include "scenario/trace.h"

namespace kest {
namespace {

using ::testing::ElementsAre;

TEST(StackListTest, PushAndPopFollowTheStoreDepthAndPopHandsBackTheTopFrame) {
  TParamCollection params;
  TStackList stack(params);
  stack.Push().PageName = "a.ksb";
  TStack& second = stack.Push();
  second.PageName = "b.ksb";
  second.ProgramCounter = 7;
  second.ResultValue = std::make_unique<TParamInt>();
  second.ResultValue->SetInt(42);
  EXPECT_EQ(params.CurrentDepth(), 2);

  TStack& popped = stack.Pop();
  EXPECT_EQ(popped.PageName, "b.ksb");
  EXPECT_EQ(popped.ProgramCounter, 7);
  EXPECT_EQ(popped.ResultValue->AsInt(), 42);
  EXPECT_EQ(params.CurrentDepth(), 1);
  EXPECT_EQ(stack.Top()->PageName, "a.ksb");

  stack.Clear();
  EXPECT_EQ(params.CurrentDepth(), 0);
  try {
    stack.Pop();
    FAIL() << "an empty stack popped";
  } catch (const KestError& error) {
    EXPECT_EQ(error.what(), Message(ScenarioMessage::StackError));
  }
}

class PageCacheTest : public ::testing::Test {
 protected:
  PageCacheTest()
      : cache_([this](TPage& page, const std::string& name) {
          if (name == "broken.ksb") throw KestError("broken");
          ++loads_[name];
          page.Name = name;
        }) {}

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < cache_.Count(); ++i) names.push_back(cache_[i].Name);
    return names;
  }
  static std::string Page(int i) { return "p" + std::to_string(i) + ".ksb"; }

  std::map<std::string, int> loads_;
  TPageCache cache_;
};

TEST_F(PageCacheTest, TheEleventhPageDropsTheLeastRecentlyUsedOne) {
  for (int i = 1; i <= 10; ++i) cache_.Get(Page(i), TPageCache::Placement::MoveToFront, nullptr);
  cache_.Get(Page(1), TPageCache::Placement::MoveToFront, nullptr);  // p1 is now the most recent
  const auto current = cache_.Get(Page(5), TPageCache::Placement::MoveToFront, nullptr);
  cache_.Get(Page(11), TPageCache::Placement::MoveToFront, current.get());
  EXPECT_EQ(cache_.Count(), 10u);
  EXPECT_FALSE(cache_.Contains(Page(2)));  // the least recently used
  EXPECT_TRUE(cache_.Contains(Page(1)));
  EXPECT_EQ(loads_[Page(1)], 1);  // found in the cache, not read again
  EXPECT_EQ(Names().front(), Page(11));
}

TEST_F(PageCacheTest, TheCurrentPageIsNeverDroppedAndAppendingNeverTrims) {
  const auto current = cache_.Get(Page(0), TPageCache::Placement::MoveToFront, nullptr);
  for (int i = 1; i <= 10; ++i) cache_.Get(Page(i), TPageCache::Placement::MoveToFront, current.get());
  // The current page is last: trimming stops at it.
  EXPECT_EQ(cache_.Count(), 11u);
  EXPECT_EQ(Names().back(), Page(0));
  cache_.Get(Page(12), TPageCache::Placement::Append, current.get());
  EXPECT_EQ(cache_.Count(), 12u);
  EXPECT_EQ(Names().back(), Page(12));
}

TEST_F(PageCacheTest, ALoadErrorLeavesTheCacheAsItWas) {
  cache_.Get(Page(1), TPageCache::Placement::MoveToFront, nullptr);
  EXPECT_THROW(cache_.Get("broken.ksb", TPageCache::Placement::MoveToFront, nullptr), KestError);
  EXPECT_THAT(Names(), ElementsAre(Page(1)));
}

TEST_F(PageCacheTest, NamesAreMatchedExactly) {
  cache_.Get("a.ksb", TPageCache::Placement::MoveToFront, nullptr);
  cache_.Get("A.KSB", TPageCache::Placement::MoveToFront, nullptr);
  EXPECT_EQ(cache_.Count(), 2u);
}

TEST(TimerListTest, WaitingEntriesAreTakenFirstInFirstOutAndLevelsAreRemovedTogether) {
  TTimerList queue;
  queue.Add({.Handler = "a.ksb", .Sender = 1, .EventId = 36});
  queue.Add({.Handler = "b.ksb", .Sender = 2, .EventId = 36});
  queue.Add({.Handler = "c.ksb", .Sender = 1, .EventId = 113});
  TTimerData* first = queue.OldestWaiting();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Handler, "a.ksb");
  first->EventLevel = 1;
  EXPECT_EQ(queue.OldestWaiting()->Handler, "b.ksb");
  queue.OldestWaiting()->EventLevel = 2;
  EXPECT_EQ(queue.OldestWaiting()->Handler, "c.ksb");

  EXPECT_EQ(queue.Find(1, 36)->Handler, "a.ksb");  // running entries count too
  EXPECT_EQ(queue.Find(2, 113), nullptr);

  queue.RemoveLevel(1);
  EXPECT_EQ(queue.Count(), 2u);
  queue.RemoveWaitingOf(1);  // c goes, b runs and stays
  ASSERT_EQ(queue.Count(), 1u);
  EXPECT_EQ(queue[0].Handler, "b.ksb");
  queue.Add({.Handler = "d.ksb"});
  queue.RemoveRunning();
  ASSERT_EQ(queue.Count(), 1u);
  EXPECT_EQ(queue[0].Handler, "d.ksb");
  queue.Add({.Handler = "e.ksb", .EventLevel = 3});
  queue.Add({.Handler = "f.ksb", .EventLevel = 5});
  queue.RemoveLevels(1, 4);
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_EQ(queue.WaitingCount(), 1u);
}

TEST(SplitHandlerTest, SplitsAtTheLastColonOfTheNameAndEndsThePageInKsb) {
  struct Case {
    std::string handler, page, label;
    bool has_label;
  };
  const std::vector<Case> cases = {
      {"menu.ksb", "menu.ksb", "", false},
      {"menu.ksb:open", "menu.ksb", "open", true},
      {"menu.kss:open", "menu.ksb", "open", true},     // whatever the extension said
      {"C:\\game\\menu.ksb", "C:\\game\\menu.ksb", "", false},  // a drive's colon is followed by "\"
      {"a:b.ksb", "a:b.ksb", "", false},                // followed by "."
      {"sub\\a.ksb:x", "sub\\a.ksb", "x", true},
      {"menu.ksb:", "menu.ksb", "", true},
      {"\x83\x5c.ksb:l", "\x83\x5c.ksb", "l", true},    // a trail byte "\" is not a separator
      {"\x81\x46" "a.ksb", "\x81\x46" "a.ksb", "", false},  // a full-width colon is no colon
  };
  for (const Case& c : cases) {
    const HandlerTarget target = SplitHandler(c.handler);
    EXPECT_EQ(target.page, c.page) << c.handler;
    EXPECT_EQ(target.label, c.label) << c.handler;
    EXPECT_EQ(target.has_label, c.has_label) << c.handler;
  }
}

TEST(FrameClockTest, CountsFramesUpToThreeSecondsAndPacesWithSleeps) {
  TFrameClock clock;
  clock.Restart(1000);
  EXPECT_TRUE(clock.BeginFrame(4000));  // 3000 ms counts
  EXPECT_EQ(clock.FrameClock, 3000);
  EXPECT_EQ(clock.LastFrameTime, 3000);
  EXPECT_FALSE(clock.BeginFrame(7001));  // 3001 ms does not
  EXPECT_EQ(clock.FrameClock, 3000);
  EXPECT_TRUE(clock.BeginFrame(7017));  // measured from the dropped frame
  EXPECT_EQ(clock.FrameClock, 3016);
  clock.Restart(0xFFFFFFF0u);
  EXPECT_TRUE(clock.BeginFrame(0x10u));  // the tick wraps
  EXPECT_EQ(clock.LastFrameTime, 0x20);
  EXPECT_EQ(TFrameClock::SleepAfterFrame(100, 120), 2u);
  EXPECT_EQ(TFrameClock::SleepAfterFrame(100, 105), 11u);
  EXPECT_EQ(TFrameClock::SleepAfterFrame(100, 115), 2u);
  EXPECT_EQ(TFrameClock::SleepAfterFrame(0xFFFFFFFEu, 3), 11u);  // the work spans the tick's wrap
  EXPECT_EQ(TFrameClock::SleepAfterFrame(100, 99), 2u);          // a tick that went back never underflows
}

TEST(FrameClockTest, TheSumWrapsAsAnUnsignedCountReadAsInt32) {
  TFrameClock clock;
  clock.FrameClock = INT32_MAX - 5;
  clock.Restart(0);
  EXPECT_TRUE(clock.BeginFrame(16));
  EXPECT_EQ(clock.FrameClock, INT32_MIN + 10);
  // Time between two readings is their difference taken without sign, across the wrap.
  EXPECT_EQ(static_cast<std::uint32_t>(clock.FrameClock) - static_cast<std::uint32_t>(INT32_MAX - 5), 16u);
}

TEST(DateClockTest, AFixedStartMovesWithTheFrameClockOnlyAndIsSampledOncePerValue) {
  const std::optional<std::int64_t> start = ParseDateTime("2024-02-28T23:59:58");
  ASSERT_TRUE(start);
  TDateClock dates(*start);
  const CivilTime first = dates.Now(0);
  EXPECT_EQ(first.year, 2024);
  EXPECT_EQ(first.month, 2);
  EXPECT_EQ(first.day, 28);
  EXPECT_EQ(first.week, 4);  // a Wednesday; 1 is Sunday
  EXPECT_EQ(first.hour * 3600 + first.minute * 60 + first.second, 86398);
  const CivilTime later = dates.Now(2500);  // 2.5 s later: past midnight into the leap day
  EXPECT_EQ(later.day, 29);
  EXPECT_EQ(later.week, 5);
  EXPECT_EQ(later.second, 0);
  for (const char* bad : {"2023-02-29T00:00:00", "2024-13-01T00:00:00", "2024-01-01T24:00:00", "2024-01-01",
                          "2024-01-01T00:00:00Z"})
    EXPECT_FALSE(ParseDateTime(bad)) << bad;
}

TEST(TraceTest, LinesHaveThePlayersFormat) {
  EXPECT_EQ(FormatTraceLine(0x1234, "start.ksb", 12), "00001234 : start.ksb(12)");
  EXPECT_EQ(FormatTraceLine(-1, "a%sb.ksb", 3, TraceKind::Event), "ffffffff : <Event>a%sb.ksb(3)");
  EXPECT_EQ(FormatTraceLine(16, "gone.ksb:x", 0, TraceKind::Dropped), "00000010 : <Dropped>gone.ksb:x(0)");
  EXPECT_EQ(FormatTraceNote(32, "LT_IMAGES: drawing is not available yet"),
            "00000020 : <Note>LT_IMAGES: drawing is not available yet");
}

}  // namespace
}  // namespace kest

namespace kest {
namespace {

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The flip's state block: events held and clear-old after "kest100"; a block of version 0 (no
// "kest" and digits) reads neither field.
TEST(CommandStateTest, FlipStateRoundTripsAndVersionZeroReadsNoField) {
  const CommandBehavior& flip = BehaviorOf(FindCommandSpec("Flip")->id);
  struct Case {
    Bytes block;
    Bytes saved;
  };
  const Case cases[] = {
      {BytesOf(std::string("kest100\x01\x00", 9)), BytesOf(std::string("kest100\x01\x00", 9))},
      {BytesOf(std::string("kest100\x00\x01", 9)), BytesOf(std::string("kest100\x00\x01", 9))},
      {BytesOf(std::string("kest099\x01\x01", 9)), BytesOf(std::string("kest100\x00\x00", 9))},  // older: no fields
      {BytesOf(std::string("\x01\x01", 2)), BytesOf(std::string("kest100\x00\x00", 9))},          // no signature
      {BytesOf(std::string("kestabc\x01\x01", 9)), BytesOf(std::string("kest100\x00\x00", 9))},   // no digits
  };
  for (const Case& c : cases) {
    const std::unique_ptr<TCommandRun> run = LoadCommandState(flip, c.block);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(SaveCommandState(*run), c.saved);
    EXPECT_EQ(run->HoldsEvents(), c.saved[7] != 0);
  }
  // Fields cut short are a format error.
  EXPECT_THROW(LoadCommandState(flip, BytesOf("kest100\x01")), FormatError);
}

}  // namespace
}  // namespace kest
