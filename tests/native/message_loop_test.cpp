// The message loop's bookkeeping: operations in progress, nested pumps, and which operations a
// refill of the file list goes under.
#include "ui/message_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <vector>

namespace ui {
namespace {

TEST(MessageLoop, PumpsNestAndUnwind) {
  EXPECT_EQ(PumpDepth(), 0);
  {
    PumpScope outer;
    {
      PumpScope inner;
      EXPECT_EQ(PumpDepth(), 2);
    }
    EXPECT_EQ(PumpDepth(), 1);
  }
  EXPECT_EQ(PumpDepth(), 0);
}

TEST(MessageLoop, AnOperationRunsFromItsSpansStartToItsEnd) {
  EXPECT_FALSE(OperationRunning(Operation::Run));
  {
    OperationSpan run(Operation::Run);
    EXPECT_TRUE(OperationRunning(Operation::Run));
    EXPECT_FALSE(OperationRunning(Operation::Listing));
    {
      PumpScope pump;
      OperationSpan listing(Operation::Listing);  // a listing inside the run's pump
      EXPECT_TRUE(OperationRunning(Operation::Listing));
      EXPECT_TRUE(OperationRunning(Operation::Run));
    }
    EXPECT_FALSE(OperationRunning(Operation::Listing));
  }
  EXPECT_FALSE(OperationRunning(Operation::Run));
}

// Where a refill happens, relative to two nested spans: only spans waiting in a pump go under.
TEST(MessageLoop, ARefillGoesUnderTheSpansWaitingInAPump) {
  struct Case {
    const char* where;
    int pumps_before_inner;  // pumps between the outer span and the inner one
    int pumps_after_inner;   // pumps between the inner span and the refill
    bool outer_refilled, inner_refilled;
  } cases[] = {
      {"by the spans' own code", 0, 0, false, false},
      {"in a pump of the inner span", 0, 1, true, true},
      {"beside the inner span, in the outer's pump", 1, 0, true, false},
      {"in a pump nested in the inner's pump", 1, 2, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    OperationSpan outer(Operation::Run);
    bool inner_refilled = false;
    std::vector<std::unique_ptr<PumpScope>> pumps;
    for (int i = 0; i < c.pumps_before_inner; ++i) pumps.push_back(std::make_unique<PumpScope>());
    {
      OperationSpan inner(Operation::Listing);
      std::vector<std::unique_ptr<PumpScope>> inner_pumps;
      for (int i = 0; i < c.pumps_after_inner; ++i)
        inner_pumps.push_back(std::make_unique<PumpScope>());
      FileListRefilled();
      inner_refilled = inner.ListRefilled();
      while (!inner_pumps.empty()) inner_pumps.pop_back();
    }
    while (!pumps.empty()) pumps.pop_back();
    EXPECT_EQ(outer.ListRefilled(), c.outer_refilled);
    EXPECT_EQ(inner_refilled, c.inner_refilled);
  }
}

// A frame left without unwinding (a fault the system swallows between our frames) never runs
// its scopes' destructors: its spans and pumps stay behind until the main loop clears them.
// The frame's memory is gone afterwards, so nothing may point into it.
template <typename Scope, typename... Args>
void Abandon(Args... args) {
  auto frame = std::make_unique<unsigned char[]>(sizeof(Scope));
  new (frame.get()) Scope(args...);  // never destroyed: the frame just goes
}

TEST(MessageLoop, TheMainLoopClearsWhatAnAbandonedFrameLeft) {
  struct Case {
    const char* left;
    void (*abandon)();
  } cases[] = {
      {"a listing", [] { Abandon<OperationSpan>(Operation::Listing); }},
      {"a run", [] { Abandon<OperationSpan>(Operation::Run); }},
      {"a pump", [] { Abandon<PumpScope>(); }},
      {"a run waiting in a pump",
       [] {
         Abandon<OperationSpan>(Operation::Run);
         Abandon<PumpScope>();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    c.abandon();
    // A refill and the guard's questions meanwhile touch nothing of the frame that went.
    FileListRefilled();
    OperationRunning(Operation::Listing);
    EXPECT_NE(ResetAtMainLoop(), "");
    EXPECT_FALSE(OperationRunning(Operation::Listing));
    EXPECT_FALSE(OperationRunning(Operation::Run));
    EXPECT_EQ(PumpDepth(), 0);
    EXPECT_EQ(ResetAtMainLoop(), "") << "cleared once";
    // Later operations are kept as before.
    OperationSpan later(Operation::Run);
    EXPECT_TRUE(OperationRunning(Operation::Run));
    EXPECT_FALSE(later.ListRefilled());
  }
}

TEST(MessageLoop, ASpanWhoseRecordWasClearedCountsAsRefilledUnder) {
  OperationSpan listing(Operation::Listing);
  ResetAtMainLoop();
  EXPECT_TRUE(listing.ListRefilled());
}

}  // namespace
}  // namespace ui
