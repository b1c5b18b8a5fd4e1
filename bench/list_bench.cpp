// Lists a large folder tree into the main window's file list, with sub-folders, and tells where
// the time goes: the whole scan, the rows handed to the list box, the file-system walk alone,
// and what is left, the pumps (one per folder entered, with the repaints they bring). For
// comparison: the scan into memory, where the pumps have no new rows to paint.
//   list_bench.exe TREE [RUNS]
// Prints one "key value" line per figure; bench/list_bench.sh makes the tree and runs it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "collect/path_rules.h"
#include "collect/scanner.h"
#include "ui/application.h"
#include "ui/strings.h"

namespace {

double Seconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// The list box's rows, with the time spent handing each one over.
class TimedRows : public ui::TStrings {
 public:
  explicit TimedRows(ui::TStrings& inner) : inner_(inner) {}
  int Count() const override { return inner_.Count(); }
  std::string Get(int index) const override { return inner_.Get(index); }
  void Add(const std::string& text) override {
    LONGLONG start = Now();
    inner_.Add(text);
    ticks += Now() - start;
  }
  void Clear() override { inner_.Clear(); }
  LONGLONG ticks = 0;

 private:
  ui::TStrings& inner_;
};

// Rows kept in memory only.
class MemoryRows : public ui::TStrings {
 public:
  int Count() const override { return static_cast<int>(rows.size()); }
  std::string Get(int index) const override { return rows.at(static_cast<size_t>(index)); }
  void Add(const std::string& text) override { rows.push_back(text); }
  void Clear() override { rows.clear(); }
  std::vector<std::string> rows;
};

// The same walk as the scan, rows formed alike, without pumps or list box: the file system's
// share of the time.
void Walk(const std::string& folder, std::vector<std::string>& rows, int& folders) {
  ++folders;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(vorlund::ScanPattern(folder).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string_view name = vorlund::EntryName(entry.cFileName, sizeof entry.cFileName);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!vorlund::IsDotEntry(name)) Walk(vorlund::ScanRow(folder, name), rows, folders);
    } else {
      rows.push_back(vorlund::ScanRow(folder, name));
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

// The platform's own cost of the listing: the same walk, each row handed to a list box of the
// same kind on the same window with its redraw held, no pumps, one repaint at the end.
double PlatformListing(const std::string& tree, HWND parent, int& rows) {
  HWND list =
      CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 25,
                      33, 447, 527, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(list, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
  LONGLONG start = Now();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  std::vector<std::string> walked;
  int folders = 0;
  Walk(tree, walked, folders);
  for (const std::string& row : walked)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  const double seconds = Seconds(Now() - start);
  rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  DestroyWindow(list);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) {
    std::fprintf(stderr, "usage: list_bench TREE [RUNS]\n");
    return 2;
  }
  const std::string tree = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

  ui::TApplication application;
  application.Initialize();
  application.CreateForm(Form1);
  Form1->Show(SW_SHOWNORMAL);
  Form1->chk1->SetChecked(true);
  application.ProcessMessages();

  std::vector<double> scan, list_box, walk, in_memory, platform;
  int rows = 0, folders = 0;
  for (int run = 0; run < runs; ++run) {
    // The file system alone.
    std::vector<std::string> walked;
    folders = 0;
    LONGLONG start = Now();
    Walk(tree, walked, folders);
    walk.push_back(Seconds(Now() - start));

    // The platform's walk and insert.
    int platform_rows = 0;
    platform.push_back(PlatformListing(tree, Form1->Handle(), platform_rows));
    application.ProcessMessages();

    // The scan into memory: the walk and the pumps, no list box.
    MemoryRows memory;
    start = Now();
    vorlund::ScanFolder(tree, memory);
    in_memory.push_back(Seconds(Now() - start));

    // The scan into the window's list, as the program does it.
    Form1->FileListBox1->Items().Clear();
    application.ProcessMessages();
    TimedRows timed(Form1->FileListBox1->Items());
    start = Now();
    vorlund::ScanFolder(tree, timed);
    scan.push_back(Seconds(Now() - start));
    list_box.push_back(Seconds(timed.ticks));
    rows = Form1->FileListBox1->Items().Count();

    if (rows != static_cast<int>(walked.size()) || memory.rows != walked || platform_rows != rows) {
      std::fprintf(stderr, "listings differ: %d rows in the list, %zu walked\n", rows,
                   walked.size());
      return 1;
    }
  }
  application.DestroyForms();

  double total = Median(scan), adds = Median(list_box), fs = Median(walk);
  std::printf("files %d\n", rows);
  std::printf("folders %d\n", folders);
  std::printf("runs %d\n", runs);
  std::printf("scan_seconds %.3f\n", total);
  std::printf("scan_files_per_second %.0f\n", rows / total);
  std::printf("list_box_seconds %.3f\n", adds);
  std::printf("walk_seconds %.3f\n", fs);
  std::printf("walk_files_per_second %.0f\n", rows / fs);
  std::printf("pumps_seconds %.3f\n", std::max(0.0, total - adds - fs));
  std::printf("scan_into_memory_seconds %.3f\n", Median(in_memory));
  std::printf("pumps_without_list_seconds %.3f\n", std::max(0.0, Median(in_memory) - fs));
  std::printf("platform_seconds %.3f\n", Median(platform));
  std::printf("ratio_to_platform %.2f\n", total / Median(platform));
  return 0;
}
