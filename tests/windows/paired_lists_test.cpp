// The two lists as one table, on the real window with the real pointer: which list the pointer
// gives the focus to, how the focused list's rows are copied to the other, what a selected row
// shows, and that the focus is never pulled from a dialog or from another window in front.
#include <gtest/gtest.h>
#include <windows.h>
//
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "collect/browse_folder.h"
#include "common/errors.h"
#include "common/texts.h"
#include "form_fixture.h"
#include "message_recorder.h"
#include "test_window.h"
#include "tests/support/import_slot.h"

// The import slot of SetFocus in the test program, so that a test can see every focus the
// program asks for, also those the system refuses.
extern "C" HWND(WINAPI* SetFocusSlot)(HWND) VORLUND_IMPORT_SLOT(SetFocus, 4);

namespace vorlund::testing {
namespace {

// Counts the program's SetFocus calls to the two lists while it lives (also those the system
// refuses), and passes every call on. Safe to read from another thread.
class ListFocusCalls {
 public:
  ListFocusCalls(HWND files, HWND digests) : replaced_(SetFocusSlot, Record) {
    original_call_ = replaced_.Original();
    lists_[0] = files;
    lists_[1] = digests;
    count_ = 0;
  }
  int Count() const { return count_; }

 private:
  static HWND WINAPI Record(HWND window) {
    if (window == lists_[0] || window == lists_[1]) ++count_;
    return original_call_(window);
  }
  ReplacedImport<decltype(SetFocusSlot)> replaced_;
  static inline decltype(SetFocusSlot) original_call_ = nullptr;
  static inline HWND lists_[2] = {};
  static inline std::atomic<int> count_{0};
};

// Where the band and the split line lie now, read from the controls' windows.
struct Geometry {
  int band_top;       // the top of the digest list's panel + 20: outside the band
  int band_bottom;    // the top of the bottom strip: outside the band
  int split;          // the file list's right edge + 200
  int digest_left;    // the left edge of the digest list's panel
  int client_right;   // the width of the client area
  int client_bottom;  // the height of the client area
};

enum class At { kZero, kSplit, kDigestLeft, kClientRight, kBandTop, kBandBottom, kMiddle };
struct Coord {
  At at;
  int offset;
};

int Resolve(Coord c, const Geometry& g) {
  switch (c.at) {
    case At::kZero:
      return c.offset;
    case At::kSplit:
      return g.split + c.offset;
    case At::kDigestLeft:
      return g.digest_left + c.offset;
    case At::kClientRight:
      return g.client_right + c.offset;
    case At::kBandTop:
      return g.band_top + c.offset;
    case At::kBandBottom:
      return g.band_bottom + c.offset;
    case At::kMiddle:
      return (g.band_top + g.band_bottom) / 2 + c.offset;
  }
  return 0;
}

enum class Holder { kPathBox, kFiles, kDigests };

const char* NameOf(Holder h) {
  return h == Holder::kFiles ? "file list" : h == Holder::kDigests ? "digest list" : "path box";
}

// A digest text of the kind a run leaves in the digest list, different for each row.
std::string DigestRow(int row) {
  char text[33];
  std::snprintf(text, sizeof text, "%08X%08X%08X%08X", 0x9E3779B9u * (row + 1), row, 0xD41D8CD9u,
                0x8F00B204u ^ row);
  return text;
}

// A list's top row and selection, as a state compared whole (its count and caret any).
ListState Shows(int top, int selected) { return {.top = top, .selected = selected}; }

// The pointer at (x, y) with the focus first on start: after some ticks the focus is on expected.
struct FocusCase {
  const char* what;
  Coord x, y;
  Holder start;
  Holder expected;
};

class PairedLists : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    // Somewhere with screen on every side, so that the pointer can lie left and right of it.
    SetWindowPos(Form1->Handle(), nullptr, 150, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(Form1->Handle());
    PumpUntil([] { return GetForegroundWindow() == Form1->Handle(); }, 2000);
    ASSERT_EQ(GetForegroundWindow(), Form1->Handle());
    PointOutsideTheBand();
    files_ = Form1->FileListBox1->Handle();
    digests_ = Form1->Memo2->Handle();
    // Count the ticks, so that a test knows the timer ran.
    auto tick = Form1->tmr1->OnTimer;
    Form1->tmr1->OnTimer = [this, tick](ui::TObject* sender) {
      ++ticks_;
      tick(sender);
    };
  }

