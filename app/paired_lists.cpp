// The two lists as one table: the focus follows the pointer, the lists keep the same top row and
// selected row, and selecting a row shows its position and its digest.
#include <string>

#include "app/form1.h"
#include "app/tick_rules.h"
#include "common/text_rules.h"

namespace {

// The top row first: a selection copied afterwards scrolls only when its row is out of sight.
void CopyRows(const ui::TListBox& from, ui::TListBox& to) {
  to.SetTopIndex(from.TopIndex());
  to.SetItemIndex(from.ItemIndex());
}

}  // namespace

bool TForm1::GetPointerInClient(POINT& point) const {
  POINT screen;
  if (!GetCursorPos(&screen)) return false;
  ScreenToClient(Handle(), &screen);
  point = screen;
  return true;
}

void TForm1::FollowPointer() {
  tick::FocusInput input;
  POINT pointer;
  input.pointer_known = GetPointerInClient(pointer);
  if (input.pointer_known) {
    input.x = pointer.x;
    input.y = pointer.y;
  }
  // Only while the user's keys come to this window: not under a dialog or message box of the
  // program, nor while another window is in front, which the focus would otherwise pull back.
  input.window_active = Active();
  input.focused = FocusedList();
  // Where the lists lie now: they move when the window is resized.
  const ui::TBounds files = FileListBox1->Bounds();
  const tick::Geometry geometry{pnl1->Top(), pnl3->Top(), files.left, files.width};
  switch (tick::FocusTarget(geometry, input)) {
    case tick::List::kFiles:
      FileListBox1->SetFocus();
      break;
    case tick::List::kDigests:
      Memo2->SetFocus();
      break;
    case tick::List::kNone:
      break;
  }
}

void TForm1::SyncLists() {
  switch (FocusedList()) {
    case tick::List::kFiles:
      CopyRows(*FileListBox1, *Memo2);
      break;
    case tick::List::kDigests:
      CopyRows(*Memo2, *FileListBox1);
      break;
    case tick::List::kNone:
      break;
  }
}

tick::List TForm1::FocusedList() const {
  // One focus query for both lists.
  HWND focus = GetFocus();
  if (focus && focus == FileListBox1->Handle()) return tick::List::kFiles;
  if (focus && focus == Memo2->Handle()) return tick::List::kDigests;
  return tick::List::kNone;
}

void TForm1::Memo2Click(ui::TObject* /*Sender*/) {
  lbl3->SetCaption(vorlund::PositionText(Memo2->ItemIndex() + 1, FileListBox1->Items().Count()));
  FileListBox1->SetItemIndex(Memo2->ItemIndex());
  ShowSelectedDigest();
}

void TForm1::FileListBox1Click(ui::TObject* /*Sender*/) {
  lbl3->SetCaption(
      vorlund::PositionText(FileListBox1->ItemIndex() + 1, FileListBox1->Items().Count()));
  Memo2->SetItemIndex(FileListBox1->ItemIndex());
  ShowSelectedDigest();
}

void TForm1::ShowSelectedDigest() {
  const int row = Memo2->ItemIndex();
  if (row >= 0 && row < Memo2->Items().Count()) edt1->SetText(Memo2->Items().Get(row));
}
