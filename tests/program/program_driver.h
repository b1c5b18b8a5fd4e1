// Starts Vorlund.exe as a separate process and finds its window, the way a user's session
// would see it; its dialogs are found, read and answered with the dialog driver.
#pragma once

#include <windows.h>

#include <string>

#include "windows/dialog_driver.h"
#include "windows/system_oracles.h"

namespace vorlund::testing {

inline std::string ProgramPath() { return BinaryDir() + "\\Vorlund.exe"; }

// The main window's controls, found as a user sees them: by class, caption and place.
struct MainWindow {
  HWND form = nullptr;
  HWND path_box = nullptr;     // the box in the top strip
  HWND sub_folders = nullptr;  // the check box
  HWND choose = nullptr;       // "设定目录"
  HWND start = nullptr;        // "开始生成"
  HWND save = nullptr;         // "另存为"
  HWND file_list = nullptr;    // the list on the window itself
  HWND digest_list = nullptr;  // the list inside the right panel
  HWND position = nullptr;     // the label that starts "当前位置"
  HWND digest_box = nullptr;   // the read-only box beside it
  HWND gauge = nullptr;        // the bar along the bottom
  bool Complete() const {
    return form && path_box && sub_folders && choose && start && save && file_list && digest_list &&
           position && digest_box && gauge;
  }
};

// Sorts one child window of the main window into its place (a function of the system's calling
// convention: the system calls it).
inline BOOL CALLBACK SortControl(HWND child, LPARAM p) {
  auto* w = reinterpret_cast<MainWindow*>(p);
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  const std::string text = WindowTextOf(child);
  if (_stricmp(cls, "Edit") == 0) {
    (style & ES_READONLY ? w->digest_box : w->path_box) = child;
  } else if (_stricmp(cls, "Button") == 0) {
    if ((style & 0xF) == BS_AUTOCHECKBOX) w->sub_folders = child;
    if (text == Gbk("设定目录")) w->choose = child;
    if (text == Gbk("开始生成")) w->start = child;
    if (text == Gbk("另存为")) w->save = child;
  } else if (_stricmp(cls, "ListBox") == 0) {
    (GetParent(child) == w->form ? w->file_list : w->digest_list) = child;
  } else if (_stricmp(cls, "Static") == 0) {
    if (text.rfind(Gbk("当前位置"), 0) == 0) w->position = child;
  } else if (_stricmp(cls, "TGauge") == 0) {
    w->gauge = child;
  }
  return TRUE;
}

inline MainWindow FindMainWindow(HWND form) {
  MainWindow w;
  w.form = form;
  EnumChildWindows(form, SortControl, reinterpret_cast<LPARAM>(&w));
  return w;
}

class Program {
 public:
  // Started in the given current folder, or in this process's when none is given.
  explicit Program(const std::string& folder = std::string()) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string command = "\"" + ProgramPath() + "\"";
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &si, &info_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD ProcessId() const { return info_.dwProcessId; }
  bool Running() const {
    return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
  }
  HANDLE Process() const { return info_.hProcess; }

  // The program's main window once it is visible, or null after timeout_ms.
  HWND WaitForWindow(DWORD timeout_ms = 20000) {
    return WaitForProgramWindow(info_.dwProcessId, "TForm1", timeout_ms);
  }

  // The exit code once the program has ended, or STILL_ACTIVE after timeout_ms.
  DWORD WaitForExit(DWORD timeout_ms = 20000) {
    WaitForSingleObject(info_.hProcess, timeout_ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

}  // namespace vorlund::testing