  // The timer ticks from here on; the first ticks bring the window to its minimum size, which
  // moves the bottom strip and the split line.
  void StartTicks() {
    EnableTicks();
    PumpTicks(2);
  }
  // Pumps until at least n more ticks have run and done() holds; true when it came to that.
  // Each tick moves the focus, copies the lists and sizes the window at once, so a few ticks
  // after a change show all it brings; a check that a tick changes nothing waits as many ticks.
  bool PumpTicksUntil(int n, const std::function<bool()>& done, DWORD timeout_ms = 5000) {
    const int start = ticks_;
    return PumpUntil([&] { return ticks_ - start >= n && done(); }, timeout_ms);
  }
  void PumpTicks(int n, DWORD timeout_ms = 5000) {
    PumpTicksUntil(
        n, [] { return true; }, timeout_ms);
  }

  Geometry Read() const {
    RECT files = RectInParent(files_);
    RECT right = RectInParent(Form1->pnl1->Handle());
    RECT bottom = RectInParent(Form1->pnl3->Handle());
    RECT client;
    GetClientRect(Form1->Handle(), &client);
    return {right.top + 20, bottom.top, files.right + 200, right.left, client.right, client.bottom};
  }

  // Puts the real pointer at a point of the window's client area.
  void PointAt(int x, int y) {
    POINT p{x, y};
    ClientToScreen(Form1->Handle(), &p);
    ASSERT_TRUE(SetCursorPos(p.x, p.y));
    POINT now;
    GetCursorPos(&now);
    ASSERT_EQ(now.x, p.x);
    ASSERT_EQ(now.y, p.y);
  }
  // The pointer below the window: it moves no focus, whatever the window's size.
  void PointOutsideTheBand() { PointAt(100, Read().client_bottom + 30); }

