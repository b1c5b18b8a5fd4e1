// The layer's clocks, left to the system, read the performance counter, which every Windows the
// program runs on has and which setting the system time does not move: each reading lies
// between two readings of the counter taken around it. A clock of the wall, or one counted from
// another start, lies far outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "ui/frame_gate.h"

namespace {

// The performance counter's time in microseconds, counted in floating point from its own
// frequency.
long double CounterMicroseconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<long double>(counter.QuadPart) * 1000000.0L /
         static_cast<long double>(frequency.QuadPart);
}

TEST(SystemClock, ReadsThePerformanceCounterInMicroseconds) {
  ui::SetDrawClock(nullptr);  // the system's
  struct Case {
    const char* what;
    ui::FrameClock clock;
  } cases[] = {
      {"the system's clock", ui::SystemMicroseconds},
      {"the drawing clock", ui::DrawNow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const long double before = CounterMicroseconds();
    const auto reading = static_cast<long double>(c.clock());
    const long double after = CounterMicroseconds();
    // A microsecond either side for the rounding of the two conversions.
    EXPECT_GE(reading, before - 1) << "before " << static_cast<double>(before);
    EXPECT_LE(reading, after + 1) << "after " << static_cast<double>(after);
  }
}

}  // namespace
