#include "ui/task_windows.h"

#include <new>

namespace ui {

namespace {

struct Collection {
  std::vector<HWND> windows;
  bool out_of_memory = false;
};

// Called by Windows for each top-level window of the thread: nothing may be thrown from here.
BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* collection = reinterpret_cast<Collection*>(data);
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  try {
    collection->windows.push_back(window);
  } catch (const std::bad_alloc&) {
    collection->out_of_memory = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> DisableTaskWindows() {
  // Collect first and disable afterwards: a window disabled during the walk cannot be lost by
  // a failure half-way, and EnumThreadWindows sees a stable set.
  Collection collection;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collection));
  if (collection.out_of_memory) throw std::bad_alloc();
  for (HWND window : collection.windows) EnableWindow(window, FALSE);
  return std::move(collection.windows);
}

void EnableTaskWindows(const std::vector<HWND>& windows) {
  DWORD thread = GetCurrentThreadId();
  for (HWND window : windows) {
    // A window destroyed meanwhile is passed over; its handle may even belong to a new window
    // by now, so only a window of this thread counts.
    if (IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == thread) {
      EnableWindow(window, TRUE);
    }
  }
}

void CentreOnScreen(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
