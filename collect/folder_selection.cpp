// Choosing the folder: the path box and the choose-folder button.
#include <shlobj.h>

#include <exception>
#include <optional>
#include <string>

#include "app/form1.h"
#include "app/gauge_states.h"
#include "app/long_operation.h"
#include "collect/browse_folder.h"
#include "collect/file_system.h"
#include "collect/path_rules.h"
#include "collect/scanner.h"
#include "common/text_rules.h"
#include "common/texts.h"
#include "ui/gauge.h"

void TForm1::Edit1Change(ui::TObject* /*Sender*/) {
  vorlund::StartListing();
  FileListBox1->Items().Clear();
  // The trimmed text goes back with the caret (or selection) where the typing left it in the
  // text that stays. A trimmed text that differs runs these rules again, nested, before
  // SetText returns, with the caret already in place.
  const std::string text = Edit1->Text();
  const auto length = static_cast<std::size_t>(Edit1->Length());
  const ui::TEditSelection typed = Edit1->Selection();
  auto kept = [&](int place) {
    return static_cast<int>(
        vorlund::TrimmedBoxPlace(text, length, static_cast<std::size_t>(place)));
  };
  Edit1->SetText(vorlund::TrimBoxText(text), {kept(typed.start), kept(typed.end)});
  std::string box = Edit1->Text();
  if (box.empty()) return;
  try {
    std::optional<std::string> folder = vorlund::BoxFolderText(box);
    if (!folder) return;
    if (vorlund::DirectoryExists(*folder)) {
      FileListBox1->Items().Clear();  // a listing made by a nested run goes
      vorlund::ScanFolder(*folder, FileListBox1->Items());
      FileListBox1->Update();
    } else {
      FileListBox1->Items().Clear();
    }
  } catch (const std::exception&) {
    // Typing passes through many texts: what the folder test and the listing raise is dropped,
    // and the rows listed so far stay.
  }
}

void TForm1::Button2Click(ui::TObject* /*Sender*/) {
  std::string path;
  if (!vorlund::BrowseForFolder(vorlund::texts::kPickerTitle, L"", path, Handle(),
                                BIF_RETURNONLYFSDIRS)) {
    return;
  }
  // From here on the pick is a listing in progress: a run clicked in the pump below would
  // digest rows that are about to go. Whether a listing started in that pump supersedes the
  // pick is decided by the listing that begins after it.
  vorlund::LongOperation picked(vorlund::Operation::Listing);
  Gauge1->SetBackColor(gauge_state::Listing);
  Gauge1->SetProgress(0);
  picked.Pump();
  lbl3->SetCaption(vorlund::texts::kPositionReset);
  vorlund::StartListing();
  vorlund::LongOperation listing(vorlund::Operation::Listing);
  Memo2->Items().Clear();
  FileListBox1->Items().Clear();
  Edit1->SetText(path);
  // A text typed while the path box listed the pick is the folder chosen last: its listing
  // stays. Otherwise whatever the path box listed goes, and the pick is listed as picked.
  if (!listing.Superseded()) {
    FileListBox1->Items().Clear();
    vorlund::ScanFolder(path, FileListBox1->Items());
  }
  Gauge1->SetBackColor(gauge_state::Ready);
  lbl3->SetCaption(vorlund::PositionText(0, FileListBox1->Items().Count()));
}
