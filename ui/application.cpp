#include "ui/application.h"

#include <objbase.h>

#include "common/errors.h"
#include "common/text_rules.h"
#include "ui/form.h"
#include "ui/message_loop.h"
#include "ui/task_windows.h"

namespace ui {

TApplication* Application = nullptr;

namespace {

const char kApplicationClass[] = "TApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  DWORD len = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, len < sizeof path ? len : 0);
}

}  // namespace

TApplication::TApplication() {
  if (!Application) Application = this;
}

TApplication::~TApplication() {
  DestroyForms();
  if (handle_) DestroyWindow(handle_);
  if (com_initialized_) CoUninitialize();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  if (handle_) return;
  com_initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  title_ = vorlund::ApplicationTitleFromPath(ProgramPath());
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ApplicationWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = kApplicationClass;
  RegisterClassA(&wc);
  handle_ =
      CreateWindowExA(0, kApplicationClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                      0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
  if (!main_form_) main_form_ = form.get();
  forms_.push_back(std::move(form));
}

void TApplication::DestroyForms() {
  while (!forms_.empty()) forms_.pop_back();
  main_form_ = nullptr;
}

void TApplication::Run(int show_command) {
  if (main_form_) main_form_->Show(show_command);
  while (!terminated_) {
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      terminated_ = true;
      break;
    }
    DispatchOne(message);
  }
}

void TApplication::ProcessMessages() {
  PumpScope pump;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      continue;
    }
    DispatchOne(message);
  }
}

void TApplication::Terminate() {
  // The main loop notices the quit message when control comes back to it.
  PostQuitMessage(0);
}

void TApplication::DispatchOne(MSG& message) {
  if (IsFormKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool TApplication::IsFormKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
  if (!form) return false;
  if (SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                   reinterpret_cast<LPARAM>(&message)) &
      DLGC_WANTTAB)
    return false;
  form->SelectNext(GetKeyState(VK_SHIFT) >= 0);
  return true;
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  // The box is owned by the hidden application window: the program's own windows are
  // disabled meanwhile, so that nothing else of the program can be used until it is answered.
  TaskWindowsDisabled disabled;
  return ::MessageBoxA(handle_, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const std::exception& error) {
  ShowMessageBox(vorlund::ErrorDisplayText(error.what()), title_, MB_OK | MB_ICONERROR);
}

void ShowException(const std::exception& error) {
  if (Application) {
    Application->ShowException(error);
  } else {
    MessageBoxA(nullptr, vorlund::ErrorDisplayText(error.what()).c_str(), nullptr,
                MB_OK | MB_ICONERROR);
  }
}

}  // namespace ui
