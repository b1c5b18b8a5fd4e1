// A timer that raises OnTimer through the message loop, disabled until enabled.
#pragma once

#include <memory>

#include "ui/control.h"

namespace ui {

class TTimer : public TObject {
 public:
  explicit TTimer(unsigned interval_ms);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  // Starting raises "Not enough timers available" when the system has no timer left.
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  TNotifyEvent OnTimer;

  // The window that receives the ticks (a message-only window).
  HWND Handle() const;

 private:
  class Window;
  void Update();
  std::unique_ptr<Window> window_;
  unsigned interval_;
  bool enabled_ = false;
};

}  // namespace ui
