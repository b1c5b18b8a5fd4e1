// The shell's folder picker, shown modally with the program's other windows disabled.
#pragma once

#include <windows.h>

#include <string>

struct IMalloc;

namespace vorlund {

// Shows the folder picker with title above its tree, rooted at root (a parsing name; empty for
// the desktop) and owned by owner; flags are the picker's BIF_* flags. On entry path is the
// folder to preselect (empty for none). True when the user confirmed a folder: path then holds
// its file-system path. False otherwise (cancelled, an item confirmed that has no file-system
// path, or no picker could be shown): path then holds the entry path, or an empty text when
// that was not an existing folder.
bool BrowseForFolder(const std::string& title, const std::wstring& root, std::string& path,
                     HWND owner, UINT flags);

// The picker's callback: once the picker is ready, preselects the path text passed as data
// (when data is not zero). Always returns 0.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM value, LPARAM data);

namespace detail {

// BrowseForFolder with the shell allocator given: buffers and item lists are taken from and
// given back to it. A null allocator shows nothing and gives false.
bool BrowseForFolderWith(IMalloc* allocator, const std::string& title, const std::wstring& root,
                         std::string& path, HWND owner, UINT flags);

}  // namespace detail

}  // namespace vorlund
