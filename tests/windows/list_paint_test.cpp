// Rows appended to a list between two turns of the message loop show at the next turn, and
// that turn paints only what changed: what the screen shows of the list is, after each turn,
// what the list paints of itself, while rows below the visible part repaint nothing but the
// scroll bar and a turn with nothing new repaints nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "collect/scanner.h"
#include "collect_testing.h"
#include "common/handles.h"
#include "form_fixture.h"
#include "message_recorder.h"
#include "test_window.h"

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
  int VisibleRows() const {
    RECT client;
    GetClientRect(list_->Handle(), &client);
    return client.bottom / static_cast<int>(SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, 0, 0));
  }
  // After a turn of the loop: the screen shows the rows the list holds, its scroll range too.
  void ExpectShownAsHeld() {
    EXPECT_TRUE(Pixels(list_->Handle(), false) == Pixels(list_->Handle(), true))
        << "the screen does not show what the list holds";
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    const int rows = list_->Items().Count();
    if (rows > VisibleRows()) {
      ASSERT_TRUE(GetScrollInfo(list_->Handle(), SB_VERT, &info));
      EXPECT_EQ(info.nMax, rows - 1);
    }
  }
  ui::TListBox* list_ = nullptr;
  int next_ = 0;
};

TEST_F(ListPaint, AppendedRowsShowAtTheNextTurnAndOnlyTheyArePainted) {
  const int page = VisibleRows();
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
      EXPECT_TRUE(SequenceIs(paints, {})) << "rows out of view repaint only the scroll bar";
    }
    ExpectShownAsHeld();
  }
}

TEST_F(ListPaint, ATurnWithNothingNewRepaintsNothing) {
  Append(VisibleRows() * 3);
  Pump(50);
  MessageRecorder paints({list_->Handle(), Form1->Memo2->Handle(), Form1->Handle()},
                         {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND});
  Pump(300);
  EXPECT_TRUE(SequenceIs(paints, {}));
}

TEST_F(ListPaint, RowsEmptiedAndListedAnewInOneTurnShowAsListed) {
  Append(VisibleRows() * 2);
  Pump(30);
  list_->Items().Clear();
  next_ = 1000;  // other texts, the same count
  Append(VisibleRows() * 2);
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

}  // namespace
}  // namespace vorlund::testing
