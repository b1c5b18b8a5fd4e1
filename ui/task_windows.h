// Disabling the program's windows around a modal window that the system runs (the folder
// picker, a message box): every visible, enabled top-level window of the calling thread is
// disabled, and afterwards exactly those of them that still exist are enabled again.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

// Disables the thread's visible, enabled top-level windows; returns them in the order found.
std::vector<HWND> DisableTaskWindows();

// Enables again each window of the list that still exists.
void EnableTaskWindows(const std::vector<HWND>& windows);

// Disables the task windows for its lifetime, so that they are enabled again on every way out.
class TaskWindowsDisabled {
 public:
  TaskWindowsDisabled() : windows_(DisableTaskWindows()) {}
  ~TaskWindowsDisabled() { EnableTaskWindows(windows_); }
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

  const std::vector<HWND>& Windows() const { return windows_; }

 private:
  std::vector<HWND> windows_;
};

// Moves a top-level window, keeping its size, to the centre of the screen.
void CentreOnScreen(HWND window);

}  // namespace ui
