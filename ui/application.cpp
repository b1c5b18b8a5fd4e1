#include "ui/application.h"

#include <objbase.h>

#include <new>

#include "common/errors.h"
#include "common/text_rules.h"
#include "ui/form.h"
#include "ui/frame_pump.h"
#include "ui/messages.h"
#include "ui/task_windows.h"

namespace ui {

TApplication* Application = nullptr;

namespace {

const char kApplicationClass[] = "TApplication";

// The main form's window, or null before it exists.
HWND MainFormWindow() {
  return Application && Application->MainForm() ? Application->MainForm()->Handle() : nullptr;
}

// Closing the application's window (from its task-bar entry, or by ending the task) does what
// the main window's close box does: it asks the application to end, so that an operation in
// progress runs to its end before the windows go. The default would destroy the application's
// window, and the main window it owns with it, at once.
void CloseFromApplicationWindow(HWND form) {
  if (form) {
    SendMessageA(form, WM_CLOSE, 0, 0);
  } else if (Application) {
    Application->Terminate();
  }
}

LRESULT ApplicationWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND form = MainFormWindow();
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) PostMessageA(window, kActivateMainForm, 0, 0);
      return 0;
    case WM_SYSCOMMAND:
      // The entry stands for the main window: minimize, restore and close act on it.
      if ((wparam & 0xFFF0) == SC_CLOSE) {
        CloseFromApplicationWindow(form);
        return 0;
      }
      if (form) {
        switch (wparam & 0xFFF0) {
          case SC_MINIMIZE:
            ShowWindow(form, SW_MINIMIZE);
            return 0;
          case SC_RESTORE:
            PostMessageA(window, kActivateMainForm, 0, 0);
            return 0;
        }
      }
      break;
    case WM_CLOSE:
      CloseFromApplicationWindow(form);
      return 0;
    case kActivateMainForm:
      if (form && IsWindowVisible(form) && IsWindowEnabled(form)) {
        if (IsIconic(form)) ShowWindow(form, SW_RESTORE);
        SetForegroundWindow(form);
        SetActiveWindow(form);
      }
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return CalledBySystem(LRESULT{0},
                        [&] { return ApplicationWindowMessage(window, message, wparam, lparam); });
}

// A debug log line (the system's debug output) for what the main loop repaired.
void LogRepair(const std::string& what) {
  if (what.empty()) return;
  OutputDebugStringA(("Vorlund: main loop: " + what + "\n").c_str());
}

}  // namespace

int PumpDepth() { return Application ? Application->Pumps()->Depth() : 0; }

std::string ProgramPath() {
  // A path that fills the buffer may have been cut: try again with a larger one.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD len = GetModuleFileNameA(nullptr, path.data(), size);
    if (len == 0) return std::string();
    if (len < size) {
      path.resize(len);
      return path;
    }
    if (size >= 32768) return std::string();  // longer than any path the system takes
    path.resize(static_cast<size_t>(size) * 2);
  }
}

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
  // Of no size, at the centre of the screen: the dialogs it owns open around the centre.
  handle_ =
      CreateWindowExA(0, kApplicationClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                      nullptr, nullptr, wc.hInstance, nullptr);
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
  // The application's window is the program's one task-bar entry: shown, of no size, never
  // active for long. The main window, owned by it, has no entry of its own.
  if (handle_) ShowWindow(handle_, SW_SHOWNA);
  if (main_form_) main_form_->Show(show_command);
  while (!terminated_) {
    RepairAbandonedFrames();
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      terminated_ = true;
      break;
    }
    DispatchOne(message);
  }
}

void TApplication::RepairAbandonedFrames() {
  if (const int pumps = pumps_.Reset())
    LogRepair("left behind by abandoned frames: " + std::to_string(pumps) + " pump(s); cleared");
  if (main_form_) LogRepair(main_form_->ClearLeftBehind());
  LogRepair(EnableLeftBehindWindows());
}

void TApplication::ProcessMessages() {
  PumpCount::Scope pump(&pumps_);
  FramePump frame;
  MSG message;
  while (frame.Next(message)) {
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
  for (HWND window = message.hwnd; window && window != GetDesktopWindow();
       window = GetAncestor(window, GA_PARENT)) {
    TWinControl* control = TWinControl::FromHandle(window);
    if (control && control->HandleTabKey(message)) return true;
  }
  return false;
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  // The box is owned by the hidden application window: the program's own windows are
  // disabled meanwhile, so that nothing else of the program can be used until it is answered.
  TaskWindowsDisabled disabled;
  return ::MessageBoxA(handle_, text.c_str(), caption.c_str(), flags);
}

namespace {

// The text an error shows: memory that ran out in a string or a list of the language shows the
// same text as the platform's own out-of-memory error.
std::string ErrorText(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error))
    return vorlund::ErrorDisplayText(vorlund::EOutOfMemory().what());
  return vorlund::ErrorDisplayText(error.what());
}

// The out-of-memory error's text as the display shows it, made without memory.
constexpr char kOutOfMemoryText[] = "Out of memory.";

}  // namespace

void TApplication::ShowException(const std::exception& error) noexcept {
  try {
    ShowMessageBox(ErrorText(error), title_, MB_OK | MB_ICONERROR);
    return;
  } catch (...) {
    // Only memory can run out on the way to the box: its text shows without any.
  }
  ::MessageBoxA(handle_, kOutOfMemoryText, title_.c_str(), MB_OK | MB_ICONERROR);
}

void ShowException(const std::exception& error) noexcept {
  if (Application) {
    Application->ShowException(error);
    return;
  }
  try {
    MessageBoxA(nullptr, ErrorText(error).c_str(), nullptr, MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxA(nullptr, kOutOfMemoryText, nullptr, MB_OK | MB_ICONERROR);
  }
}

void ShowUnknownException() noexcept {
  try {
    ShowException(vorlund::Exception("Unknown error"));
  } catch (...) {
    ShowException(std::bad_alloc());
  }
}

}  // namespace ui
