// Starts Vorlund.exe as a separate process and finds its window, the way a user's session
// would see it; its dialogs are found, read and answered with the dialog driver.
#pragma once

#include <windows.h>

#include <string>

#include "windows/dialog_driver.h"

namespace vorlund::testing {

// A Windows path for a Unix path under Wine's Z: drive.
inline std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

inline std::string ProgramPath() {
  const char* dir = getenv("VORLUND_BINARY_DIR");
  return WindowsPath(std::string(dir ? dir : ".") + "/Vorlund.exe");
}

class Program {
 public:
  Program() {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string command = "\"" + ProgramPath() + "\"";
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &info_);
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
