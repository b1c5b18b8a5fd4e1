// Builds the real main window in a test program and drives it with real window messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "tests/support/import_slot.h"
#include "ui/application.h"
#include "ui/frame_gate.h"

// The import slot of SetTimer in the test program, so that a test can make the system refuse
// timers (the system here never runs out of them).
extern "C" UINT_PTR(WINAPI* SetTimerSlot)(HWND, UINT_PTR, UINT, TIMERPROC)
    VORLUND_IMPORT_SLOT(SetTimer, 16);

namespace vorlund::testing {

// While it lives, every SetTimer of the program fails as when the system has no timer left.
class RefuseTimers {
 public:
  RefuseTimers() : replaced_(SetTimerSlot, Refuse) {}

 private:
  // A function of the system's calling convention (a lambda has the language's own on 32-bit).
  static UINT_PTR WINAPI Refuse(HWND, UINT_PTR, UINT, TIMERPROC) {
    SetLastError(ERROR_NO_SYSTEM_RESOURCES);
    return 0;
  }
  ReplacedImport<decltype(SetTimerSlot)> replaced_;
};

// The application object of the test program, made once.
inline ui::TApplication& TestApplication() {
  static ui::TApplication* application = [] {
    auto* a = new ui::TApplication();
    a->Initialize();
    return a;
  }();
  return *application;
}

// While it lives, one of the layer's clocks (set by Install; nullptr sets the system's back) is
// the test's own, which moves only as the test says: by a step at each reading, and by Advance.
template <void (*Install)(ui::FrameClock)>
class ClockOfTest {
 public:
  explicit ClockOfTest(std::uint64_t step = 0) {
    now_ = 0;
    step_ = step;
    Install(Read);
  }
  ~ClockOfTest() { Install(nullptr); }
  ClockOfTest(const ClockOfTest&) = delete;
  ClockOfTest& operator=(const ClockOfTest&) = delete;
  void Advance(std::uint64_t microseconds) { now_ += microseconds; }
  void SetStep(std::uint64_t step) { step_ = step; }

 private:
  static std::uint64_t Read() { return now_ += step_; }
  static inline std::uint64_t now_ = 0, step_ = 0;
};

inline void SetPumpClock(ui::FrameClock clock) { ui::PumpFrames().SetClock(clock); }

// The pumps tell display frames by it (one reading per pump): the next pump paints; then only a
// pump a frame or more after the last one that painted paints again.
using FrameClockOfTest = ClockOfTest<SetPumpClock>;
// Every costly drawing seems to take a step of it (a reading before and one after).
using DrawClockOfTest = ClockOfTest<ui::SetDrawClock>;

// Dispatches messages for at least ms milliseconds (ticks included).
inline void Pump(DWORD ms = 0) {
  DWORD end = GetTickCount() + ms;
  do {
    ui::Application->ProcessMessages();
    if (ms) Sleep(1);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

// Pumps until done() or the time is up; true when done() came true.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
  return WaitUntil(
      [&] {
        if (done()) return true;
        ui::Application->ProcessMessages();
        return false;
      },
      timeout_ms, 1);
}

// A test with a fresh main window, shown at its stored place. Its timer is off, so that no tick
// focuses, copies or resizes meanwhile, unless the test asks for ticks.
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ui::Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    Form1->tmr1->SetEnabled(false);
    Form1->Show(SW_SHOWNORMAL);
  }
  void TearDown() override { ui::Application->DestroyForms(); }
  // The window's timer ticks from here on, as it does in the program.
  void EnableTicks() { Form1->tmr1->SetEnabled(true); }
};

// The bounds of a window in its parent's client area, read back from Win32.
inline RECT RectInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The position label's text for a row (from 1, 0 for none) and a row count.
inline std::string PositionText(int row, int count) {
  return Gbk("当前位置: ") + std::to_string(row) + "/" + std::to_string(count);
}

// The rows of a list, read back through it.
inline std::vector<std::string> Rows(const ui::TStrings& list) {
  std::vector<std::string> rows;
  for (int i = 0; i < list.Count(); ++i) rows.push_back(list.Get(i));
  return rows;
}

}  // namespace vorlund::testing
