#include "collect/scanner.h"

#include <windows.h>

#include "app/form1.h"
#include "app/long_operation.h"
#include "collect/entry_name.h"
#include "collect/path_rules.h"
#include "common/handles.h"
#include "ui/strings.h"

namespace vorlund {

namespace {

// Lists one folder level and, in place, the sub-folders it descends into. False when the scan
// was superseded during one of its pumps: every level then returns at once.
bool ScanLevel(const std::string& folder, ui::TStrings& target, LongOperation& scan) {
  if (scan.Pump()) return false;

  WIN32_FIND_DATAA entry;
  SearchHandle search(FindFirstFileA(ScanPattern(folder).c_str(), &entry));
  if (!search) return true;
  do {
    // A name the code page could not carry is listed by the entry's short name, if it has one.
    std::string_view name =
        ListedName(EntryName(entry.cFileName, sizeof entry.cFileName),
                   EntryName(entry.cAlternateFileName, sizeof entry.cAlternateFileName));
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (Form1->chk1->Checked() && !IsDotEntry(name)) {
        if (!ScanLevel(ScanRow(folder, name), target, scan)) return false;
      }
    } else {
      target.Add(ScanRow(folder, name));
    }
  } while (FindNextFileA(search.Get(), &entry));
  return true;
}

}  // namespace

void ScanFolder(const std::string& folder, ui::TStrings& target) {
  LongOperation scan(Operation::Listing);
  ScanLevel(folder, target, scan);
}

}  // namespace vorlund
