// What the system itself says, as the tests expect the program to cite it, and md5sum's digests
// of the files the tests read: taken from the platform and from md5sum, never from the program's
// own code.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "dialog_driver.h"

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

// The build folder, where the fixtures and md5sum's digests of them lie: as a Unix path, and as
// the Windows path Wine gives it under drive Z:.
inline std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
inline std::string BinaryDirUnix() {
  const char* dir = std::getenv("VORLUND_BINARY_DIR");
  return dir ? dir : ".";
}
inline std::string BinaryDir() { return WindowsPath(BinaryDirUnix()); }

// What names this test process among those that may share the build folder at once: its test
// slot (each slot a Wine server of its own, whose process ids may repeat the other's) and its
// process id.
inline std::string ProcessTag() {
  const char* slot = std::getenv("VORLUND_SLOT");
  return std::string(slot ? slot : "0") + "-" + std::to_string(GetCurrentProcessId());
}

// md5sum's digests of the files below a folder, in upper case, by each file's path below the
// folder in the code page 936 ("\"-separated). md5_file is md5sum's output as the test fixtures
// write it beside the folder: one line a file, the digest, two blanks, the path below the folder
// in UTF-8 ("/"-separated). path_of spells a path in the key's code page.
inline std::map<std::string, std::string> Md5sums(
    const std::string& md5_file, std::string (*path_of)(const std::string&) = Gbk) {
  std::map<std::string, std::string> digests;
  std::ifstream in(md5_file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.size() < 35) continue;
    std::string digest = line.substr(0, 32);
    std::transform(digest.begin(), digest.end(), digest.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::string path = path_of(line.substr(34));
    std::replace(path.begin(), path.end(), '/', '\\');
    digests[path] = digest;
  }
  return digests;
}

// md5sum's digest for each row of a listing of folder, in row order; a row md5sum gave no digest
// for fails the test.
inline std::vector<std::string> ExpectedDigests(const std::vector<std::string>& rows,
                                                const std::string& folder,
                                                const std::map<std::string, std::string>& md5sums) {
  std::vector<std::string> digests;
  for (const std::string& row : rows) {
    auto it = md5sums.find(row.substr(std::min(row.size(), folder.size() + 1)));
    if (it == md5sums.end()) ADD_FAILURE() << "md5sum gave no digest for " << row;
    digests.push_back(it == md5sums.end() ? "(no md5sum digest for " + row + ")" : it->second);
  }
  return digests;
}

}  // namespace vorlund::testing
