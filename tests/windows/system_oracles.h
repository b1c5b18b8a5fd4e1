// What the system itself says, as the tests expect the program to cite it: taken from the
// platform, never from the program's own code.
#pragma once

#include <windows.h>

#include <string>

namespace vorlund::testing {

// The system's own text for an error code, as the error texts cite it: every trailing character
// of code 32 or below and every trailing full stop removed.
inline std::string SystemText(DWORD code) {
  char buffer[512] = {};
  const DWORD len = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, len);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
    text.pop_back();
  return text;
}

// An error's text as the default error display shows it: a "." added when the last character
// compares greater than ".".
inline std::string ShownErrorText(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') return text + ".";
  return text;
}

// The absolute form of a path, by the platform's rules.
inline std::string FullPath(const std::string& path) {
  char full[MAX_PATH * 2] = {};
  const DWORD len = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return std::string(full, len < sizeof full ? len : 0);
}

}  // namespace vorlund::testing
