#include "collect/browse_folder.h"

#include <shlobj.h>

#include <cstring>

#include "collect/file_system.h"
#include "common/handles.h"
#include "ui/application.h"
#include "ui/task_windows.h"

namespace vorlund {

namespace {

// The size of the picker's name buffer: the display name and then the path are written there.
constexpr ULONG kNameBufferSize = 260;

}  // namespace

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM /*value*/, LPARAM data) {
  return ui::CalledBySystem(0, [&] {
    if (message == BFFM_INITIALIZED && data != 0) {
      SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
  });
}

namespace detail {

bool BrowseForFolderWith(IMalloc* allocator, const std::string& title, const std::wstring& root,
                         std::string& path, HWND owner, UINT flags) {
  bool result = false;
  if (!DirectoryExists(path)) path.clear();
  BROWSEINFOA info;
  std::memset(&info, 0, sizeof info);
  if (!allocator) return result;

  // The picker writes the display name into the buffer and the path over it afterwards; it
  // cannot be shown without one.
  ShellMemory buffer(*allocator, allocator->Alloc(kNameBufferSize));
  if (!buffer.Get()) return result;
  char* name = static_cast<char*>(buffer.Get());
  name[0] = '\0';

  ComPtr<IShellFolder> desktop;
  LPITEMIDLIST root_list = nullptr;
  if (!root.empty() && SUCCEEDED(SHGetDesktopFolder(desktop.Out())) && desktop) {
    std::wstring parse_name = root;  // ParseDisplayName takes a writable text
    HWND message_owner = ui::Application ? ui::Application->Handle() : nullptr;
    // Not tested: a root that cannot be parsed leaves no item list, and the picker starts at
    // the desktop.
    desktop->ParseDisplayName(message_owner, nullptr, parse_name.data(), nullptr, &root_list,
                              nullptr);
  }
  ShellMemory root_block(*allocator, root_list);

  info.hwndOwner = owner;
  info.pidlRoot = root_list;
  info.pszDisplayName = name;
  info.lpszTitle = title.c_str();
  info.ulFlags = flags;
  if (!path.empty()) {
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(path.c_str());
  }

  LPITEMIDLIST chosen;
  {
    ui::TaskWindowsDisabled disabled;
    chosen = SHBrowseForFolderA(&info);
  }
  ShellMemory chosen_block(*allocator, chosen);
  // Decided: a confirmed item with no file-system path (one the flags let through, or a path
  // too long for the buffer) gives false, no folder. The buffer would still hold the item's
  // display name, which is no path, and listing it would list whatever folder that name
  // happens to name.
  if (chosen && SHGetPathFromIDListA(chosen, name)) {
    result = true;
    path.assign(name, strnlen(name, kNameBufferSize));
  }
  return result;
}

}  // namespace detail

bool BrowseForFolder(const std::string& title, const std::wstring& root, std::string& path,
                     HWND owner, UINT flags) {
  // One modal window of the program at a time: a click that automation posts to the button
  // under an open dialog or box opens no picker.
  if (ui::ModalShowing()) return false;
  ComPtr<IMalloc> allocator;
  if (FAILED(SHGetMalloc(allocator.Out()))) {
    // A failing call leaves no allocator to use or release.
    *allocator.Out() = nullptr;
  }
  return detail::BrowseForFolderWith(allocator.Get(), title, root, path, owner, flags);
}

}  // namespace vorlund
