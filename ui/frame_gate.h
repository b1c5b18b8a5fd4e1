// The pace at which the pumps of a long operation paint. A pump may come a thousand times a
// second (once per folder a listing enters), while the display shows a new picture about every
// 16 ms: a pump paints (held list rows, scroll bars, invalidated controls) only when a frame has
// passed since the last pump that painted; the others handle their input and leave the painting
// waiting, for the next pump that paints or the next loop of any other kind. The header needs no
// Win32; on Windows the system's clock is the performance counter.
#pragma once

#include <cstdint>

namespace ui {

// One display frame, in microseconds (a 60 Hz display).
inline constexpr std::uint64_t kFrameMicroseconds = 16667;

// A monotonic clock in microseconds.
using FrameClock = std::uint64_t (*)();

// The system's monotonic clock, in microseconds: on Windows the performance counter's time, on
// other systems steady_clock's. Setting the system time moves neither.
std::uint64_t SystemMicroseconds();

class FrameGate {
 public:
  explicit FrameGate(FrameClock clock) : clock_(clock) {}

  // Replaces the clock (a test puts one of its own); the gate starts afresh, so the next pump
  // paints.
  void SetClock(FrameClock clock);

  // A pump begins: true when it paints, that is when no pump has painted yet or a frame has
  // passed since the last one that did (which this one then becomes).
  bool PumpPaints();

 private:
  FrameClock clock_;
  bool painted_ = false;
  std::uint64_t last_paint_ = 0;
};

// The gate of the program's pumps. Its clock is the system's, unless a test sets another.
FrameGate& PumpFrames();

// The clock that times costly drawings (DrawPace below): the system's, unless a test sets
// another (nullptr sets the system's back).
std::uint64_t DrawNow();
void SetDrawClock(FrameClock clock);

// The pace of a drawing that may cost more than its share of a frame (a list's scroll bar costs
// a few milliseconds under some window systems): after a drawing that took d, the next is due
// kDrawRest * d later, so that such drawings take at most a tenth of the time; never later than
// kLongestDrawWait. A cheap drawing is due again at once, and then the frame gate alone paces it.
class DrawPace {
 public:
  static constexpr std::uint64_t kDrawRest = 9;
  static constexpr std::uint64_t kLongestDrawWait = 250000;

  // True when a drawing may start at now.
  bool Due(std::uint64_t now) const;
  // A drawing ran from start to end.
  void Drawn(std::uint64_t start, std::uint64_t end);

 private:
  std::uint64_t end_ = 0;
  std::uint64_t wait_ = 0;
};

}  // namespace ui