  HWND WindowOf(Holder h) const {
    return h == Holder::kFiles ? files_ : h == Holder::kDigests ? digests_ : Form1->Edit1->Handle();
  }
  void Fill(HWND list, int rows, bool digests) {
    for (int i = RowCount(list); i < rows; ++i) {
      std::string text = digests ? DigestRow(i) : "Z:\\files\\" + std::to_string(i) + ".bin";
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  // Selects, then scrolls, as the user may leave a list.
  static void Place(HWND list, int top, int selected) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    ASSERT_EQ(ListStateOf(list), Shows(top, selected));
  }
  // Clicks a row of a list, as the user's click reaches it.
  void ClickRow(HWND list, int row) {
    const LPARAM at = MAKELPARAM(20, (row - ListStateOf(list).top) * 12 + 5);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PumpUntil([&] { return ListStateOf(list).selected == row; }, 1000);
  }
  // A key that moves the list's selection.
  void Key(HWND list, WPARAM key) {
    const int before = ListStateOf(list).selected;
    PostMessageA(list, WM_KEYDOWN, key, 1);
    PostMessageA(list, WM_KEYUP, key, 0xC0000001);
    PumpUntil([&] { return ListStateOf(list).selected != before; }, 1000);
  }

  void RunFocusCases(const std::vector<FocusCase>& cases) {
    const Geometry g = Read();
    for (const FocusCase& c : cases) {
      SetFocus(WindowOf(c.start));
      PointAt(Resolve(c.x, g), Resolve(c.y, g));
      PumpTicksUntil(3, [&] { return GetFocus() == WindowOf(c.expected); });
      EXPECT_EQ(GetFocus(), WindowOf(c.expected))
          << c.what << ": from the " << NameOf(c.start) << ", expected the " << NameOf(c.expected);
    }
  }

  HWND files_ = nullptr;
  HWND digests_ = nullptr;
  std::atomic<int> ticks_{0};  // counted by the window's thread, read by a dialog's driver too
};

// --- The focus follows the pointer ---

TEST_F(PairedLists, ThePointerGivesTheFocusToTheListOnItsSideInsideTheBand) {
  const Geometry g = Read();
  // The design size: the band 53 < y < 560, the split line at 672, the digest list from 472.
  ASSERT_EQ(g.band_top, 53);
  ASSERT_EQ(g.band_bottom, 560);
  ASSERT_EQ(g.split, 672);
  ASSERT_EQ(g.digest_left, 472);
  using H = Holder;
  // clang-format off
  const std::vector<FocusCase> cases = {
      {"top edge of the band", {At::kZero, 100}, {At::kBandTop, 0}, H::kPathBox, H::kPathBox},
      {"one pixel inside the top edge", {At::kZero, 100}, {At::kBandTop, 1}, H::kPathBox, H::kFiles},
      {"the lists' first rows", {At::kZero, 100}, {At::kBandTop, -10}, H::kPathBox, H::kPathBox},
      {"top of the bottom strip", {At::kZero, 100}, {At::kBandBottom, 0}, H::kPathBox, H::kPathBox},
      {"one pixel above the bottom strip", {At::kZero, 100}, {At::kBandBottom, -1}, H::kPathBox, H::kFiles},
      {"on the split line, file list focused", {At::kSplit, 0}, {At::kMiddle, 0}, H::kFiles, H::kFiles},
      {"on the split line, digest list focused", {At::kSplit, 0}, {At::kMiddle, 0}, H::kDigests, H::kDigests},
      {"on the split line, path box focused", {At::kSplit, 0}, {At::kMiddle, 0}, H::kPathBox, H::kPathBox},
      {"one left of the split line", {At::kSplit, -1}, {At::kMiddle, 0}, H::kDigests, H::kFiles},
      {"one right of the split line", {At::kSplit, 1}, {At::kMiddle, 0}, H::kFiles, H::kDigests},
      {"over the digest list left of the split line", {At::kDigestLeft, 5}, {At::kMiddle, 0}, H::kDigests, H::kFiles},
      {"left of the window", {At::kZero, -100}, {At::kMiddle, 0}, H::kDigests, H::kFiles},
      {"right of the window", {At::kClientRight, 60}, {At::kMiddle, 0}, H::kFiles, H::kDigests},
      {"path box focused, pointer on the digest side", {At::kSplit, 40}, {At::kMiddle, 0}, H::kPathBox, H::kDigests},
      {"over the bottom strip on the digest side", {At::kSplit, 40}, {At::kBandBottom, 20}, H::kFiles, H::kFiles},
  };
  // clang-format on
  StartTicks();
  RunFocusCases(cases);
  EXPECT_GT(ticks_.load(), static_cast<int>(cases.size()));
}

TEST_F(PairedLists, TheSplitLineMovesWithTheFileListOfAMaximizedWindow) {
  const int design_split = Read().split;
  const int design_bottom = Read().band_bottom;
  ShowWindow(Form1->Handle(), SW_MAXIMIZE);
  PumpUntil(
      [&] { return Read().split > design_split + 100 && Read().band_bottom > design_bottom + 100; },
      2000);
  const Geometry g = Read();
  ASSERT_GT(g.split, design_split + 100) << "the file list takes the extra width";
  ASSERT_GT(g.band_bottom, design_bottom + 100) << "the bottom strip stays at the bottom";
  using H = Holder;
  // clang-format off
  const std::vector<FocusCase> cases = {
      {"the design size's split line + 1", {At::kZero, design_split + 1}, {At::kMiddle, 0}, H::kDigests, H::kFiles},
      {"on the moved split line", {At::kSplit, 0}, {At::kMiddle, 0}, H::kFiles, H::kFiles},
      {"on the moved split line, digest list focused", {At::kSplit, 0}, {At::kMiddle, 0}, H::kDigests, H::kDigests},
      {"one left of the moved split line", {At::kSplit, -1}, {At::kMiddle, 0}, H::kDigests, H::kFiles},
      {"one right of the moved split line", {At::kSplit, 1}, {At::kMiddle, 0}, H::kFiles, H::kDigests},
      {"one pixel above the moved bottom strip", {At::kZero, 100}, {At::kBandBottom, -1}, H::kPathBox, H::kFiles},
      {"top of the moved bottom strip", {At::kZero, 100}, {At::kBandBottom, 0}, H::kPathBox, H::kPathBox},
  };
  // clang-format on
  StartTicks();
  RunFocusCases(cases);
}

// --- The focused list's rows are copied to the other ---

TEST_F(PairedLists, TheFocusedListsTopRowAndSelectionGoToTheOther) {
  struct Case {
    const char* what;
    Holder focused;
    int top, selected;              // the focused list (the path box: the file list)
    int other_top, other_selected;  // the other list before
    int expected_top, expected_selected;
  } cases[] = {
      {"file list to digest list", Holder::kFiles, 20, 30, 0, 5, 20, 30},
      {"digest list to file list", Holder::kDigests, 35, 50, 0, -1, 35, 50},
      {"no selection clears the other's", Holder::kFiles, 0, -1, 12, 7, 0, -1},
      {"no selection in the digest list", Holder::kDigests, 3, -1, 3, 20, 3, -1},
      {"neither list focused: nothing", Holder::kPathBox, 20, 30, 0, 5, 0, 5},
  };
  Fill(files_, 100, false);
  Fill(digests_, 100, true);
  PointOutsideTheBand();
  StartTicks();
  for (const Case& c : cases) {
    HWND source = c.focused == Holder::kDigests ? digests_ : files_;
    HWND other = source == files_ ? digests_ : files_;
    Place(other, c.other_top, c.other_selected);
    Place(source, c.top, c.selected);
    SetFocus(WindowOf(c.focused));
    PumpTicksUntil(
        3, [&] { return ListStateOf(other) == Shows(c.expected_top, c.expected_selected); });
    EXPECT_EQ(ListStateOf(other), Shows(c.expected_top, c.expected_selected)) << c.what;
    EXPECT_EQ(ListStateOf(source), Shows(c.top, c.selected))
        << c.what << ": the focused list stays";
  }
}

TEST_F(PairedLists, TheTopRowIsCopiedBeforeTheSelectionAndBringsAScrolledRowBack) {
  Fill(files_, 100, false);
  Fill(digests_, 100, true);
  // The file list's selected row lies out of sight below its top rows.
  Place(files_, 10, 80);
  ASSERT_GT(80, 10 + PageRows(files_));
  PointOutsideTheBand();
  SetFocus(files_);
  MessageRecorder recorder({digests_}, {LB_SETTOPINDEX, LB_SETCURSEL});
  StartTicks();
  // Two ticks make the three requests; the ticks after them are to add none.
  PumpTicksUntil(
      5, [&] { return recorder.Messages().size() >= 3; }, 3000);
  // The selection scrolls row 80 into view; the next tick scrolls back to the file list's top.
  EXPECT_TRUE(SequenceIs(recorder, {{digests_, LB_SETTOPINDEX, kSent, 10},
                                    {digests_, LB_SETCURSEL, kSent, 80},
                                    {digests_, LB_SETTOPINDEX, kSent, 10}}));
  EXPECT_EQ(ListStateOf(digests_), Shows(10, 80));
}

TEST_F(PairedLists, AShorterOtherListRaisesNothingAndFollowsOnceItHasTheRow) {
  // The file list focused at its row 160, top row 150; the digest list grows as during a run.
  Fill(files_, 200, false);
  Place(files_, 150, 160);
  Fill(digests_, 100, true);
  Place(digests_, 0, 50);
  int clicks = 0;
  Form1->Memo2->OnClick = [&](ui::TObject*) { ++clicks; };
  Form1->FileListBox1->OnClick = [&](ui::TObject*) { ++clicks; };
  MessageBoxWatcher boxes;
  PointOutsideTheBand();
  SetFocus(files_);
  StartTicks();
  const int page = PageRows(digests_);
  ASSERT_LT(page, 50);
  struct Stage {
    int rows;
    int expected_top, expected_selected;
  } stages[] = {
      // Lacking row 160: no selection (not another row's), scrolled to its end.
      {100, 100 - page, -1},
      // The first tick after row 160 was appended selects it.
      {161, 161 - page, 160},
      // Row 160 exists, the top row 150 can't be reached yet.
      {170, 170 - page, 160},
      {200, 150, 160},
  };
  for (const Stage& s : stages) {
    Fill(digests_, s.rows, true);
    PumpTicksUntil(
        3, [&] { return ListStateOf(digests_) == Shows(s.expected_top, s.expected_selected); });
    EXPECT_EQ(ListStateOf(digests_), Shows(s.expected_top, s.expected_selected))
        << s.rows << " rows";
  }
  EXPECT_EQ(ListStateOf(files_), Shows(150, 160));
  boxes.Join();
  EXPECT_EQ(boxes.Count(), 0) << "no error was shown";
  EXPECT_EQ(clicks, 0) << "copying raises no click";
}

TEST_F(PairedLists, AnIdleWindowWithThePointerInTheBandDoesNothing) {
  struct Case {
    const char* what;
    Coord x;
    int digest_rows;  // fewer than the file list's: the digest list lacks the rows asked for
    HWND expected_focus;
  } cases[] = {
      {"pointer on the file list's side", {At::kZero, 100}, 100, files_},
      {"pointer on the digest list's side", {At::kSplit, 40}, 100, digests_},
      {"file list focused, digest list shorter", {At::kZero, 100}, 10, files_},
      {"digest list focused, file list longer", {At::kSplit, 40}, 10, digests_},
  };
  StartTicks();
  for (const Case& c : cases) {
    SendMessageA(files_, LB_RESETCONTENT, 0, 0);
    SendMessageA(digests_, LB_RESETCONTENT, 0, 0);
    Fill(files_, 100, false);
    Fill(digests_, c.digest_rows, true);
    Place(files_, 40, 60);
    const Geometry g = Read();
    PointAt(Resolve(c.x, g), Resolve({At::kMiddle, 0}, g));
    // The focus moves and the lists are copied.
    PumpTicksUntil(
        5, [&] { return GetFocus() == c.expected_focus; }, 3000);
    ASSERT_EQ(GetFocus(), c.expected_focus) << c.what;
    MessageRecorder recorder({files_, digests_, Form1->Handle()},
                             {LB_SETCURSEL, LB_SETTOPINDEX, WM_SETFOCUS, WM_KILLFOCUS, WM_PAINT,
                              WM_NCPAINT, WM_ERASEBKGND, WM_WINDOWPOSCHANGING});
    ListFocusCalls focus(files_, digests_);
    const int ticks = ticks_;
    // Nothing is to happen: as many ticks as the timer is asked to have run, each a chance.
    PumpTicks(31, 10000);
    EXPECT_GT(ticks_ - ticks, 30) << c.what << ": the timer ticked";
    EXPECT_TRUE(NothingSent(recorder)) << c.what;
    EXPECT_EQ(focus.Count(), 0) << c.what;
    EXPECT_EQ(GetFocus(), c.expected_focus) << c.what;
  }
}

// A row the list lacks: no error, no click, no selection, the list at its end; and asked again,
// the list is sent nothing, since it already shows what it can.
TEST_F(PairedLists, AListAskedForARowItLacksShowsNoSelectionAndItsEndOnce) {
  ui::TListBox* list = Form1->Memo2;
  HWND window = list->Handle();
  Fill(window, 100, true);
  const int last_top = 100 - PageRows(window);
  ASSERT_GT(last_top, 0);
  int clicks = 0;
  list->OnClick = [&](ui::TObject*) { ++clicks; };
  struct Case {
    const char* what;
    bool selection;  // the selection, or the top row
    int requested;
    int expected;
  } cases[] = {
      {"selection one past the last row", true, 100, -1},
      {"selection far beyond", true, 5000, -1},
      {"selection below -1", true, -7, -1},
      {"selection of the last row", true, 99, 99},
      {"top row one past the last row", false, 100, last_top},
      {"top row far beyond", false, 5000, last_top},
      {"top row that can't be reached", false, last_top + 1, last_top},
      {"top row below 0", false, -3, 0},
      {"top row the list can reach", false, 10, 10},
  };
  for (const Case& c : cases) {
    SendMessageA(window, LB_SETCURSEL, 50, 0);
    SendMessageA(window, LB_SETTOPINDEX, 30, 0);
    const UINT message = c.selection ? LB_SETCURSEL : LB_SETTOPINDEX;
    MessageRecorder recorder({window}, {message});
    for (int twice = 0; twice < 2; ++twice) {
      if (c.selection)
        EXPECT_NO_THROW(list->SetItemIndex(c.requested)) << c.what;
      else
        EXPECT_NO_THROW(list->SetTopIndex(c.requested)) << c.what;
    }
    const ListState shown = ListStateOf(window);
    EXPECT_EQ(c.selection ? shown.selected : shown.top, c.expected) << c.what;
    EXPECT_EQ(recorder.Count(window, message), 1) << c.what << ": one request, then none";
  }
  Pump(30);  // no click is to come: a click the requests raised would be handled by now
  EXPECT_EQ(clicks, 0);
}

// --- Selecting a row ---

TEST_F(PairedLists, SelectingARowShowsItsPositionTheOtherListsRowAndItsDigest) {
  struct Case {
    const char* what;
    bool in_digests;  // the list clicked
    int row;
    int digest_rows;      // 0: before any run
    int digest_selected;  // the digest list's selection before
    std::string expected_label;
    int expected_other;
    bool shows_digest;  // false: edt1 keeps its earlier text
  } cases[] = {
      {"fifth digest row of ten", true, 4, 10, -1, PositionText(5, 10), 4, true},
      {"third file row of ten", false, 2, 10, -1, PositionText(3, 10), 2, true},
      {"last digest row", true, 9, 10, 2, PositionText(10, 10), 9, true},
      {"a file row before any run", false, 6, 0, -1, PositionText(7, 10), -1, false},
      {"a file row beyond a stopped run", false, 7, 5, 3, PositionText(8, 10), -1, false},
  };
  const std::string earlier = "earlier text";
  for (const Case& c : cases) {
    SendMessageA(files_, LB_RESETCONTENT, 0, 0);
    SendMessageA(digests_, LB_RESETCONTENT, 0, 0);
    Fill(files_, 10, false);
    Fill(digests_, c.digest_rows, true);
    SendMessageA(digests_, LB_SETCURSEL, static_cast<WPARAM>(c.digest_selected), 0);
    SetWindowTextA(Form1->edt1->Handle(), earlier.c_str());
    HWND clicked = c.in_digests ? digests_ : files_;
    HWND other = c.in_digests ? files_ : digests_;
    SetFocus(clicked);
    ClickRow(clicked, c.row);
    ASSERT_EQ(ListStateOf(clicked).selected, c.row) << c.what;
    EXPECT_EQ(WindowTextOf(Form1->lbl3->Handle()), c.expected_label) << c.what;
    EXPECT_EQ(ListStateOf(other).selected, c.expected_other) << c.what;
    EXPECT_EQ(WindowTextOf(Form1->edt1->Handle()), c.shows_digest ? DigestRow(c.row) : earlier)
        << c.what;
  }
}

TEST_F(PairedLists, ArrowKeysThroughTheDigestListUpdateThePositionAtEachKey) {
  Fill(files_, 10, false);
  Fill(digests_, 10, true);
  SetFocus(digests_);
  ClickRow(digests_, 0);
  ASSERT_EQ(WindowTextOf(Form1->lbl3->Handle()), PositionText(1, 10));
  struct Step {
    WPARAM key;
    int expected_row;
  } steps[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_DOWN, 3}, {VK_UP, 2},
               {VK_END, 9},  {VK_UP, 8},   {VK_HOME, 0}, {VK_DOWN, 1}};
  for (const Step& s : steps) {
    Key(digests_, s.key);
    EXPECT_EQ(WindowTextOf(Form1->lbl3->Handle()), PositionText(s.expected_row + 1, 10))
        << "key " << s.key << " to row " << s.expected_row;
    EXPECT_EQ(ListStateOf(files_).selected, s.expected_row);
    EXPECT_EQ(WindowTextOf(Form1->edt1->Handle()), DigestRow(s.expected_row));
  }
}

// --- No focus is taken from a modal window of the program or from a window in front ---

TEST_F(PairedLists, TheFocusStaysInAnOpenDialogOrMessageBoxOfTheProgram) {
  struct Case {
    const char* what;
    std::function<void()> open;
    int close_id;
  } cases[] = {
      {"save dialog", [] { Form1->dlgOpen1->Execute(); }, IDCANCEL},
      {"folder picker",
       [] {
         std::string path;
         BrowseForFolder(texts::kPickerTitle, L"", path, Form1->Handle(), BIF_RETURNONLYFSDIRS);
       },
       IDCANCEL},
      {"error box", [] { ui::ShowException(vorlund::Exception("Stream write error")); }, IDOK},
  };
  Fill(files_, 50, false);
  Fill(digests_, 50, true);
  StartTicks();
  const DWORD thread = GetCurrentThreadId();
  for (const Case& c : cases) {
    for (Coord x : {Coord{At::kZero, 100}, Coord{At::kSplit, 40}}) {
      SetForegroundWindow(Form1->Handle());
      SetFocus(Form1->Edit1->Handle());
      PumpUntil(
          [] {
            return GetForegroundWindow() == Form1->Handle() && GetFocus() == Form1->Edit1->Handle();
          },
          2000);
      const Geometry g = Read();
      PointAt(Resolve(x, g), Resolve({At::kMiddle, 0}, g));
      std::atomic<int> samples{0}, outside{0}, focus_calls{-1};
      ListFocusCalls focus(files_, digests_);
      DialogDriver driver([&](HWND dialog, const DialogSeen&) {
        const int calls = focus.Count();
        const int ticks_before = ticks_;
        // Watch the program's focus over more than 30 ticks and samples (nothing is to move it,
        // so the watch lasts as long as the counts asked for below), then close the window.
        for (DWORD end = GetTickCount() + 10000; (ticks_ - ticks_before <= 30 || samples <= 30) &&
                                                 static_cast<LONG>(GetTickCount() - end) < 0;) {
          GUITHREADINFO info = {};
          info.cbSize = sizeof info;
          GetGUIThreadInfo(thread, &info);
          ++samples;
          if (info.hwndFocus != dialog && !IsChild(dialog, info.hwndFocus)) ++outside;
          Sleep(10);
        }
        focus_calls = focus.Count() - calls;
        return c.close_id;
      });
      const int ticks = ticks_;
      c.open();
      driver.Join();
      ASSERT_TRUE(driver.Answered()) << c.what;
      EXPECT_GT(ticks_ - ticks, 30) << c.what << ": the timer ticked meanwhile";
      EXPECT_GT(samples.load(), 30) << c.what;
      EXPECT_EQ(outside.load(), 0) << c.what << ": the focus left the window";
      EXPECT_EQ(focus_calls.load(), 0) << c.what << ": the tick asked for a list's focus";
    }
  }
}

TEST_F(PairedLists, AnotherWindowInFrontKeepsTheFocusAndTheMainWindowStaysBehind) {
  Fill(files_, 50, false);
  Fill(digests_, 50, true);
  StartTicks();
  for (Coord x : {Coord{At::kZero, 100}, Coord{At::kSplit, 40}}) {
    TestWindow front(TestWindowOptions::TopLevelAt("in front", 400, 300, 300, 200));
    SetForegroundWindow(front.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front.Handle(); }, 2000));
    SetFocus(front.Handle());
    const Geometry g = Read();
    PointAt(Resolve(x, g), Resolve({At::kMiddle, 0}, g));
    MessageRecorder recorder({Form1->Handle(), files_, digests_}, {WM_ACTIVATE, WM_SETFOCUS});
    ListFocusCalls focus(files_, digests_);
    const int ticks = ticks_;
    // Nothing is to happen: as many ticks as the timer is asked to have run, each a chance.
    PumpTicks(31, 10000);
    EXPECT_GT(ticks_ - ticks, 30) << "the timer ticked";
    EXPECT_EQ(GetForegroundWindow(), front.Handle());
    EXPECT_EQ(GetActiveWindow(), front.Handle());
    EXPECT_EQ(GetFocus(), front.Handle());
    EXPECT_TRUE(NothingSent(recorder));
    EXPECT_EQ(focus.Count(), 0);
  }
}

}  // namespace
}  // namespace vorlund::testing
