// What the system says about a failure: its message text for an error code and a path made
// absolute, and the file errors built from them.
#pragma once

#include <windows.h>

#include <string>

namespace vorlund {

// The system's text for an error code (FormatMessageA, default language, at most 256
// characters), with trailing blanks, control characters and full stops removed.
std::string SystemErrorText(DWORD code);

// The path made absolute by the platform's full-path rules (GetFullPathNameA); the path as
// given when the platform cannot do that.
std::string FullPathName(const std::string& path);

// The text of a file error such as kOpenFileError for path and the system error code.
std::string FileErrorText(const char* format, const std::string& path, DWORD code);

}  // namespace vorlund
