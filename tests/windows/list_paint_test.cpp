// Rows appended to a list between two turns of the message loop show at the next turn that
// paints, and that turn paints only what changed: what the screen shows of the list is, after
// each such turn, what the list paints of itself, while rows below the visible part repaint
// nothing but the scroll bar and a turn with nothing new repaints nothing. A pump paints at most
// once per display frame, told by a clock of the test's own, and handles input at every turn.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collect/scanner.h"
#include "collect_testing.h"
#include "common/handles.h"
#include "form_fixture.h"
#include "message_recorder.h"
#include "test_window.h"
#include "ui/frame_gate.h"
#include "ui/gauge.h"

namespace vorlund::testing {
namespace {

// The pixels of a window's client area: as the screen shows them, or as the window paints
// itself now into a picture of its own.
std::vector<COLORREF> Pixels(HWND window, bool painted_anew) {
  RECT client;
  GetClientRect(window, &client);
  WindowDc screen(window);
  MemoryDc picture(CreateCompatibleDC(screen.Get()));
  GdiObject<HBITMAP> bits(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  Selection selected(picture.Get(), bits.Get());
  if (painted_anew) {
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Get()),
                 PRF_CLIENT | PRF_ERASEBKGND);
  } else {
    BitBlt(picture.Get(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
  }
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(picture.Get(), x, y));
  return pixels;
}

// The pixels of a list's vertical scroll bar as the screen shows them.
std::vector<COLORREF> ScrollBarPixels(HWND list) {
  SCROLLBARINFO bar = {};
  bar.cbSize = sizeof bar;
  RECT window;
  if (!GetScrollBarInfo(list, OBJID_VSCROLL, &bar) || !GetWindowRect(list, &window)) return {};
  OffsetRect(&bar.rcScrollBar, -window.left, -window.top);
  HDC screen = GetWindowDC(list);
  std::vector<COLORREF> pixels;
  for (int y = bar.rcScrollBar.top; y < bar.rcScrollBar.bottom; ++y)
    for (int x = bar.rcScrollBar.left; x < bar.rcScrollBar.right; ++x)
      pixels.push_back(GetPixel(screen, x, y));
  ReleaseDC(list, screen);
  return pixels;
}

// Whether the screen shows the list's scroll bar as the list draws it now; it then shows it so.
bool ScrollBarShownAsDrawn(HWND list) {
  const std::vector<COLORREF> shown = ScrollBarPixels(list);
  RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  return shown == ScrollBarPixels(list);
}

// Dispatches only the posted messages: the list takes its redraw back, nothing is painted yet.
void TakePosted() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE))
    DispatchMessageA(&message);
}

class ListPaint : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    list_ = Form1->FileListBox1;
    Pump(50);
  }
  void Append(int rows) {
    for (int i = 0; i < rows; ++i) list_->Items().Add("Z:\\rows\\row " + std::to_string(next_++));
  }
  // After a turn of the loop: the screen shows the rows the list holds, its scroll range too.
  void ExpectShownAsHeld() { ExpectShownAsHeld(list_); }
  void ExpectShownAsHeld(ui::TListBox* list) {
    EXPECT_TRUE(Pixels(list->Handle(), false) == Pixels(list->Handle(), true))
        << "the screen does not show what the list holds";
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    const int rows = list->Items().Count();
    if (rows > PageRows(list_->Handle())) {
      ASSERT_TRUE(GetScrollInfo(list->Handle(), SB_VERT, &info));
      EXPECT_EQ(info.nMax, rows - 1);
    }
  }
  ui::TListBox* list_ = nullptr;
  int next_ = 0;
};

