// The digest run: one click digests every listed file into the digest list.
#include <windows.h>

#include <string>

#include "app/form1.h"
#include "app/gauge_states.h"
#include "app/long_operation.h"
#include "common/texts.h"
#include "digest/file_digest.h"
#include "ui/gauge.h"

// Row i of Memo2 gets the digest of row i of FileListBox1. The run pumps after rows 0, 16,
// 32 ...; meanwhile the file list must keep its rows, or the digests would not pair with them.
void TForm1::Button1Click(ui::TObject* /*Sender*/) {
  // A run or a listing in progress starts no run.
  if (vorlund::LongOperation::AnyInProgress()) return;
  // The controls that would refill the file list are disabled while the run goes.
  vorlund::LongOperation run(vorlund::Operation::Run,
                             {.disables = {Edit1->Handle(), Button2->Handle()}, .fills = Memo2});
  lbl3->SetCaption(vorlund::texts::kPositionReset);
  Memo2->Items().Clear();
  Gauge1->SetBackColor(gauge_state::Running);
  const int n = FileListBox1->Items().Count();
  Gauge1->SetMaxValue(n);
  for (int i = 0; i < n; ++i) {
    Gauge1->SetProgress(i);
    Memo2->Items().Add(vorlund::FileMD5Hex(FileListBox1->Items().Get(i)));
    // Superseded: the file list was listed anew by code in that pump, and the digests so far
    // belong to rows that are gone; none of them is kept.
    if ((i & 0xF) == 0 && run.Pump()) {
      Memo2->Items().Clear();
      break;
    }
  }
  // The rows the last pumps left unpainted show before the gauge tells that the run is over.
  run.ShowRows();
  Gauge1->SetBackColor(gauge_state::Ready);
  Gauge1->SetMaxValue(0);
}
