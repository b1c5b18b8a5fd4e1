// Saving the digest list to a text file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/form1.h"
#include "batch/export_text.h"
#include "common/errors.h"
#include "common/handles.h"
#include "common/staging_name.h"
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

[[noreturn]] void ThrowCreateError(const std::string& target, DWORD code) {
  throw vorlund::EFCreateError(vorlund::FileErrorText(vorlund::kCreateFileError, target, code));
}

// A new file that the text is written into first, beside the target, under a name no entry of
// that folder had; removed again on every way out unless it has taken the target's place.
class StagingFile {
 public:
  // Makes the file in folder (which ends in its separator), under the first free name of at
  // most room characters. Valid() tells whether it was made; else Error() is the system's code.
  StagingFile(const std::string& folder, size_t room) {
    for (std::uint32_t attempt = 0;; ++attempt) {
      const std::string name = vorlund::StagingFileName(room, attempt);
      if (name.empty()) {
        error_ = ERROR_FILE_EXISTS;  // every name of that length is taken
        return;
      }
      path_ = folder + name;
      file_.Reset(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
      if ((made_ = file_.Valid())) return;
      error_ = GetLastError();
      // A name that is taken (by a file or a folder, by its long or its short name): the next.
      if (GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    }
  }
  ~StagingFile() {
    file_.Reset();
    if (made_ && !kept_) DeleteFileA(path_.c_str());
  }
  StagingFile(const StagingFile&) = delete;
  StagingFile& operator=(const StagingFile&) = delete;

  bool Valid() const { return made_; }
  DWORD Error() const { return error_; }
  HANDLE Handle() const { return file_.Get(); }
  const std::string& Path() const { return path_; }
  // Closes the file; false when the system reports that what was written did not reach it.
  bool Close() { return CloseHandle(file_.Release()) != 0; }
  // The file has taken the target's place: it stays.
  void Keep() { kept_ = true; }

 private:
  vorlund::FileHandle file_;
  std::string path_;
  DWORD error_ = 0;
  bool made_ = false;
  bool kept_ = false;
};

// Puts a file holding text in the place of path: the text is written whole into a new file
// beside it, which then replaces path in one step; until that step path is as it was, and when
// anything fails it stays so (an old file intact, or no file where there was none) and the new
// file goes. A target that cannot be created or replaced raises the create error naming path;
// a write that falls short, or data that cannot be brought to the disk, the write error.
void WriteNewFile(const std::string& path, const std::string& text) {
  // An existing entry at path that could not be written in place (a folder, a file held open by
  // another, a read-only file) gives the error its creation would have given. Nothing there yet
  // is not an error; a folder that is missing is.
  {
    vorlund::FileHandle existing(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD code = GetLastError();
    if (!existing && code != ERROR_FILE_NOT_FOUND) ThrowCreateError(path, code);
  }
  // The folder the target lies in, and the length of the target's own name.
  std::string full(MAX_PATH * 2, '\0');
  char* name = nullptr;
  const DWORD length =
      GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
  if (length == 0 || length >= full.size() || !name) {
    ThrowCreateError(path, length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
  }
  const size_t folder_length = static_cast<size_t>(name - full.data());
  full.resize(length);

  StagingFile staging(full.substr(0, folder_length), length - folder_length);
  if (!staging.Valid()) ThrowCreateError(path, staging.Error());
  // One write takes at most 4 GiB - 1 bytes; a longer text is reported as a short write.
  const DWORD size = text.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(text.size());
  DWORD written = 0;
  if (!WriteFile(staging.Handle(), text.data(), size, &written, nullptr) || written != text.size())
    throw vorlund::EWriteError(vorlund::kStreamWriteError);
  // On the disk before it takes the old file's place, so that no failure after the replace
  // leaves a list shorter than its text.
  if (!FlushFileBuffers(staging.Handle()) || !staging.Close())
    throw vorlund::EWriteError(vorlund::kStreamWriteError);
  if (!MoveFileExA(staging.Path().c_str(), full.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowCreateError(path, GetLastError());
  }
  staging.Keep();
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
