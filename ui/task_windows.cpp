#include "ui/task_windows.h"

#include <algorithm>
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
  } catch (...) {
    collection->out_of_memory = true;
    return FALSE;
  }
  return TRUE;
}

struct Disabled {
  unsigned long long id;
  std::vector<HWND> windows;
};

// The windows each open scope disabled, in the order the scopes began.
std::vector<Disabled> disabled_scopes;
unsigned long long next_id = 1;
int modal_showing = 0;

void EnableAgain(const std::vector<HWND>& windows) {
  const DWORD thread = GetCurrentThreadId();
  for (HWND window : windows) {
    // A window destroyed meanwhile is passed over; its handle may even belong to a new window
    // by now, so only a window of this thread counts.
    if (IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == thread) {
      EnableWindow(window, TRUE);
    }
  }
}

}  // namespace

std::vector<HWND> TaskWindows() {
  Collection collection;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collection));
  if (collection.out_of_memory) throw std::bad_alloc();
  return std::move(collection.windows);
}

WindowsDisabled::WindowsDisabled(const std::vector<HWND>& windows) : id_(next_id++) {
  // Recorded first and disabled afterwards: a failure half-way leaves nothing disabled.
  Disabled scope{id_, {}};
  for (HWND window : windows) {
    if (IsWindowEnabled(window)) scope.windows.push_back(window);
  }
  if (scope.windows.empty()) return;  // nothing to disable, nothing to enable again
  disabled_scopes.push_back(std::move(scope));
  for (HWND window : disabled_scopes.back().windows) EnableWindow(window, FALSE);
}

WindowsDisabled::~WindowsDisabled() {
  auto it = std::find_if(disabled_scopes.begin(), disabled_scopes.end(),
                         [this](const Disabled& d) { return d.id == id_; });
  if (it == disabled_scopes.end()) return;  // the main loop enabled them already
  EnableAgain(it->windows);
  disabled_scopes.erase(it);
}

TaskWindowsDisabled::TaskWindowsDisabled() : disabled_(TaskWindows()) { ++modal_showing; }

TaskWindowsDisabled::~TaskWindowsDisabled() {
  if (modal_showing > 0) --modal_showing;
}

bool ModalShowing() { return modal_showing > 0; }

std::string EnableLeftBehindWindows() {
  if (disabled_scopes.empty() && modal_showing == 0) return std::string();
  std::string left = "left behind by abandoned frames: " + std::to_string(disabled_scopes.size()) +
                     " disabled window scope(s), " + std::to_string(modal_showing) +
                     " modal window(s); enabled again";
  for (const Disabled& scope : disabled_scopes) EnableAgain(scope.windows);
  disabled_scopes.clear();
  modal_showing = 0;
  return left;
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
