#include "ui/frame_gate.h"

#include <algorithm>
#include <chrono>

namespace ui {
namespace {

std::uint64_t SteadyMicroseconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

FrameClock draw_clock = SteadyMicroseconds;

}  // namespace

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

std::uint64_t DrawNow() { return draw_clock(); }

void SetDrawClock(FrameClock clock) { draw_clock = clock ? clock : SteadyMicroseconds; }

bool DrawPace::Due(std::uint64_t now) const { return now - end_ >= wait_; }

void DrawPace::Drawn(std::uint64_t start, std::uint64_t end) {
  end_ = end;
  wait_ = std::min((end - start) * kDrawRest, kLongestDrawWait);
}

}  // namespace ui
