#include "collect/scanner.h"

#include <windows.h>

#include "app/form1.h"
#include "collect/path_rules.h"
#include "common/handles.h"
#include "ui/application.h"
#include "ui/strings.h"

namespace vorlund {

namespace {

// How many scan pumps are running, one inside the other.
int pumps_running = 0;
// The innermost listing in progress; each links to the one it began in.
ListingSpan* innermost = nullptr;

// One pump of a scan, counted while it runs.
void Pump() {
  struct Counted {
    Counted() { ++pumps_running; }
    ~Counted() { --pumps_running; }
  } counted;
  ui::Application->ProcessMessages();
}

// Lists one folder level and, in place, the sub-folders it descends into. False when the scan
// was superseded during one of its pumps: every level then returns at once.
bool ScanLevel(const std::string& folder, ui::TStrings& target, const ListingSpan& scan) {
  Pump();
  if (scan.Superseded()) return false;

  WIN32_FIND_DATAA entry;
  SearchHandle search(FindFirstFileA(ScanPattern(folder).c_str(), &entry));
  if (!search) return true;
  do {
    std::string_view name = EntryName(entry.cFileName, sizeof entry.cFileName);
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

ListingSpan::ListingSpan() : depth_(pumps_running), outer_(innermost) { innermost = this; }

ListingSpan::~ListingSpan() { innermost = outer_; }

void StartListing() {
  // Spans that began outside the pumps now running are waiting for one of them to return.
  for (ListingSpan* span = innermost; span; span = span->outer_) {
    if (span->depth_ < pumps_running) span->superseded_ = true;
  }
}

void ScanFolder(const std::string& folder, ui::TStrings& target) {
  StartListing();
  ListingSpan scan;
  ScanLevel(folder, target, scan);
}

}  // namespace vorlund
