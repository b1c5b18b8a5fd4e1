#include "ui/timer.h"

#include "common/errors.h"

namespace ui {

// The ticks arrive as WM_TIMER at a message-only window, through the components' one dispatch
// point, so an error raised by a tick reaches the default error display and the timer goes on.
class TTimer::Window : public TWinControl {
 public:
  explicit Window(TTimer& owner) : TWinControl(nullptr, {}, {}), owner_(owner) {
    RegisterOwnClass("TTimerWindow", 0, nullptr);
    CreateHandle("TTimerWindow", 0, 0, "", HWND_MESSAGE);
  }

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_TIMER) {
      if (owner_.OnTimer) owner_.OnTimer(&owner_);
      return 0;
    }
    return TWinControl::WndProc(message, wparam, lparam);
  }

 private:
  TTimer& owner_;
};

TTimer::TTimer(unsigned interval_ms) : window_(new Window(*this)), interval_(interval_ms) {}

TTimer::~TTimer() {
  if (enabled_) KillTimer(window_->Handle(), 1);
}

HWND TTimer::Handle() const { return window_->Handle(); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Update();
}

void TTimer::Update() {
  KillTimer(window_->Handle(), 1);
  if (enabled_ && interval_ != 0 && OnTimer) {
    if (SetTimer(window_->Handle(), 1, interval_, nullptr) == 0) {
      enabled_ = false;
      throw vorlund::EOutOfResources(vorlund::kNoTimersError);
    }
  }
}

}  // namespace ui
