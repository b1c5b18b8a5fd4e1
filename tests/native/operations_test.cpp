// The listing-and-run rule (operations in progress, and which of them a new listing
// supersedes) and the count of nested pumps it reads.
#include "app/operations.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <vector>

#include "ui/pump_count.h"

namespace ui {
namespace {

// The pumps of this test, which stand for the application's.
PumpCount pumps;

}  // namespace

int PumpDepth() { return pumps.Depth(); }

}  // namespace ui

namespace vorlund {
namespace {

using ui::PumpDepth;

// One pump of the test's for its lifetime.
struct PumpScope : ui::PumpCount::Scope {
  PumpScope() : Scope(&ui::pumps) {}
};

// What the main loop clears, as the application object and the form do it.
std::string ResetAtMainLoop() {
  std::string left = ClearOperations();
  if (const int pumps = ui::pumps.Reset()) left += std::to_string(pumps) + " pump(s)";
  return left;
}

TEST(Operations, PumpsNestAndUnwind) {
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

TEST(Operations, AnOperationRunsFromItsSpansStartToItsEnd) {
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

// Where a new listing starts, relative to two nested spans: only spans waiting in a pump are
// superseded.
TEST(Operations, ANewListingSupersedesTheSpansWaitingInAPump) {
  struct Case {
    const char* where;
    int pumps_before_inner;  // pumps between the outer span and the inner one
    int pumps_after_inner;   // pumps between the inner span and the new listing
    bool outer_superseded, inner_superseded;
  } cases[] = {
      {"by the spans' own code", 0, 0, false, false},
      {"in a pump of the inner span", 0, 1, true, true},
      {"beside the inner span, in the outer's pump", 1, 0, true, false},
      {"in a pump nested in the inner's pump", 1, 2, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    OperationSpan outer(Operation::Run);
    bool inner_superseded = false;
    std::vector<std::unique_ptr<PumpScope>> pumps;
    for (int i = 0; i < c.pumps_before_inner; ++i) pumps.push_back(std::make_unique<PumpScope>());
    {
      OperationSpan inner(Operation::Listing);
      std::vector<std::unique_ptr<PumpScope>> inner_pumps;
      for (int i = 0; i < c.pumps_after_inner; ++i)
        inner_pumps.push_back(std::make_unique<PumpScope>());
      StartListing();
      inner_superseded = inner.Superseded();
      while (!inner_pumps.empty()) inner_pumps.pop_back();
    }
    while (!pumps.empty()) pumps.pop_back();
    EXPECT_EQ(outer.Superseded(), c.outer_superseded);
    EXPECT_EQ(inner_superseded, c.inner_superseded);
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

TEST(Operations, TheMainLoopClearsWhatAnAbandonedFrameLeft) {
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
    // A new listing and the guard's questions meanwhile touch nothing of the frame that went.
    StartListing();
    OperationRunning(Operation::Listing);
    EXPECT_NE(ResetAtMainLoop(), "");
    EXPECT_FALSE(OperationRunning(Operation::Listing));
    EXPECT_FALSE(OperationRunning(Operation::Run));
    EXPECT_EQ(PumpDepth(), 0);
    EXPECT_EQ(ResetAtMainLoop(), "") << "cleared once";
    // Later operations are kept as before.
    OperationSpan later(Operation::Run);
    EXPECT_TRUE(OperationRunning(Operation::Run));
    EXPECT_FALSE(later.Superseded());
  }
}

TEST(Operations, ASpanWhoseRecordWasClearedCountsAsSuperseded) {
  OperationSpan listing(Operation::Listing);
  ResetAtMainLoop();
  EXPECT_TRUE(listing.Superseded());
}

}  // namespace
}  // namespace vorlund
