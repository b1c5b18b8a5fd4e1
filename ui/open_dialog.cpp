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

bool TOpenDialog::Execute() {
  // The filter as the dialog takes it: pairs separated by NULs, two NULs at the end.
  std::string filter = filter_;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  std::vector<char> name(MAX_PATH, '\0');
  file_name_.copy(name.data(), name.size() - 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Application ? Application->Handle() : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filter_index_);
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
  BOOL accepted;
  {
    TaskWindowsDisabled disabled;
    accepted = GetOpenFileNameA(&ofn);
  }
  if (!accepted) return false;
  file_name_ = name.data();
  filter_index_ = static_cast<int>(ofn.nFilterIndex);
  return true;
}

}  // namespace ui
