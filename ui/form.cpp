#include "ui/form.h"

#include "ui/application.h"
#include "ui/controls.h"

namespace ui {
namespace {

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

TForm::TForm(std::string name, const TFormParams& p)
    : TWinControl(nullptr, {.name = name.c_str()}, {}) {
  font_ = MakeFont(p);
  SetFont(font_.Get());
  HICON icon = p.icon ? LoadIconA(GetModuleHandleA(nullptr), p.icon) : nullptr;
  RegisterOwnClass(p.window_class, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  RECT outer = {0, 0, p.client_width, p.client_height};
  AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
  HWND owner = Application ? Application->Handle() : nullptr;
  // Created at the origin with the outer size, then moved to the stored place.
  CreateHandle(p.window_class, kFormStyle, 0, p.caption, owner);
  SetWindowPos(Handle(), nullptr, p.left, p.top, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

TForm::~TForm() {
  if (Handle()) DestroyWindow(Handle());
}

vorlund::GdiObject<HFONT> TForm::MakeFont(const TFormParams& p) {
  return vorlund::GdiObject<HFONT>(CreateFontA(
      p.font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, p.font_charset, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, p.font_name));
}

std::string TForm::Caption() const { return WindowText(Handle()); }

TBounds TForm::Bounds() const {
  RECT r;
  if (IsIconic(Handle())) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    r = placement.rcNormalPosition;
  } else {
    GetWindowRect(Handle(), &r);
  }
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TForm::SetBounds(int left, int top, int width, int height) {
  if (TBounds{left, top, width, height} == Bounds()) return;
  if (IsIconic(Handle())) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    placement.rcNormalPosition = {left, top, left + width, top + height};
    SetWindowPlacement(Handle(), &placement);
    return;
  }
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show(int show_command) {
  ShowWindow(Handle(), show_command);
  UpdateWindow(Handle());
}

bool TForm::Active() const {
  HWND window = Handle();
  return window && GetActiveWindow() == window && GetForegroundWindow() == window &&
         IsWindowEnabled(window);
}

void TForm::SelectNext(bool forward) {
  std::vector<TWinControl*> list = TabList();
  if (list.empty()) return;
  HWND focus = GetFocus();
  size_t count = list.size(), at = count;
  for (size_t i = 0; i < count; ++i)
    if (list[i]->Handle() == focus || IsChild(list[i]->Handle(), focus)) at = i;
  size_t next = at == count ? 0 : forward ? (at + 1) % count : (at + count - 1) % count;
  list[next]->SetFocus();
}

bool TForm::HandleTabKey(const MSG& key) {
  if (SendMessageA(key.hwnd, WM_GETDLGCODE, key.wParam, reinterpret_cast<LPARAM>(&key)) &
      DLGC_WANTTAB)
    return false;
  SelectNext(GetKeyState(VK_SHIFT) >= 0);
  return true;
}

void TForm::RunCreateHandler(const TNotifyEvent& handler) {
  if (!handler) return;
  try {
    handler(this);
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closing the main window ends the application once control is back in its loop;
      // an operation that pumps messages meanwhile runs to its end with the window shown.
      if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return 0;
      }
      ShowWindow(Handle(), SW_HIDE);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) last_focus_ = focus;
      } else if (!HIWORD(wparam)) {  // not minimized
        if (last_focus_ && IsWindow(last_focus_) && IsChild(Handle(), last_focus_)) {
          ::SetFocus(last_focus_);
        } else {
          std::vector<TWinControl*> list = TabList();
          if (!list.empty()) list.front()->SetFocus();
        }
        return 0;
      }
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

}  // namespace ui
