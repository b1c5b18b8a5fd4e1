#include "ui/frame_pump.h"

#include "ui/frame_gate.h"
#include "ui/messages.h"

namespace ui {

FramePump::FramePump() : paints_(PumpFrames().PumpPaints()) {}

bool FramePump::Next(MSG& message) const {
  if (paints_) return PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != FALSE;
  // Everything but QS_PAINT: input, posted messages and timers, sent messages; the resumes of
  // the lists' redraw are passed over, in two ranges around them, rather than taken and posted
  // again (each is a call to the window server).
  constexpr UINT kFlags =
      PM_REMOVE | PM_NOYIELD | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
  return PeekMessageA(&message, nullptr, 0, kResumeRedraw - 1, kFlags) ||
         PeekMessageA(&message, nullptr, kResumeRedraw + 1, 0xFFFFFFFF, kFlags);
}

}  // namespace ui
