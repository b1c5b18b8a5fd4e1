// The digest run (Button1 of the main window) under Wine, beside the platform's own cost of the
// same file work in the same process, and where the run's time goes.
//   run_bench.exe TREE BIG_FILE [RUNS [MD5SUM_MB_PER_S MD5SUM_DIGEST]]
// TREE: a folder tree listed with sub-folders into the file list, then digested by the run.
// BIG_FILE: one large file (meant to be in the page cache), digested by a run of one row.
// Prints one "key value" line per figure; bench/run_bench.sh makes the files and runs it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/operations.h"
#include "collect/scanner.h"
#include "digest/file_digest.h"
#include "tests/support/import_slot.h"
#include "ui/application.h"
#include "ui/gauge.h"
#include "ui/strings.h"

namespace {

double Now();

}  // namespace

// The import slots of the program's file calls: a run's digests are timed from each open to the
// close that follows it.
extern "C" HANDLE(WINAPI* CreateFileSlot)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                          HANDLE) VORLUND_IMPORT_SLOT(CreateFileA, 28);
extern "C" BOOL(WINAPI* CloseHandleSlot)(HANDLE) VORLUND_IMPORT_SLOT(CloseHandle, 4);

namespace {

// While it lives, the time from each CreateFileA to the CloseHandle after it is summed: inside a
// run, the time spent in FileMD5Hex.
class OpenToClose {
 public:
  OpenToClose() : open_(CreateFileSlot, Open), close_(CloseHandleSlot, Close) { current_ = this; }
  ~OpenToClose() { current_ = nullptr; }
  double seconds = 0;

