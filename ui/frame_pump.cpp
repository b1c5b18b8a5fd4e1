#include "ui/frame_pump.h"

#include <algorithm>

#include "ui/frame_gate.h"
#include "ui/messages.h"

namespace ui {

FramePump::FramePump() : paints_(PumpFrames().PumpPaints()) {}

FramePump::~FramePump() {
  for (HWND list : kept_) PostMessageA(list, kResumeRedraw, 0, 0);
}

UINT FramePump::PeekFlags() const {
  // Everything but QS_PAINT: input, posted messages and timers, sent messages.
  return paints_ ? PM_REMOVE : PM_REMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
}

bool FramePump::Keeps(const MSG& message) {
  if (paints_ || message.message != kResumeRedraw || !message.hwnd) return false;
  if (std::find(kept_.begin(), kept_.end(), message.hwnd) == kept_.end())
    kept_.push_back(message.hwnd);
  return true;
}

}  // namespace ui
