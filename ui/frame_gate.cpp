#include "ui/frame_gate.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

namespace ui {

std::uint64_t SystemMicroseconds() {
#ifdef _WIN32
  // The performance counter, which every Windows the program runs on has; from XP on, reading
  // it and its frequency never fails. The runtime's steady_clock is no substitute: linked
  // without the POSIX-threads runtime it reads the wall clock, which jumps when the system time
  // is set.
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  const auto per_second = static_cast<std::uint64_t>(frequency.QuadPart);
  const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
  return ticks / per_second * 1000000 + ticks % per_second * 1000000 / per_second;
#else
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
#endif
}

namespace {

FrameClock draw_clock = SystemMicroseconds;

}  // namespace

void FrameGate::SetClock(FrameClock clock) {
  clock_ = clock ? clock : SystemMicroseconds;
  painted_ = false;
}

bool FrameGate::PumpPaints() {
  const std::uint64_t now = clock_();
  if (painted_ && now - last_paint_ < kFrameMicroseconds) return false;
  painted_ = true;
  last_paint_ = now;
  return true;
}

FrameGate& PumpFrames() {
  static FrameGate gate(SystemMicroseconds);
  return gate;
}

std::uint64_t DrawNow() { return draw_clock(); }

void SetDrawClock(FrameClock clock) { draw_clock = clock ? clock : SystemMicroseconds; }

bool DrawPace::Due(std::uint64_t now) const { return now - end_ >= wait_; }

void DrawPace::Drawn(std::uint64_t start, std::uint64_t end) {
  end_ = end;
  wait_ = std::min((end - start) * kDrawRest, kLongestDrawWait);
}

}  // namespace ui
