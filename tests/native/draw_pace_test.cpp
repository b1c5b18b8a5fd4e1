// A drawing dearer than its share of a frame waits nine times its cost before the next, and
// never longer than the longest wait; a cheap one is due again at once.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/frame_gate.h"

namespace {

TEST(DrawPace, TheNextDrawingIsDueNineTimesTheLastOnesCostAfterItEnded) {
  constexpr std::uint64_t kMs = 1000;
  // clang-format off
  struct Case {
    const char* what;
    std::uint64_t start, end;  // the last drawing
    std::uint64_t now;         // when the next is asked for
    bool due;
  } cases[] = {
      {"a drawing that cost nothing",        100 * kMs, 100 * kMs, 100 * kMs, true},
      {"5 ms drawn, 44 ms since its end",    100 * kMs, 105 * kMs, 149 * kMs, false},
      {"5 ms drawn, 45 ms since its end",    100 * kMs, 105 * kMs, 150 * kMs, true},
      {"1 ms drawn, 8 ms since its end",     100 * kMs, 101 * kMs, 109 * kMs, false},
      {"1 ms drawn, 9 ms since its end",     100 * kMs, 101 * kMs, 110 * kMs, true},
      {"100 ms drawn, the wait is capped",   100 * kMs, 200 * kMs, 450 * kMs, true},
      {"100 ms drawn, just under the cap",   100 * kMs, 200 * kMs, 449 * kMs, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui::DrawPace pace;
    EXPECT_TRUE(pace.Due(c.start)) << "the first drawing is due at once";
    pace.Drawn(c.start, c.end);
    EXPECT_EQ(pace.Due(c.now), c.due);
  }
}

}  // namespace