TEST_F(ListPaint, AppendedRowsShowAtTheNextTurnAndOnlyTheyArePainted) {
  const int page = PageRows(list_->Handle());
  ASSERT_GT(page, 10);
  struct Step {
    const char* what;
    int rows;        // appended before the turn
    bool in_view;    // some of them come into view
    bool selection;  // the list is given a selection first, in the same turn
    bool new_frame;  // the scroll bar comes: the whole list paints anew
  } steps[] = {
      {"the first rows of an empty list", 3, true, false, true},
      {"rows into the visible part", 5, true, false, false},
      {"rows that fill the view and go past it", page, true, false, true},
      {"rows below the visible part", 40, false, false, false},
      {"many rows below the visible part", 500, false, false, false},
      {"rows below, with a selection made in the same turn", 7, false, true, false},
      {"one row below", 1, false, false, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const int before = list_->Items().Count();
    if (step.selection) list_->SetItemIndex(2);
    Append(step.rows);
    MessageRecorder paints({list_->Handle()}, {WM_PAINT, WM_ERASEBKGND});
    TakePosted();
    RECT invalid = {};
    const bool any = GetUpdateRect(list_->Handle(), &invalid, FALSE) != 0;
    if (!step.new_frame && !step.selection) {
      // The rows before are not painted again: what waits to be painted starts at the first
      // new row, or there is nothing at all.
      RECT first = {};
      SendMessageA(list_->Handle(), LB_GETITEMRECT, before, reinterpret_cast<LPARAM>(&first));
      EXPECT_EQ(any, step.in_view);
      if (any) {
        EXPECT_GE(invalid.top, first.top);
      }
    }
    Pump(30);
    if (!step.in_view && !step.selection) {
      EXPECT_TRUE(NothingSent(paints)) << "rows out of view repaint only the scroll bar";
    }
    ExpectShownAsHeld();
  }
}

TEST_F(ListPaint, ATurnWithNothingNewRepaintsNothing) {
  Append(PageRows(list_->Handle()) * 3);
  Pump(50);
  MessageRecorder paints({list_->Handle(), Form1->Memo2->Handle(), Form1->Handle()},
                         {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND});
  // Nothing is to be painted: what waited would be painted at the first pump a frame on.
  Pump(50);
  EXPECT_TRUE(NothingSent(paints));
}

TEST_F(ListPaint, RowsEmptiedAndListedAnewInOneTurnShowAsListed) {
  Append(PageRows(list_->Handle()) * 2);
  Pump(30);
  list_->Items().Clear();
  next_ = 1000;  // other texts, the same count
  Append(PageRows(list_->Handle()) * 2);
  Pump(30);
  ExpectShownAsHeld();
}

TEST_F(ListPaint, AListingShowsWhatItFoundAtEachPump) {
  collect_testing::TempTree tree("list-paint");
  for (int folder = 0; folder < 6; ++folder) {
    const std::string name = "f" + std::to_string(folder);
    tree.Folder(name);
    for (int file = 0; file < 12; ++file) tree.File(name + "\\file " + std::to_string(file));
  }
  Form1->chk1->SetChecked(true);
  // A frame passes between any two pumps: each of them paints.
  FrameClockOfTest frames(ui::kFrameMicroseconds);
  // At each pump, once what it is to paint is painted, the screen shows every row found so far.
  int checks = 0;
  TestWindow check([&] {
    ++checks;
    UpdateWindow(list_->Handle());  // what this pump is to paint, painted now
    ExpectShownAsHeld();
  });
  MessageRecorder adds({list_->Handle()}, {LB_ADDSTRING});
  adds.OnSent(list_->Handle(), LB_ADDSTRING, [&] { check.PostOnce(); });
  ScanFolder(tree.Root(), list_->Items());
  Pump(30);
  ExpectShownAsHeld();
  EXPECT_EQ(list_->Items().Count(), 72);
  EXPECT_GE(checks, 5);
}

TEST_F(ListPaint, APumpPaintsOnlyWhenAFrameHasPassedSinceTheLastThatPaintedAndTakesInputAlways) {
  constexpr std::uint64_t kFrame = ui::kFrameMicroseconds;
  // clang-format off
  struct Case {
    const char* what;
    std::uint64_t step;  // the clock's move from one pump to the next
    std::vector<bool> paints;
  } cases[] = {
      {"a clock that stands still", 0, {true, false, false, false, false, false, false, false}},
      {"a frame between pumps", kFrame, {true, true, true, true, true, true, true, true}},
      {"just over half a frame", kFrame / 2 + 1, {true, false, true, false, true, false, true, false}},
      {"just under a frame", kFrame - 1, {true, false, true, false, true, false, true, false}},
      {"just over a quarter", kFrame / 4 + 1, {true, false, false, false, true, false, false, false}},
      {"three frames", 3 * kFrame, {true, true, true, true, true, true, true, true}},
  };
  // clang-format on
  ui::TLabel* label = Form1->lbl3;
  const HWND gauge = Form1->Gauge1->Handle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list_->Items().Clear();
    Pump(30);
    FrameClockOfTest clock(c.step);
    int inputs = 0;
    TestWindow input([&] { ++inputs; });
    for (size_t pump = 0; pump < c.paints.size(); ++pump) {
      SCOPED_TRACE(::testing::Message() << "pump " << pump);
      // Something of each kind waits to be painted: rows in view, the label's new text, the
      // gauge uncovered.
      Append(3);
      label->SetCaption("pump " + std::to_string(pump));
      InvalidateRect(gauge, nullptr, FALSE);
      input.Post();
      MessageRecorder paints({list_->Handle(), label->Handle(), gauge}, {WM_PAINT, WM_ERASEBKGND});
      ui::Application->ProcessMessages();
      EXPECT_EQ(inputs, static_cast<int>(pump) + 1) << "input waits for a pump that paints";
      if (c.paints[pump]) {
        EXPECT_GE(paints.Count(list_->Handle(), WM_PAINT), 1);
        EXPECT_GE(paints.Count(label->Handle(), WM_PAINT), 1);
        EXPECT_GE(paints.Count(gauge, WM_PAINT), 1);
        ExpectShownAsHeld();
      } else {
        EXPECT_TRUE(NothingSent(paints)) << "a pump within a frame of the last paint painted";
      }
    }
    // A frame later, the next pump shows everything.
    clock.Advance(kFrame);
    ui::Application->ProcessMessages();
    ExpectShownAsHeld();
    EXPECT_EQ(WindowTextOf(label->Handle()), "pump " + std::to_string(c.paints.size() - 1));
  }
}

