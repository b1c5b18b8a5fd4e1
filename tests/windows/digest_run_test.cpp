// The digest run through the real main window: Button1 clicked over files listed from real
// folders, digests compared with md5sum's, the pumps and the gauge's repaints counted, errors
// read from the real error box, and input given from inside the run's pumps.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/gauge_states.h"
#include "collect_testing.h"
#include "common/texts.h"
#include "dialog_driver.h"
#include "form_fixture.h"
#include "message_recorder.h"
#include "system_oracles.h"
#include "test_window.h"
#include "tests/support/import_slot.h"
#include "ui/gauge.h"

// The import slot of GetDC in the test program: the gauge's repaints take a device context.
extern "C" HDC(WINAPI* GetDCSlot)(HWND) VORLUND_IMPORT_SLOT(GetDC, 4);

namespace vorlund::testing {
namespace {

using collect_testing::TempTree;

// The fixture tree made by digest_run.cmake.
std::string RunFiles() { return BinaryDir() + "\\run-files"; }

// md5sum's digests of the fixture tree.
std::map<std::string, std::string> Md5sums() { return testing::Md5sums(RunFiles() + ".md5"); }

// What the gauge showed at one of its repaints.
struct Repaint {
  ui::TColor back;
  int max;
  int progress;
  int percent;
};

// Records every repaint of the main window's gauge while it lives: each one takes the gauge's
// device context through the program's import slot of GetDC.
class GaugeRepaints {
 public:
  GaugeRepaints() : replaced_(GetDCSlot, Record) {
    current_ = this;
    original_ = replaced_.Original();
  }
  ~GaugeRepaints() { current_ = nullptr; }

  std::vector<Repaint> shown;

 private:
  static HDC WINAPI Record(HWND window) {
    if (current_ && window == Form1->Gauge1->Handle()) {
      const ui::TGauge& g = *Form1->Gauge1;
      current_->shown.push_back({g.BackColor(), g.MaxValue(), g.Progress(), g.PercentDone()});
    }
    return original_(window);
  }
  ReplacedImport<decltype(GetDCSlot)> replaced_;
  static inline decltype(GetDCSlot) original_ = nullptr;
  static inline GaugeRepaints* current_ = nullptr;
};

// The pumps of a run, seen from inside: a probe waits before the click and after every row
// appended to Memo2, so each pump takes one and tells how many rows Memo2 had by then.
class RunPumps {
 public:
  explicit RunPumps(std::function<void(int rows)> in_pump = {})
      : probe_([this, in_pump] {
          if (!in_run_) return;
          const int rows = Form1->Memo2->Items().Count();
          rows_at_pumps.push_back(rows);
          if (in_pump) in_pump(rows);
        }),
        recorder_({Form1->Memo2->Handle()}, {LB_ADDSTRING}) {
    recorder_.OnSent(Form1->Memo2->Handle(), LB_ADDSTRING, [this] { probe_.PostOnce(); });
  }
  // Clicks Button1 as a click reaches it, and returns once its handler has.
  void Click() {
    probe_.PostOnce();
    in_run_ = true;
    SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0);
    in_run_ = false;
  }
  std::vector<int> rows_at_pumps;

 private:
  bool in_run_ = false;
  TestWindow probe_;
  MessageRecorder recorder_;
};

class RunTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Pump(50);
  }
  // Lists the fixture tree, whose digests md5sum gave.
  void ListRunFiles() {
    ASSERT_FALSE(Md5sums().empty()) << "no digests from md5sum in " << RunFiles() << ".md5";
    List(RunFiles());
    ASSERT_EQ(Form1->FileListBox1->Items().Count(), static_cast<int>(Md5sums().size()));
  }
  // Lists folder into the file list through the path box, sub-folders included.
  void List(const std::string& folder) {
    Form1->chk1->SetChecked(true);
    Form1->Edit1->SetText(folder);
    Pump();
  }
  // The file list's rows, each with md5sum's digest; fails for a row md5sum did not see.
  std::vector<std::string> ExpectedDigests() {
    return testing::ExpectedDigests(Rows(Form1->FileListBox1->Items()), RunFiles(), Md5sums());
  }
  void ExpectReady() {
    EXPECT_EQ(Form1->Gauge1->BackColor(), gauge_state::Ready);
    EXPECT_EQ(Form1->Gauge1->MaxValue(), 0);
    EXPECT_EQ(Form1->Gauge1->Progress(), 0);
  }
  void ExpectRefillControlsEnabled() {
    EXPECT_TRUE(IsWindowEnabled(Form1->Edit1->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form1->Button2->Handle()));
  }
};

// Files of their own names in a folder of the test's own.
void MakeFiles(const TempTree& tree, int count) {
  for (int i = 0; i < count; ++i) tree.File("f" + std::to_string(100 + i) + ".txt");
}

