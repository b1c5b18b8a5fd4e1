#include "ui/show_message.h"

#include <windows.h>

#include "ui/application.h"
#include "ui/task_windows.h"

namespace ui {
namespace {

// The caption of the box's one button, whatever language the system's buttons speak.
const char kOkCaption[] = "OK";

// While a box is being shown, the thread's CBT hook places it and names its button as soon as
// the system has built it, before it is first drawn.
HHOOK box_hook = nullptr;
bool box_placed = false;

bool IsDialogWindow(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0;
}

LRESULT CALLBACK PlaceBox(int code, WPARAM wparam, LPARAM lparam) {
  CalledBySystem(0, [&] {
    if (code == HCBT_ACTIVATE && !box_placed) {
      HWND box = reinterpret_cast<HWND>(wparam);
      if (IsDialogWindow(box)) {
        box_placed = true;
        CentreOnScreen(box);
        SetDlgItemTextA(box, IDOK, kOkCaption);
      }
    }
    return 0;
  });
  return CallNextHookEx(box_hook, code, wparam, lparam);
}

// The hook for the lifetime of one box, removed on every way out.
class BoxPlacement {
 public:
  BoxPlacement()
      : previous_hook_(box_hook),
        previous_placed_(box_placed),
        hook_(SetWindowsHookExA(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId())) {
    box_hook = hook_;
    box_placed = false;
  }
  ~BoxPlacement() {
    if (hook_) UnhookWindowsHookEx(hook_);
    box_hook = previous_hook_;
    box_placed = previous_placed_;
  }
  BoxPlacement(const BoxPlacement&) = delete;
  BoxPlacement& operator=(const BoxPlacement&) = delete;

 private:
  HHOOK previous_hook_;
  bool previous_placed_;
  HHOOK hook_;
};

}  // namespace

void ShowMessage(const std::string& text) {
  BoxPlacement placement;
  if (Application) {
    Application->ShowMessageBox(text, Application->Title(), MB_OK);
  } else {
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
  }
}

}  // namespace ui
