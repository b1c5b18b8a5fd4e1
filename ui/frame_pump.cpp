#include "ui/frame_pump.h"

#include "ui/frame_gate.h"
#include "ui/messages.h"

namespace ui {

FramePump::FramePump() : paints_(PumpFrames().PumpPaints()) {}

bool FramePump::Next(MSG& message) const {
  if (paints_) return PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != FALSE;
  // Everything but QS_PAINT (input, posted messages and timers, sent messages), in one call to
  // the window server: the range stops below the layer's own messages, so the lists' resumes of
  // their redraw stay in the queue for the next loop that paints.
  constexpr UINT kFlags =
      PM_REMOVE | PM_NOYIELD | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
  return PeekMessageA(&message, nullptr, 0, kFirstLayerMessage - 1, kFlags) != FALSE;
}

}  // namespace ui
