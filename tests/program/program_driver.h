// Starts Vorlund.exe as a separate process and finds its window, the way a user's session
// would see it.
#pragma once

#include <windows.h>

#include <string>

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
    DWORD end = GetTickCount() + timeout_ms;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
      struct Search {
        DWORD pid;
        HWND found;
      } search{info_.dwProcessId, nullptr};
      EnumWindows(
          [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (pid == s->pid && std::string(cls) == "TForm1" && IsWindowVisible(w)) {
              s->found = w;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    }
    return nullptr;
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
