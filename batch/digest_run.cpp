// The digest run: one click digests every listed file into the digest list.
#include <windows.h>

#include <string>

#include "app/form1.h"
#include "app/gauge_states.h"
#include "app/operations.h"
#include "common/texts.h"
#include "digest/file_digest.h"
#include "ui/application.h"
#include "ui/gauge.h"
#include "ui/task_windows.h"

// Row i of Memo2 gets the digest of row i of FileListBox1. The run pumps after rows 0, 16,
// 32 ...; meanwhile the file list must keep its rows, or the digests would not pair with them:
// a run or a listing in progress starts no run, and the path box and the choose-folder button
// are disabled while the run goes.
void TForm1::Button1Click(ui::TObject* /*Sender*/) {
  if (vorlund::OperationRunning(vorlund::Operation::Run) ||
      vorlund::OperationRunning(vorlund::Operation::Listing)) {
    return;
  }
  vorlund::OperationSpan run(vorlund::Operation::Run);
  ui::WindowsDisabled refill_controls({Edit1->Handle(), Button2->Handle()});

  lbl3->SetCaption(vorlund::texts::kPositionReset);
  Memo2->Items().Clear();
  Gauge1->SetBackColor(gauge_state::Running);
  Gauge1->SetMaxValue(FileListBox1->Items().Count());
  const int n = FileListBox1->Items().Count();
  for (int i = 0; i < n; ++i) {
    Gauge1->SetProgress(i);
    const std::string path = FileListBox1->Items().Get(i);
    Memo2->Items().Add(vorlund::FileMD5Hex(path));
    if ((i & 0xF) == 0) {
      ui::Application->ProcessMessages();
      // The file list was listed anew by code in that pump: the digests so far belong to rows
      // that are gone, and none of them is kept.
      if (run.Superseded()) {
        Memo2->Items().Clear();
        break;
      }
    }
  }
  // The rows the last pumps left unpainted (a pump paints at most once per display frame) show
  // before the gauge tells that the run is over.
  Memo2->Update();
  Gauge1->SetBackColor(gauge_state::Ready);
  Gauge1->SetMaxValue(0);
}