TEST_F(RunTest, ACompletedRunGivesEveryRowMd5sumsDigestInListOrder) {
  ListRunFiles();
  const std::vector<std::string> expected = ExpectedDigests();
  Form1->Memo2->Items().Add("a row of an earlier run");
  Form1->lbl3->SetCaption("x");
  RunPumps pumps;
  pumps.Click();
  EXPECT_EQ(Rows(Form1->Memo2->Items()), expected);
  EXPECT_EQ(WindowTextOf(Form1->lbl3->Handle()), texts::kPositionReset);
  ExpectReady();
  ExpectRefillControlsEnabled();
}

TEST_F(RunTest, TwoRunsInARowGiveTheSameRows) {
  ListRunFiles();
  RunPumps pumps;
  pumps.Click();
  const std::vector<std::string> first = Rows(Form1->Memo2->Items());
  ASSERT_EQ(first.size(), Md5sums().size());
  pumps.Click();
  EXPECT_EQ(Rows(Form1->Memo2->Items()), first);
  EXPECT_EQ(pumps.rows_at_pumps, (std::vector<int>{1, 17, 1, 17}));
}

TEST_F(RunTest, PumpsFollowRowsZeroAndSixteenAndTheGaugeRepaintsAtMostOncePerPercent) {
  struct Case {
    int files;
    std::vector<int> rows_at_pumps;  // Memo2's rows when each pump of the run ran
    int running_repaints;            // grey: BackColor, MaxValue, then each new percentage
    int last_running_percent;
    int ending_repaints;  // green, then MaxValue 0 when it was not 0 already
  } cases[] = {
      {0, {}, 2, 0, 1},
      {1, {1}, 2, 0, 2},
      {16, {1}, 2 + 15, 93, 2},
      {17, {1, 17}, 2 + 16, 94, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.files << " files");
    TempTree tree("run-pumps-" + std::to_string(c.files));
    MakeFiles(tree, c.files);
    List(tree.Root());
    ASSERT_EQ(Form1->FileListBox1->Items().Count(), c.files);
    Form1->Gauge1->SetMaxValue(100);  // as at start
    RunPumps pumps;
    GaugeRepaints repaints;
    pumps.Click();
    EXPECT_EQ(pumps.rows_at_pumps, c.rows_at_pumps);
    EXPECT_EQ(Form1->Memo2->Items().Count(), c.files);
    ASSERT_EQ(static_cast<int>(repaints.shown.size()), c.running_repaints + c.ending_repaints);
    int last_percent = -1;
    for (int i = 0; i < c.running_repaints; ++i) {
      const Repaint& r = repaints.shown[static_cast<size_t>(i)];
      EXPECT_EQ(r.back, gauge_state::Running) << "repaint " << i;
      if (i >= 1) {
        EXPECT_EQ(r.max, c.files) << "repaint " << i;
      }
      // After BackColor and MaxValue, only a Progress that shows a new percentage repaints.
      if (i >= 2) {
        EXPECT_NE(r.percent, last_percent) << "repaint " << i << " showed nothing new";
      }
      last_percent = r.percent;
    }
    EXPECT_EQ(last_percent, c.last_running_percent);
    for (size_t i = static_cast<size_t>(c.running_repaints); i < repaints.shown.size(); ++i)
      EXPECT_EQ(repaints.shown[i].back, gauge_state::Ready) << "repaint " << i;
    EXPECT_EQ(repaints.shown.back().percent, 0);
    ExpectReady();
  }
}

// The text the default error display shows for a file that cannot be opened, made from what
// the system says about opening it now.
std::string OpenErrorBoxText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = GetLastError();
  EXPECT_EQ(file, INVALID_HANDLE_VALUE) << path << " can be opened";
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  std::string text = "Cannot open file \"" + FullPath(path) + "\". " + SystemText(error);
  EXPECT_GT(static_cast<unsigned char>(text.back()), '.') << "a text the display ends itself";
  return ShownErrorText(text);
}

