// Disabling windows for a scope: around a modal window that the system runs (the folder
// picker, the file dialog, a message box) every visible, enabled top-level window of the
// calling thread; around a digest run the controls that would refill the file list.
// Afterwards exactly those of them that were enabled and still exist are enabled again.
//
// What a scope disabled is kept in a table of the layer's, not in the scope's frame: a frame
// left without unwinding (a fault the system swallowed) would leave the windows disabled for
// good. The main loop enables again whatever such frames left disabled (EnableLeftBehindWindows).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// The thread's visible, enabled top-level windows, in the order found.
std::vector<HWND> TaskWindows();

// Disables those of the windows that are enabled for its lifetime, and enables them again on
// every way out, also while an error passes through (before it reaches the error display).
class WindowsDisabled {
 public:
  explicit WindowsDisabled(const std::vector<HWND>& windows);
  ~WindowsDisabled();
  WindowsDisabled(const WindowsDisabled&) = delete;
  WindowsDisabled& operator=(const WindowsDisabled&) = delete;

 private:
  unsigned long long id_;
};

// A modal window of the program is showing for its lifetime: the task windows are disabled
// meanwhile. The program opens no dialog of its own while one shows (ModalShowing).
class TaskWindowsDisabled {
 public:
  TaskWindowsDisabled();
  ~TaskWindowsDisabled();
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

 private:
  WindowsDisabled disabled_;
};

// Whether a modal window of the program (picker, file dialog, message box) is showing.
bool ModalShowing();

// For the main loop: enables again what scopes of abandoned frames left disabled. Returns what
// was repaired, for a debug log line, or an empty text.
std::string EnableLeftBehindWindows();

// Moves a top-level window, keeping its size, to the centre of the screen.
void CentreOnScreen(HWND window);

}  // namespace ui
