#include "form_fixture.h"

namespace vorlund::testing {
namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (process == search->process && std::string(cls) == "#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM lparam) {
  auto* seen = reinterpret_cast<MessageBoxSeen*>(lparam);
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  std::string name(cls);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (name == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
    seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  } else if (name == "Static" && GetDlgCtrlID(child) == 0xFFFF) {
    seen->text = TextOf(child);
  } else if (name == "Button" && IsWindowVisible(child)) {
    if (seen->buttons++ == 0) seen->first_button = TextOf(child);
  }
  return TRUE;
}

BOOL CALLBACK CountEnabled(HWND window, LPARAM lparam) {
  auto* seen = reinterpret_cast<std::pair<HWND, MessageBoxSeen*>*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && window != seen->first && IsWindowVisible(window) &&
      IsWindowEnabled(window))
    ++seen->second->enabled_windows;
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int press_id) : press_id_(press_id) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
}

DWORD WINAPI MessageBoxWatcher::Run(void* param) {
  auto* self = static_cast<MessageBoxWatcher*>(param);
  while (!self->stop_) {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      Sleep(50);  // let the box finish laying itself out
      MessageBoxSeen seen;
      seen.caption = TextOf(search.found);
      EnumChildWindows(search.found, ReadChild, reinterpret_cast<LPARAM>(&seen));
      std::pair<HWND, MessageBoxSeen*> count{search.found, &seen};
      EnumWindows(CountEnabled, reinterpret_cast<LPARAM>(&count));
      if (self->count_ == 0) self->seen_ = seen;
      self->count_ = self->count_ + 1;
      PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(self->press_id_, BN_CLICKED), 0);
      self->answered_ = true;
      // Wait for the box to go before looking for another.
      for (int i = 0; i < 200 && IsWindow(search.found) && IsWindowVisible(search.found); ++i)
        Sleep(10);
    }
    Sleep(10);
  }
  return 0;
}

}  // namespace vorlund::testing