TEST_F(RunTest, AnUnopenableFileEndsTheRunAtItsRowAndARunAfterItsReleaseCompletes) {
  const int kFiles = 20;
  TempTree tree("run-unopenable");
  MakeFiles(tree, kFiles);
  List(tree.Root());
  const std::vector<std::string> files = Rows(Form1->FileListBox1->Items());
  ASSERT_EQ(static_cast<int>(files.size()), kFiles);
  for (int k : {0, 1, 16, 19}) {
    SCOPED_TRACE(::testing::Message() << "row " << k);
    HANDLE held = CreateFileA(files[static_cast<size_t>(k)].c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string expected_text = OpenErrorBoxText(files[static_cast<size_t>(k)]);
    bool refill_enabled_at_box = false;
    DialogDriver box([&](HWND, const DialogSeen&) {
      refill_enabled_at_box =
          IsWindowEnabled(Form1->Edit1->Handle()) && IsWindowEnabled(Form1->Button2->Handle());
      return IDOK;
    });
    RunPumps pumps;
    pumps.Click();
    box.Join();
    ASSERT_EQ(box.Count(), 1);
    EXPECT_EQ(box.Seen().text, expected_text);
    EXPECT_EQ(box.Seen().caption, ui::Application->Title());
    EXPECT_NE(box.Seen().icon, nullptr);
    EXPECT_TRUE(refill_enabled_at_box) << "the box showed before the controls were enabled";
    EXPECT_EQ(Form1->Memo2->Items().Count(), k);
    EXPECT_EQ(Form1->Gauge1->BackColor(), gauge_state::Running);
    EXPECT_EQ(Form1->Gauge1->MaxValue(), kFiles);
    EXPECT_EQ(Form1->Gauge1->Progress(), k);
    EXPECT_EQ(WindowTextOf(Form1->lbl3->Handle()), texts::kPositionReset);
    ExpectRefillControlsEnabled();

    CloseHandle(held);
    pumps.Click();
    EXPECT_EQ(Form1->Memo2->Items().Count(), kFiles);
    ExpectReady();
  }
}

// --- input during a run ----------------------------------------------------------------------

// Keys typed as the keyboard gives them, to whichever window has the focus.
void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in = {};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = c;
      in.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(in);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

// A click of the real pointer at the middle of a window.
void ClickAt(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

// Lets input given from inside a pump arrive there, in pumps nested in it.
void LetInputArrive() {
  for (int i = 0; i < 20; ++i) {
    ui::Application->ProcessMessages();
    Sleep(5);
  }
}

TEST_F(RunTest, InputFromInsideTheRunsPumpsLeavesRowsThatPairWithTheFiles) {
  ListRunFiles();
  const std::vector<std::string> expected = ExpectedDigests();
  const std::vector<std::string> files = Rows(Form1->FileListBox1->Items());
  const std::string box_text = Form1->Edit1->Text();
  ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == Form1->Handle(); }));
  struct Case {
    const char* input;
    std::function<void()> give;
  } cases[] = {
      {"Button1 clicked again", [] { SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0); }},
      {"a path typed into Edit1",
       [] {
         ClickAt(Form1->Edit1->Handle());  // the click on Button1 took the focus
         LetInputArrive();
         PressKey(VK_END);  // behind the box's text
         TypeText(L"\\many");
       }},
      {"a pointer click on Button2", [] { ClickAt(Form1->Button2->Handle()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::map<std::string, bool> enabled;
    DialogDriver picker(IDCANCEL);  // a picker that opened would be cancelled
    RunPumps pumps([&](int rows) {
      if (rows != 1) return;
      for (ui::TWinControl* control : Form1->Components())
        enabled[control->Name()] = IsWindowEnabled(control->Handle());
      c.give();
      LetInputArrive();
    });
    pumps.Click();
    picker.Join();
    EXPECT_EQ(picker.Count(), 0) << "the folder picker opened";
    EXPECT_EQ(pumps.rows_at_pumps, (std::vector<int>{1, 17}));
    EXPECT_EQ(Form1->Edit1->Text(), box_text);
    EXPECT_EQ(Rows(Form1->FileListBox1->Items()), files);
    EXPECT_EQ(Rows(Form1->Memo2->Items()), expected);
    ExpectReady();
    ExpectRefillControlsEnabled();
    // Disabled meanwhile: only what refills the file list.
    EXPECT_FALSE(enabled["Edit1"]);
    EXPECT_FALSE(enabled["Button2"]);
    for (const char* usable : {"Button1", "Button3", "chk1", "FileListBox1", "Memo2"})
      EXPECT_TRUE(enabled[usable]) << usable;
    Pump(50);  // what was typed after the run reaches the box no more
  }
}

TEST_F(RunTest, Button1ClickedInAListingsPumpStartsNoRun) {
  Form1->Memo2->Items().Add("a row of an earlier run");
  Form1->chk1->SetChecked(true);
  int clicks = 0;
  TestWindow click([&] {
    ++clicks;
    SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0);
  });
  click.Post();
  Form1->Edit1->SetText(RunFiles());  // the listing's first pump takes the click
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Rows(Form1->Memo2->Items()), (std::vector<std::string>{"a row of an earlier run"}));
  EXPECT_EQ(Form1->Gauge1->BackColor(), gauge_state::Ready);
  EXPECT_EQ(Form1->Gauge1->MaxValue(), 100);
  EXPECT_EQ(Form1->FileListBox1->Items().Count(), static_cast<int>(Md5sums().size()));
}

TEST_F(RunTest, AListingStartedByCodeInARunsPumpEndsTheRunWithNoRowsKept) {
  ListRunFiles();
  TempTree other("run-relisted");
  MakeFiles(other, 3);
  RunPumps pumps([&](int rows) {
    if (rows == 1) Form1->Edit1->SetText(other.Root());
  });
  MessageBoxWatcher boxes;
  pumps.Click();
  boxes.Join();
  EXPECT_EQ(boxes.Count(), 0) << boxes.Seen().text;
  EXPECT_EQ(pumps.rows_at_pumps, (std::vector<int>{1}));
  EXPECT_EQ(Form1->FileListBox1->Items().Count(), 3);
  EXPECT_EQ(Form1->Memo2->Items().Count(), 0);
  ExpectReady();
  ExpectRefillControlsEnabled();
}

}  // namespace
}  // namespace vorlund::testing
