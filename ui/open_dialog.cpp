// <commdlg.h> brings <dlgs.h>, whose macros (edt1, chk1 ...) clash with the form's field
// names: it is included here only.
#include "ui/open_dialog.h"

#include <windows.h>
//
#include <commdlg.h>

#include <vector>

#include "ui/application.h"
#include "ui/task_windows.h"

namespace ui {
namespace {

// The layer's hook: once the dialog is made, before it shows, it is centred on the screen
// (its owner, the application's window, has no size and gives it no place of its own).
UINT_PTR CALLBACK CentreHook(HWND child, UINT message, WPARAM /*wparam*/, LPARAM lparam) {
  return CalledBySystem(UINT_PTR{0}, [&] {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == CDN_INITDONE) {
      CentreOnScreen(GetParent(child));
    }
    return UINT_PTR{0};
  });
}

}  // namespace

bool TOpenDialog::Execute() {
  // One modal window of the program at a time: a click that automation posts to the button
  // under an open dialog or box opens nothing.
  if (ModalShowing()) return false;
  // The filter as the dialog takes it: pairs separated by NULs, two NULs at the end.
  std::string filter = filter_;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  // The name buffer holds 260 characters; the last accepted name is offered again.
  std::vector<char> name(kNameBufferSize, '\0');
  file_name_.copy(name.data(), name.size() - 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Application ? Application->Handle() : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;  // the first filter
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  // Explorer-style and resizable, without the read-only box. Any typed name is accepted (no
  // must-exist checks), an existing file is not asked about here, no extension is added and the
  // current folder follows the dialog. The hook is the layer's own.
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
  ofn.lpfnHook = CentreHook;
  // No default extension, starting folder or title: the platform's own apply.
  ofn.lpstrDefExt = nullptr;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = nullptr;
  BOOL accepted;
  {
    TaskWindowsDisabled disabled;
    accepted = GetOpenFileNameA(&ofn);
  }
  if (!accepted) return false;
  file_name_ = name.data();
  return true;
}

}  // namespace ui