// A scroll bar that costs 10 ms to draw is drawn at a pump that paints, then not again for 90 ms
// (the pumps' own rows still show); what is owed is drawn at the first pump after the wait, by
// the list's Update, or by its timer should no pump come.
TEST_F(ListPaint, AScrollBarDearToDrawIsDrawnAtItsPaceAndAlwaysInTheEnd) {
  constexpr std::uint64_t kCost = 10000;
  const int page = PageRows(list_->Handle());
  struct Case {
    const char* what;
    std::function<void(DrawClockOfTest&)> settle;
  } cases[] = {
      {"the first pump after the wait",
       [&](DrawClockOfTest& cost) {
         cost.Advance(9 * kCost);
         Append(1);
         ui::Application->ProcessMessages();
       }},
      {"the list's Update", [&](DrawClockOfTest&) { list_->Update(); }},
      {"the timer, with no pump to come",
       [&](DrawClockOfTest&) {
         const std::vector<COLORREF> before = ScrollBarPixels(list_->Handle());
         PumpUntil([&] { return ScrollBarPixels(list_->Handle()) != before; }, 2000);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list_->Items().Clear();
    Append(page + 1);
    Pump(30);
    FrameClockOfTest frames(ui::kFrameMicroseconds);  // every pump paints
    DrawClockOfTest cost(kCost);
    Append(page);
    ui::Application->ProcessMessages();
    EXPECT_TRUE(ScrollBarShownAsDrawn(list_->Handle())) << "the first drawing is due at once";
    const std::vector<COLORREF> drawn = ScrollBarPixels(list_->Handle());
    Append(page * 2);
    ui::Application->ProcessMessages();
    ExpectShownAsHeld();
    EXPECT_TRUE(ScrollBarPixels(list_->Handle()) == drawn) << "drawn again within its wait";
    c.settle(cost);
    EXPECT_TRUE(ScrollBarShownAsDrawn(list_->Handle()));
    EXPECT_FALSE(ScrollBarPixels(list_->Handle()) == drawn) << "the thumb did not change";
  }
}

TEST_F(ListPaint, RowsThatAPumpLeftUnpaintedShowInTheNextLoopOfAnyKind) {
  FrameClockOfTest still;
  ui::Application->ProcessMessages();  // the pump that paints; the clock stands still after it
  Append(PageRows(list_->Handle()) / 2);
  ui::Application->ProcessMessages();
  EXPECT_FALSE(Pixels(list_->Handle(), false) == Pixels(list_->Handle(), true))
      << "the rows showed at a pump that does not paint";
  // The main loop, a modal dialog's loop: not paced.
  DispatchWaiting();
  ExpectShownAsHeld();
}

// A listing and a run whose pumps all come within one frame: their pumps paint nothing, yet each
// of them handles what waits; once the handler has returned, the list shows all its rows.
TEST_F(ListPaint, AnOperationWithinOneFramePaintsAtNoPumpAndShowsAllAtItsEnd) {
  collect_testing::TempTree tree("list-paint-frame");
  for (int folder = 0; folder < 8; ++folder) {
    const std::string name = "f" + std::to_string(folder);
    tree.Folder(name);
    for (int file = 0; file < 10; ++file) tree.File(name + "\\file " + std::to_string(file));
  }
  Form1->chk1->SetChecked(true);
  FrameClockOfTest still;
  ui::Application->ProcessMessages();  // the pump that paints; the clock stands still after it
  struct Case {
    const char* what;
    ui::TListBox* list;
    std::function<void()> operation;
  } cases[] = {
      {"the path box's listing", Form1->FileListBox1, [&] { Form1->Edit1->SetText(tree.Root()); }},
      {"the digest run", Form1->Memo2,
       [&] { SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MessageRecorder paints({c.list->Handle(), Form1->lbl3->Handle()}, {WM_PAINT, WM_ERASEBKGND});
    int pumps = 0;
    TestWindow probe([&] {
      ++pumps;
      EXPECT_TRUE(NothingSent(paints)) << "a pump within the frame painted";
    });
    MessageRecorder adds({c.list->Handle()}, {LB_ADDSTRING});
    adds.OnSent(c.list->Handle(), LB_ADDSTRING, [&] { probe.PostOnce(); });
    c.operation();
    EXPECT_EQ(c.list->Items().Count(), 80);
    EXPECT_GE(pumps, 5);
    ExpectShownAsHeld(c.list);
  }
}

}  // namespace
}  // namespace vorlund::testing
