#include "ui/frame_gate.h"

#include <algorithm>
#include <chrono>

namespace ui {

std::uint64_t SteadyMicroseconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void FrameGate::SetClock(FrameClock clock) {
  clock_ = clock ? clock : SteadyMicroseconds;
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
  static FrameGate gate(SteadyMicroseconds);
  return gate;
}

FrameClock& DrawClock() {
  static FrameClock clock = SteadyMicroseconds;
  return clock;
}

bool DrawPace::Due(std::uint64_t now) const { return now - end_ >= wait_; }

void DrawPace::Drawn(std::uint64_t start, std::uint64_t end) {
  end_ = end;
  wait_ = std::min((end - start) * kDrawRest, kLongestDrawWait);
}

}  // namespace ui
