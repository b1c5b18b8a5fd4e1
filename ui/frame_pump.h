// One pump's share of the frame pacing (ui/frame_gate.h): a pump that does not paint handles
// input, posted and sent messages and timers, and leaves the painting ones and the layer's own
// (ui/messages.h) for a later loop.
#pragma once

#include <windows.h>

namespace ui {

// For its lifetime, one pump of the application: whether it paints is asked of the pump gate at
// its start. One that does not paint takes no WM_PAINT from the queue (the windows stay invalid
// until a loop that paints) and leaves the layer's messages, among them the lists' resumes of
// their redraw, in the queue, so whichever loop runs next (a pump that paints, the main loop, a
// modal dialog's loop) draws what they hold.
class FramePump {
 public:
  FramePump();

  // Takes the next message this pump handles from the queue; false when none waits. The pump
  // goes back to its work at once: it does not yield the processor when the queue is empty.
  bool Next(MSG& message) const;

 private:
  bool paints_;
};

}  // namespace ui
