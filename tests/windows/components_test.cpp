// What the program relies on of its components, exercised on the real window's controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/errors.h"
#include "form_fixture.h"
#include "message_recorder.h"

namespace vorlund::testing {
namespace {

class Components : public FormTest {
 protected:
  void Fill(ui::TListBox* list, int rows) {
    for (int i = 0; i < rows; ++i) list->Items().Add("row " + std::to_string(i));
  }
};

TEST_F(Components, ListRowsAreReadBackAndMissingRowsRaiseTheIndexError) {
  ui::TStrings& rows = Form1->FileListBox1->Items();
  rows.Add("Z:\\b.txt");
  rows.Add("Z:\\a.txt");
  rows.Add("Z:\\a.txt");  // duplicates stay, order stays
  ASSERT_EQ(rows.Count(), 3);
  EXPECT_EQ(rows.Get(0), "Z:\\b.txt");
  EXPECT_EQ(rows.Get(2), "Z:\\a.txt");
  for (int bad : {3, 4, -1}) {
    SCOPED_TRACE(bad);
    try {
      rows.Get(bad);
      ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
  rows.Clear();
  EXPECT_EQ(rows.Count(), 0);
}

TEST_F(Components, SelectionAndTopRowSettersReadFirstAndRaiseNoClick) {
  ui::TListBox* list = Form1->Memo2;
  Fill(list, 200);
  int clicks = 0;
  list->OnClick = [&](ui::TObject*) { ++clicks; };
  MessageRecorder sent({list->Handle()});
  list->SetItemIndex(5);
  list->SetItemIndex(5);  // equal: nothing sent
  EXPECT_EQ(sent.Count(list->Handle(), LB_SETCURSEL), 1);
  EXPECT_EQ(list->ItemIndex(), 5);
  list->SetTopIndex(40);
  list->SetTopIndex(40);
  EXPECT_EQ(sent.Count(list->Handle(), LB_SETTOPINDEX), 1);
  EXPECT_EQ(list->TopIndex(), 40);
  // Beyond the last row: no error.
  EXPECT_NO_THROW(list->SetItemIndex(500));
  EXPECT_NO_THROW(list->SetTopIndex(500));
  list->SetItemIndex(-1);
  EXPECT_EQ(list->ItemIndex(), -1);
  Pump(20);  // no click is to come: one raised by the calls above would be handled by now
  EXPECT_EQ(clicks, 0) << "setting from code raises no click";
}

TEST_F(Components, UserSelectionRaisesTheClickEvent) {
  ui::TListBox* list = Form1->FileListBox1;
  Fill(list, 20);
  int clicks = 0;
  list->OnClick = [&](ui::TObject*) { ++clicks; };
  list->SetFocus();
  PostMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12 * 3 + 5));
  PostMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 12 * 3 + 5));
  PumpUntil([&] { return list->ItemIndex() == 3; }, 1000);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(clicks, 1);
  PostMessageA(list->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  PumpUntil([&] { return list->ItemIndex() == 4; }, 1000);
  EXPECT_EQ(list->ItemIndex(), 4);
  EXPECT_EQ(clicks, 2);
}

TEST_F(Components, AddedRowsShowAtTheNextTurnOfTheLoop) {
  ui::TListBox* list = Form1->FileListBox1;
  Pump(50);
  auto inked = [&] {
    // Dark pixels in the first row's area: its text has been drawn.
    HDC dc = GetDC(list->Handle());
    int dark = 0;
    for (int x = 2; x < 120; ++x)
      for (int y = 1; y < 12; ++y) {
        COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) ++dark;
      }
    ReleaseDC(list->Handle(), dc);
    return dark;
  };
  EXPECT_EQ(inked(), 0);
  Fill(list, 300);
  PumpUntil([&] { return inked() > 10; }, 1000);
  EXPECT_GT(inked(), 10);
  EXPECT_TRUE(GetWindowLongA(list->Handle(), GWL_STYLE) & WS_VSCROLL);
  // Update draws at once, without the loop.
  list->Items().Clear();
  list->Update();
  EXPECT_EQ(inked(), 0);
  list->Items().Add("Z:\\drawn\\at\\once.txt");
  list->Update();
  EXPECT_GT(inked(), 10);
}

TEST_F(Components, EditChangeRunsOnceSynchronouslyAndOnlyForANewText) {
  ui::TEdit* edit = Form1->Edit1;
  std::vector<std::string> seen;
  edit->OnChange = [&](ui::TObject*) { seen.push_back(edit->Text()); };
  edit->SetText("C:\\dir");
  ASSERT_EQ(seen.size(), 1u) << "before the assignment returns";
  EXPECT_EQ(seen[0], "C:\\dir");
  edit->SetText("C:\\dir");
  EXPECT_EQ(seen.size(), 1u) << "the same text runs nothing";
  // Typing runs it too.
  edit->SetFocus();
  SendMessageA(edit->Handle(), EM_SETSEL, 6, 6);
  PostMessageA(edit->Handle(), WM_CHAR, 'x', 1);
  PumpUntil([&] { return seen.size() >= 2; }, 1000);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], "C:\\dirx");
  // A change handler that assigns a new text runs nested, inside the assignment.
  int depth = 0, deepest = 0;
  edit->OnChange = [&](ui::TObject*) {
    deepest = std::max(deepest, ++depth);
    if (edit->Text() == "a ") edit->SetText("a");
    --depth;
  };
  edit->SetText("a ");
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(edit->Text(), "a");
}

TEST_F(Components, CheckBoxLabelAndTimer) {
  EXPECT_FALSE(Form1->chk1->Checked());
  PostMessageA(Form1->chk1->Handle(), BM_CLICK, 0, 0);
  PumpUntil([] { return Form1->chk1->Checked(); }, 1000);
  EXPECT_TRUE(Form1->chk1->Checked());

  // A label takes the width of its new caption.
  const int before = Form1->lbl3->Width();
  Form1->lbl3->SetCaption("x");
  EXPECT_LT(Form1->lbl3->Width(), before);
  EXPECT_GT(Form1->lbl3->Width(), 0);

  int ticks = 0;
  Form1->tmr1->OnTimer = [&](ui::TObject*) { ++ticks; };
  Form1->tmr1->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 5; }, 2000));
  Form1->tmr1->SetEnabled(false);
  const int stopped = ticks;
  Pump(50);  // no tick is to come: five of its 10 ms intervals pass
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, NoTimerLeftRaisesTheTimerError) {
  TestApplication();
  ui::TTimer timer(10);
  timer.OnTimer = [](ui::TObject*) {};
  RefuseTimers refuse;
  try {
    timer.SetEnabled(true);
    ADD_FAILURE() << "no error";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(e.Message(), "Not enough timers available");
  }
  EXPECT_FALSE(timer.Enabled());
}

}  // namespace
}  // namespace vorlund::testing