 private:
  static HANDLE WINAPI Open(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                            DWORD how, DWORD flags, HANDLE tmpl) {
    current_->opened_ = Now();
    return current_->open_.Original()(name, access, share, sa, how, flags, tmpl);
  }
  static BOOL WINAPI Close(HANDLE handle) {
    BOOL ok = current_->close_.Original()(handle);
    current_->seconds += Now() - current_->opened_;
    return ok;
  }
  vorlund::testing::ReplacedImport<decltype(CreateFileSlot)> open_;
  vorlund::testing::ReplacedImport<decltype(CloseHandleSlot)> close_;
  double opened_ = 0;
  static inline OpenToClose* current_ = nullptr;
};

// FileMD5Hex's file calls alone, without MD5 or heap: open, the length by moving the file
// pointer to the end, back to 0, the reads, close.
bool FileCallsOnly(const std::vector<std::string>& paths, std::vector<char>& buffer) {
  for (const std::string& path : paths) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LONG high = 0;
    DWORD length = SetFilePointer(file, 0, &high, FILE_END);
    high = 0;
    SetFilePointer(file, 0, &high, FILE_BEGIN);
    DWORD done = 0;
    for (DWORD left = length; left > 0; left -= done) {
      DWORD size = std::min<DWORD>(left, static_cast<DWORD>(buffer.size()));
      if (!ReadFile(file, buffer.data(), size, &done, nullptr) || done != size) return false;
    }
    CloseHandle(file);
  }
  return true;
}

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The platform's own cost of the run's file work: each file opened, read in reads of the run's
// block size and closed, and a row of a digest's length appended to a plain list box whose
// redraw is held; no digest, no gauge, no pump.
class PlatformWork {
 public:
  PlatformWork() : buffer_(vorlund::MD5FileBlockSize) {
    window_ = CreateWindowExA(0, "LISTBOX", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, 40,
                              40, 300, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~PlatformWork() { DestroyWindow(window_); }
  PlatformWork(const PlatformWork&) = delete;
  PlatformWork& operator=(const PlatformWork&) = delete;

  // False when a file could not be read.
  bool Run(const std::vector<std::string>& paths) {
    SendMessageA(window_, LB_RESETCONTENT, 0, 0);
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    const char row[] = "0123456789ABCDEF0123456789ABCDEF";
    bool ok = true;
    for (const std::string& path : paths) {
      HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) {
        ok = false;
        continue;
      }
      DWORD done = 0;
      do {
        if (!ReadFile(file, buffer_.data(), static_cast<DWORD>(buffer_.size()), &done, nullptr))
          ok = false;
      } while (done == buffer_.size());
      CloseHandle(file);
      SendMessageA(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    return ok;
  }

 private:
  HWND window_ = nullptr;
  std::vector<char> buffer_;
};

struct RunFigures {
  double run = 0;          // Button1's whole run
  double run_digests = 0;  // of which in FileMD5Hex, open to close
  double digests = 0;      // FileMD5Hex over the rows (file calls and MD5)
  double file_calls = 0;   // FileMD5Hex's file calls alone
  double row_reads = 0;    // the file list's rows read
  double adds = 0;         // the digests appended to Memo2
  double gauge = 0;        // the gauge's writes and repaints
  double pumps = 0;        // one pump per 16 rows, with the digest list's new rows to draw
  double idle_pumps = 0;   // as many pumps with nothing new to draw
};

// Button1's run over what the file list holds, and its parts one by one.
bool MeasureRun(RunFigures& f) {
  ui::TStrings& files = Form1->FileListBox1->Items();
  ui::TStrings& digests = Form1->Memo2->Items();
  const int n = files.Count();
  double start = Now();
  try {
    OpenToClose digesting;
    Form1->Button1Click(nullptr);
    f.run = Now() - start;
    f.run_digests = digesting.seconds;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "the run failed: %s\n", e.what());
    return false;
  }
  if (digests.Count() != n) {
    std::fprintf(stderr, "the run left %d rows for %d files\n", digests.Count(), n);
    return false;
  }

  std::vector<std::string> paths;
  start = Now();
  for (int i = 0; i < n; ++i) paths.push_back(files.Get(i));
  f.row_reads = Now() - start;

  std::vector<std::string> texts;
  start = Now();
  for (const std::string& path : paths) texts.push_back(vorlund::FileMD5Hex(path));
  f.digests = Now() - start;

  std::vector<char> buffer(vorlund::MD5FileBlockSize);
  start = Now();
  if (!FileCallsOnly(paths, buffer)) return false;
  f.file_calls = Now() - start;

  digests.Clear();
  ui::Application->ProcessMessages();
  start = Now();
  for (const std::string& text : texts) digests.Add(text);
  f.adds = Now() - start;

  ui::TGauge& gauge = *Form1->Gauge1;
  start = Now();
  gauge.SetBackColor(0xC0C0C0);
  gauge.SetMaxValue(n);
  for (int i = 0; i < n; ++i) gauge.SetProgress(i);
  gauge.SetBackColor(0x008000);
  gauge.SetMaxValue(0);
  f.gauge = Now() - start;

  // The pumps as the run makes them: 16 new rows in the digest list, then a pump.
  digests.Clear();
  ui::Application->ProcessMessages();
  double adding = 0;
  start = Now();
  for (int i = 0; i < n; ++i) {
    double before = Now();
    digests.Add(texts[static_cast<size_t>(i)]);
    adding += Now() - before;
    if ((i & 0xF) == 0) ui::Application->ProcessMessages();
  }
  f.pumps = Now() - start - adding;

  start = Now();
  for (int i = 0; i < n; i += 16) ui::Application->ProcessMessages();
  f.idle_pumps = Now() - start;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 3) {
    std::fprintf(stderr, "usage: run_bench TREE BIG_FILE [RUNS [MD5SUM_MB_PER_S MD5SUM_DIGEST]]\n");
    return 2;
  }
  const std::string tree = argv[1], big = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  const double md5sum_rate = argc > 4 ? std::atof(argv[4]) : 0;
  const std::string md5sum_digest = argc > 5 ? argv[5] : "";

  ui::TApplication application;
  application.Initialize();
  application.CreateForm(Form1);
  Form1->tmr1->SetEnabled(false);
  Form1->Show(SW_SHOWNORMAL);
  Form1->chk1->SetChecked(true);
  application.ProcessMessages();

  // The tree: listed once, then digested by the run and by the platform's own file work, in
  // turns.
  vorlund::StartListing();
  Form1->FileListBox1->Items().Clear();
  vorlund::ScanFolder(tree, Form1->FileListBox1->Items());
  application.ProcessMessages();
  const int n = Form1->FileListBox1->Items().Count();
  std::vector<std::string> paths;
  for (int i = 0; i < n; ++i) paths.push_back(Form1->FileListBox1->Items().Get(i));
  PlatformWork platform;
  std::vector<double> run, run_digests, file_calls, work, digests, row_reads, adds, gauge, pumps,
      idle_pumps;
  for (int r = 0; r < runs; ++r) {
    double start = Now();
    if (!platform.Run(paths)) {
      std::fprintf(stderr, "the platform could not read every file\n");
      return 1;
    }
    work.push_back(Now() - start);
    application.ProcessMessages();
    RunFigures f;
    if (!MeasureRun(f)) return 1;
    run.push_back(f.run);
    run_digests.push_back(f.run_digests);
    file_calls.push_back(f.file_calls);
    digests.push_back(f.digests);
    row_reads.push_back(f.row_reads);
    adds.push_back(f.adds);
    gauge.push_back(f.gauge);
    pumps.push_back(f.pumps);
    idle_pumps.push_back(f.idle_pumps);
    application.ProcessMessages();
  }
  std::printf("files %d\n", n);
  std::printf("runs %d\n", runs);
  std::printf("run_seconds %.3f\n", Median(run));
  std::printf("platform_seconds %.3f\n", Median(work));
  std::printf("run_per_platform %.2f\n", Median(run) / Median(work));
  std::printf("run_digests_seconds %.3f\n", Median(run_digests));
  std::printf("run_rest_seconds %.3f\n", Median(run) - Median(run_digests));
  std::printf("digests_seconds %.3f\n", Median(digests));
  std::printf("file_calls_seconds %.3f\n", Median(file_calls));
  std::printf("row_reads_seconds %.3f\n", Median(row_reads));
  std::printf("adds_seconds %.3f\n", Median(adds));
  std::printf("gauge_seconds %.3f\n", Median(gauge));
  std::printf("pumps_seconds %.3f\n", Median(pumps));
  std::printf("idle_pumps_seconds %.3f\n", Median(idle_pumps));

  // The large file: a run of one row.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(big.c_str(), GetFileExInfoStandard, &data)) {
    std::fprintf(stderr, "cannot read the size of %s\n", big.c_str());
    return 2;
  }
  const double mb =
      static_cast<double>((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) / 1e6;
  vorlund::StartListing();
  Form1->FileListBox1->Items().Clear();
  Form1->FileListBox1->Items().Add(big);
  double best = 1e30;
  for (int r = 0; r < runs; ++r) {
    double start = Now();
    try {
      Form1->Button1Click(nullptr);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "the run failed: %s\n", e.what());
      return 1;
    }
    best = std::min(best, Now() - start);
  }
  const std::string digest = Form1->Memo2->Items().Get(0);
  std::printf("big_file_mb %.0f\n", mb);
  std::printf("big_run_mb_per_second %.1f\n", mb / best);
  int status = 0;
  if (md5sum_rate > 0) std::printf("big_run_per_md5sum %.3f\n", mb / best / md5sum_rate);
  if (!md5sum_digest.empty() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, digest.c_str(),
                                               -1, md5sum_digest.c_str(), -1) != CSTR_EQUAL) {
    std::fprintf(stderr, "the run's digest %s differs from md5sum's %s\n", digest.c_str(),
                 md5sum_digest.c_str());
    status = 1;
  }
  application.DestroyForms();
  return status;
}
