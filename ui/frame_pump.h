// One pump's share of the frame pacing (ui/frame_gate.h): a pump that does not paint handles
// every message but the painting ones, which wait for a later loop.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

// For its lifetime, one pump of the application: whether it paints is asked of the pump gate at
// its start. One that does not paint takes no WM_PAINT from the queue (the windows stay
// invalid until a loop that paints) and keeps the lists' resumes of their redraw, posting them
// again when it ends, so whichever loop runs next (a pump that paints, the main loop, a modal
// dialog's loop) draws what they hold.
class FramePump {
 public:
  FramePump();
  ~FramePump();
  FramePump(const FramePump&) = delete;
  FramePump& operator=(const FramePump&) = delete;

  bool Paints() const { return paints_; }
  // The flags for the pump's PeekMessageA, PM_REMOVE included.
  UINT PeekFlags() const;
  // True when this pump keeps the message for later instead of dispatching it.
  bool Keeps(const MSG& message);

 private:
  bool paints_;
  std::vector<HWND> kept_;
};

}  // namespace ui
