// A folder whose file and folder names are partly of characters that code page 936 cannot carry
// (Korean, an emoji, "ñ"), made from Linux by a fixture with md5sum's digests beside it, and
// what the tests know of it from the platform's wide-character calls alone: the entries' true
// names in listing order, the name each one should be listed under, and the file a listed row
// opens.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "system_oracles.h"

namespace vorlund::testing {

// The folder the fixture makes (foreign_names.cmake), and md5sum's listing of it.
inline std::string ForeignNamesDir() { return BinaryDir() + "\\foreign-names\\names"; }
inline std::string ForeignNamesMd5() { return BinaryDir() + "\\foreign-names\\names.md5"; }

// The files the fixture makes, below the folder, in UTF-8 and "\"-separated. Those marked lost
// have a part whose name the code page cannot carry.
struct ForeignFile {
  const char* path;
  bool lost;
};
inline const std::vector<ForeignFile>& ForeignFiles() {
  static const std::vector<ForeignFile> files = {
      {"한국어.txt", true}, {"emoji😀.bin", true},        {"niño.txt", true},
      {"café.txt", false},  {"Ωmega.txt", false},        {"中文.txt", false},
      {"plain.txt", false}, {"子目录\\文件.txt", false}, {"한국폴더\\데이터.txt", true},
  };
  return files;
}

inline std::string Utf8Of(const std::wstring& wide) { return ToCodePage(wide, CP_UTF8); }
inline std::wstring WideOfUtf8(const std::string& utf8) { return FromCodePage(utf8, CP_UTF8); }

// The parts of a "\"-separated path.
inline std::vector<std::wstring> PartsOf(const std::wstring& path) {
  std::vector<std::wstring> parts;
  for (size_t start = 0;;) {
    const size_t end = path.find(L'\\', start);
    parts.push_back(path.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos) return parts;
    start = end + 1;
  }
}

// True when every character of a name has a place in the system's code page.
inline bool CodePageCarries(const std::wstring& name) {
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr,
                      &lost);
  return !lost;
}

// The short name the platform gives a path's last part (GetShortPathNameW).
inline std::wstring ShortNameOf(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD len = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  std::wstring short_path(buffer, len < MAX_PATH ? len : 0);
  return short_path.substr(short_path.rfind(L'\\') + 1);
}

// One file of a listing, as the wide-character calls see it.
struct TrueEntry {
  std::string relative_utf8;  // its path below the folder, "\"-separated
  std::string row;            // the row a listing should give: the folder text, then each
                              // part under its own name where the code page carries it, else
                              // under its short name
};

// The files below folder in the platform's order (FindFirstFileW/FindNextFileW), sub-folders
// entered in place when recursive.
inline void TrueListing(const std::string& folder_text, const std::wstring& folder,
                        const std::string& relative, bool recursive,
                        std::vector<TrueEntry>& entries) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    const std::string listed_as = CodePageCarries(name) ? Ansi(name) : Ansi(ShortNameOf(path));
    const std::string below = relative.empty() ? Utf8Of(name) : relative + "\\" + Utf8Of(name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recursive) TrueListing(folder_text + "\\" + listed_as, path, below, recursive, entries);
    } else {
      entries.push_back({below, folder_text + "\\" + listed_as});
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}
inline std::vector<TrueEntry> TrueListing(const std::string& folder, bool recursive) {
  std::vector<TrueEntry> entries;
  TrueListing(folder, Wide(folder), std::string(), recursive, entries);
  return entries;
}

// The file a row opens, by its full long name below folder (GetLongPathNameW), in UTF-8; empty
// when the row names nothing.
inline std::string FileOfRow(const std::string& row, const std::string& folder) {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD len = GetLongPathNameW(Wide(row).c_str(), buffer, MAX_PATH * 2);
  if (len == 0 || len >= MAX_PATH * 2) return std::string();
  const std::wstring full(buffer, len);
  const std::wstring top = Wide(folder) + L"\\";
  if (full.compare(0, top.size(), top) != 0) return std::string();
  return Utf8Of(full.substr(top.size()));
}

// md5sum's digests, upper case, by each file's path below the folder in UTF-8, "\"-separated.
inline std::map<std::string, std::string> Md5sumsByUtf8Path(const std::string& md5_file) {
  return Md5sums(md5_file, [](const std::string& utf8) { return utf8; });
}

}  // namespace vorlund::testing
