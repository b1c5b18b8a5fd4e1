// Vorlund.exe driven from another process with the real pointer: the list on the pointer's side
// takes the focus, and a window of another program in front keeps it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "program_driver.h"
#include "windows/test_window.h"

namespace vorlund::testing {
namespace {

struct Lists {
  HWND files = nullptr;    // the list lying directly on the window
  HWND digests = nullptr;  // the list inside the right panel
};

Lists FindLists(HWND window) {
  const MainWindow w = FindMainWindow(window);
  return {w.file_list, w.digest_list};
}

// Puts the pointer at a point of the window's client area.
void PointAt(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
}

// Waits until done() holds, serving the test's own window meanwhile.
bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms = 3000) {
  return WaitUntil(
      [&] {
        DispatchWaiting();
        return done();
      },
      timeout_ms, 10);
}

class PairedListsProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.Started());
    window_ = program_.WaitForWindow();
    ASSERT_NE(window_, nullptr);
    lists_ = FindLists(window_);
    ASSERT_NE(lists_.files, nullptr);
    ASSERT_NE(lists_.digests, nullptr);
    // The first ticks bring the window to its smallest size; the split line is then fixed.
    ASSERT_TRUE(WaitFor([&] {
      RECT r;
      GetWindowRect(window_, &r);
      return r.right - r.left >= 832 && r.bottom - r.top >= 665;
    }));
    RECT files;
    GetWindowRect(lists_.files, &files);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&files), 2);
    split_ = files.right + 200;
    middle_ = (files.top + files.bottom) / 2;
  }
  void TearDown() override {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_.WaitForExit(), 0u);
  }

  Program program_;
  HWND window_ = nullptr;
  Lists lists_;
  int split_ = 0;
  int middle_ = 0;
};

TEST_F(PairedListsProgram, TheListOnThePointersSideTakesTheFocus) {
  SetForegroundWindow(window_);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
  struct {
    int x;
    HWND expected;
  } cases[] = {
      {split_ + 1, lists_.digests},
      {split_ - 1, lists_.files},
      {split_ + 150, lists_.digests},
      {100, lists_.files},
  };
  for (const auto& c : cases) {
    PointAt(window_, c.x, middle_);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(window_) == c.expected; })) << "x = " << c.x;
  }
}

TEST_F(PairedListsProgram, AnotherProgramsWindowInFrontKeepsTheFocus) {
  SetForegroundWindow(window_);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
  PointAt(window_, 100, middle_);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(window_) == lists_.files; }));
  TestWindow front(TestWindowOptions::TopLevelAt("another program", 300, 300, 300, 200));
  SetForegroundWindow(front.Handle());
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == front.Handle(); }));
  SetFocus(front.Handle());
  // The pointer rests on the digest list's side for a second of the program's ticks.
  PointAt(window_, split_ + 40, middle_);
  WaitFor([] { return false; }, 1000);
  EXPECT_EQ(GetForegroundWindow(), front.Handle()) << "the program's window stays behind";
  EXPECT_EQ(GetFocus(), front.Handle());
  EXPECT_NE(FocusOf(window_), lists_.digests) << "the program took no focus meanwhile";
}

}  // namespace
}  // namespace vorlund::testing
