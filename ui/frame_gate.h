// The pace at which the pumps of a long operation paint. A pump may come a thousand times a
// second (once per folder a listing enters), while the display shows a new picture about every
// 16 ms: a pump paints (held list rows, scroll bars, invalidated controls) only when a frame has
// passed since the last pump that painted; the others handle their input and leave the painting
// waiting, for the next pump that paints or the next loop of any other kind. Needs no Win32.
#pragma once

#include <cstdint>

namespace ui {

// One display frame, in microseconds (a 60 Hz display).
inline constexpr std::uint64_t kFrameMicroseconds = 16667;

// A monotonic clock in microseconds.
using FrameClock = std::uint64_t (*)();

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

}  // namespace ui
