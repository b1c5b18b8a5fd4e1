// Saving the digest list to a text file.
#include <windows.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "batch/export_text.h"
#include "common/errors.h"
#include "common/handles.h"
#include "common/system_text.h"
#include "common/texts.h"
#include "ui/application.h"
#include "ui/show_message.h"

namespace {

// True when path names an existing entry that is not a folder.
bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  vorlund::SearchHandle search(FindFirstFileA(path.c_str(), &found));
  return search && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates path anew (an existing file is cut to nothing) and writes text into it with one
// write. A write that falls short leaves what was written and raises the write error.
void WriteNewFile(const std::string& path, const std::string& text) {
  vorlund::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    throw vorlund::EFCreateError(
        vorlund::FileErrorText(vorlund::kCreateFileError, path, GetLastError()));
  }
  // One write takes at most 4 GiB - 1 bytes; a longer text is reported as a short write.
  const DWORD size = text.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(text.size());
  DWORD written = 0;
  if (!WriteFile(file.Get(), text.data(), size, &written, nullptr) || written != text.size())
    throw vorlund::EWriteError(vorlund::kStreamWriteError);
}

}  // namespace

void TForm1::Button3Click(ui::TObject* /*Sender*/) {
  if (!dlgOpen1->Execute()) return;
  const std::string chosen = vorlund::ChosenExportName(dlgOpen1->FileName());
  if (chosen.empty()) return;
  // The question, the write and the confirmation all name this one file.
  const std::string target = vorlund::ExportTargetPath(chosen);
  if (FileExists(target) &&
      ui::Application->ShowMessageBox(vorlund::texts::kOverwriteQuestion,
                                      vorlund::texts::kOverwriteCaption, MB_YESNO) != IDYES)
    return;
  // The rows the list holds now: a run may be adding rows under this handler.
  std::vector<std::string> rows;
  const ui::TStrings& items = Memo2->Items();
  const int count = items.Count();
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) rows.push_back(items.Get(i));
  WriteNewFile(target, vorlund::ExportText(rows));
  ui::ShowMessage(std::string(vorlund::texts::kSavedMessage) + "\r\n" + target);
}
