// Saving the digest list: the real open-file dialog, real files, the overwrite question, the
// confirmation and the errors, all reached through a click on Button3.
#include <gtest/gtest.h>
#include <windows.h>
//
#include <commdlg.h>

#include <map>
#include <string>
#include <vector>

#include "collect_testing.h"
#include "form_fixture.h"
#include "system_oracles.h"
#include "tests/support/import_slot.h"
#include "ui/show_message.h"

// The import slots of the calls a test replaces in this program.
extern "C" BOOL(WINAPI* WriteFileSlot)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED)
    VORLUND_IMPORT_SLOT(WriteFile, 20);
extern "C" BOOL(WINAPI* GetOpenFileNameSlot)(LPOPENFILENAMEA)
    VORLUND_IMPORT_SLOT(GetOpenFileNameA, 4);
extern "C" BOOL(WINAPI* FlushFileBuffersSlot)(HANDLE) VORLUND_IMPORT_SLOT(FlushFileBuffers, 4);
extern "C" BOOL(WINAPI* MoveFileExASlot)(LPCSTR, LPCSTR, DWORD)
    VORLUND_IMPORT_SLOT(MoveFileExA, 12);

namespace vorlund::testing {
namespace {

using collect_testing::TempTree;

// The title of this test program by the application title rule.
const char kTitle[] = "windows_export_test";
const std::vector<std::string> kThreeRows = {"D41D8CD98F00B204E9800998ECF8427E",
                                             "0CC175B9C0F1B6A831C399E269772661",
                                             "900150983CD24FB0D6963F7D28E17F72"};

std::string ReadAll(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when nobody holds the file open any more (it opens without sharing).
bool Closed(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// What the user does in each dialog that appears, in order.
enum class Act {
  Accept,  // the open-file dialog: type the name, press OK
  Cancel,  // the open-file dialog: press Cancel
  Yes,     // the question
  No,
  Ok,  // the confirmation or the error box
};
struct Answer {
  Answer(Act a, std::string typed = {}) : act(a), name(std::move(typed)) {}
  Act act;
  std::string name;  // typed into the open-file dialog
};

// Answers the dialogs of a click in order and records what each one showed; a dialog beyond
// those foreseen is recorded and closed, so that a test sees it rather than hanging.
class Dialogs {
 public:
  explicit Dialogs(std::vector<Answer> answers)
      : answers_(std::move(answers)),
        driver_([this](HWND dialog, const DialogSeen& seen) { return Answer(dialog, seen); },
                GetCurrentProcessId(), static_cast<int>(answers_.size()) + 3) {}
  // Every dialog seen, once the click is over.
  const std::vector<DialogSeen>& Seen() {
    driver_.Join();
    return seen_;
  }
  // The name box of the open-file dialog as it opened, and where each dialog stood.
  const std::vector<std::string>& OfferedNames() {
    driver_.Join();
    return offered_;
  }
  const std::vector<RECT>& Places() {
    driver_.Join();
    return places_;
  }
  // The default button of each dialog.
  const std::vector<int>& Defaults() {
    driver_.Join();
    return defaults_;
  }

 private:
  int Answer(HWND dialog, const DialogSeen& seen) {
    seen_.push_back(seen);
    RECT place;
    GetWindowRect(dialog, &place);
    places_.push_back(place);
    int default_button = 0;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
      if (HWND button = GetDlgItem(dialog, id);
          button && (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        default_button = id;
    defaults_.push_back(default_button);
    const size_t index = seen_.size() - 1;
    if (index >= answers_.size()) return GetDlgItem(dialog, IDNO) ? IDNO : IDCANCEL;
    const vorlund::testing::Answer& answer = answers_[index];
    switch (answer.act) {
      case Act::Accept: {
        HWND box = WaitForFileNameBox(dialog);
        offered_.push_back(box ? WindowTextOf(box) : "<no name box>");
        bool typed = TypeFileName(dialog, answer.name);
        return typed ? IDOK : IDCANCEL;
      }
      case Act::Cancel:
        return IDCANCEL;
      case Act::Yes:
        return IDYES;
      case Act::No:
        return IDNO;
      case Act::Ok:
        return IDOK;
    }
    return IDCANCEL;
  }

  std::vector<vorlund::testing::Answer> answers_;
  std::vector<DialogSeen> seen_;
  std::vector<std::string> offered_;
  std::vector<RECT> places_;
  std::vector<int> defaults_;
  DialogDriver driver_;  // last: its thread starts once the rest is made
};

class Export : public FormTest {
 protected:
  // The dialog moves the current folder to where a name was chosen: move it back, so that the
  // test's folder can be removed.
  void SetUp() override {
    GetCurrentDirectoryA(sizeof start_folder_, start_folder_);
    FormTest::SetUp();
  }
  void TearDown() override {
    FormTest::TearDown();
    SetCurrentDirectoryA(start_folder_);
  }
  void SetRows(const std::vector<std::string>& rows) {
    Form1->Memo2->Items().Clear();
    for (const std::string& row : rows) Form1->Memo2->Items().Add(row);
  }
  // The digest list's rows.
  std::vector<std::string> Digests() const { return Rows(Form1->Memo2->Items()); }
  // Clicks Button3 as the pointer would and pumps until the click, with every dialog it showed
  // and any error it raised, is over.
  void ClickSave() {
    bool finished = false;
    Form1->Button3->OnClick = [&finished](ui::TObject* sender) {
      struct Finish {
        bool& finished;
        ~Finish() { finished = true; }
      } finish{finished};
      Form1->Button3Click(sender);
    };
    PostClick();
    ASSERT_TRUE(PumpUntil([&] { return finished; }, 60000));
    Pump(50);
  }
  void PostClick() {
    HWND button = Form1->Button3->Handle();
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // The confirmation for a saved target.
  static std::string Saved(const std::string& target) {
    return Gbk("文件保存成功") + "\r\n" + target;
  }

  char start_folder_[MAX_PATH] = {};
  TempTree tree_{"export"};
};

std::string TextOfRows(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += row + "\r\n";
  return text;
}

// A dialog's place is the centre of the screen.
void ExpectCentred(const RECT& place) {
  const int screen_x = GetSystemMetrics(SM_CXSCREEN), screen_y = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(place.left + place.right - screen_x), 1) << place.left << " " << place.right;
  EXPECT_LE(std::abs(place.top + place.bottom - screen_y), 1) << place.top << " " << place.bottom;
}

// Checks the confirmation box: its text, caption, no icon, one button "OK", centred on the
// screen, the program's windows disabled under it.
void ExpectConfirmation(const DialogSeen& seen, const RECT& place, const std::string& text) {
  EXPECT_EQ(seen.text, text);
  EXPECT_EQ(seen.caption, kTitle);
  EXPECT_EQ(seen.icon, nullptr);
  EXPECT_EQ(seen.button_texts, std::vector<std::string>{"OK"});
  EXPECT_EQ(seen.owner, ui::Application->Handle());
  EXPECT_EQ(seen.enabled_windows, 0);
  ExpectCentred(place);
}

TEST_F(Export, WritesEachRowWithCrLfToTheTypedNameWithTxt) {
  struct Case {
    std::vector<std::string> rows;
    std::string typed;   // below the test's folder
    std::string target;  // what is written
    size_t size;
  } cases[] = {
      {{}, "empty", "empty.txt", 0},
      {kThreeRows, "three", "three.txt", 102},
      {kThreeRows, "kept.txt", "kept.txt", 102},
      {kThreeRows, "UPPER.TXT", "UPPER.TXT", 102},
      {kThreeRows, "list.csv", "list.csv.txt", 102},
      {{"row one", Gbk("文件"), ""}, Gbk("中文 名"), Gbk("中文 名") + ".txt", 17},
      // Blanks typed after the name go; the blank at its start lies inside the path and stays.
      {kThreeRows, " padded  ", " padded.txt", 102},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetRows(c.rows);
    const std::string target = tree_.Path(c.target);
    Dialogs dialogs({{Act::Accept, tree_.Path(c.typed)}, {Act::Ok}});
    ClickSave();
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), 2u);
    // The dialog is owned by the application's window, with the main window disabled under it.
    EXPECT_EQ(seen[0].owner, ui::Application->Handle());
    EXPECT_EQ(seen[0].enabled_windows, 0);
    ExpectCentred(dialogs.Places()[0]);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    ExpectConfirmation(seen[1], dialogs.Places()[1], Saved(target));
    const std::string bytes = ReadAll(target);
    EXPECT_EQ(bytes.size(), c.size);
    EXPECT_EQ(bytes, TextOfRows(c.rows));
    if (c.size) {
      EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    }
    EXPECT_TRUE(Closed(target));
    EXPECT_FALSE(Exists(tree_.Path(c.target + ".txt")));
    EXPECT_EQ(Digests(), c.rows);
    DeleteFileA(target.c_str());
  }
}

TEST_F(Export, AnExistingFileIsReplacedOnlyAfterYes) {
  struct Case {
    Act answer;
    std::string old_content;
    std::vector<std::string> rows;
    bool replaced;
  } cases[] = {
      {Act::Yes,
       "old content, longer than the new one ........................................"
       "..........................................................",
       kThreeRows, true},
      {Act::Yes, "old", {}, true},  // emptied
      {Act::No, "old\r\ncontent\xff", kThreeRows, false},
      {Act::No, "", kThreeRows, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.old_content);
    SetRows(c.rows);
    const std::string target = tree_.Path("existing.txt");
    WriteAll(target, c.old_content);
    std::vector<Answer> answers = {{Act::Accept, tree_.Path("existing")}, {c.answer}};
    if (c.replaced) answers.push_back({Act::Ok});
    Dialogs dialogs(answers);
    ClickSave();
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), answers.size());
    EXPECT_EQ(seen[1].text, Gbk("该文件已存在，是否需要覆盖？"));
    EXPECT_EQ(seen[1].caption, Gbk("警告"));
    EXPECT_EQ(seen[1].icon, nullptr);
    EXPECT_EQ(seen[1].buttons, 2);
    EXPECT_EQ(seen[1].owner, ui::Application->Handle());
    EXPECT_EQ(seen[1].enabled_windows, 0);
    EXPECT_EQ(dialogs.Defaults()[1], IDYES);
    EXPECT_EQ(ReadAll(target), c.replaced ? TextOfRows(c.rows) : c.old_content);
    if (c.replaced) ExpectConfirmation(seen[2], dialogs.Places()[2], Saved(target));
    EXPECT_EQ(Digests(), c.rows);
  }
}

// The text the error display shows for a create error of target with the system's code: the
// system's own text, without its trailing blanks, controls and full stops, and the display's
// full stop after a character above ".".
std::string CreateErrorShown(const std::string& target, DWORD code) {
  return ShownErrorText("Cannot create file \"" + FullPath(target) + "\". " + SystemText(code));
}

TEST_F(Export, ATargetThatCannotBeCreatedShowsTheCreateErrorAndNoConfirmation) {
  tree_.Folder("folder.txt");
  WriteAll(tree_.Path("busy.txt"), "busy");
  struct Case {
    std::string typed;
    std::string target;
    bool busy;  // an existing file held open by another without sharing: asked about first
    DWORD code;
  } cases[] = {
      {"folder", "folder.txt", false, ERROR_ACCESS_DENIED},
      {"missing\\list", "missing\\list.txt", false, ERROR_PATH_NOT_FOUND},
      {"missing\\deeper\\list.txt", "missing\\deeper\\list.txt", false, ERROR_PATH_NOT_FOUND},
      {"busy", "busy.txt", true, ERROR_SHARING_VIOLATION},
  };
  SetRows(kThreeRows);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::string target = tree_.Path(c.target);
    std::vector<Answer> answers = {{Act::Accept, tree_.Path(c.typed)}};
    if (c.busy) answers.push_back({Act::Yes});
    answers.push_back({Act::Ok});
    HANDLE held = c.busy ? CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)
                         : INVALID_HANDLE_VALUE;
    Dialogs dialogs(answers);
    ClickSave();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), answers.size());
    const DialogSeen& error = seen.back();
    EXPECT_EQ(error.text, CreateErrorShown(target, c.code));
    EXPECT_EQ(error.caption, kTitle);
    EXPECT_EQ(error.icon, LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(Digests(), kThreeRows);
  }
  EXPECT_EQ(GetFileAttributesA(tree_.Path("folder.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_FALSE(Exists(tree_.Path("missing")));
  EXPECT_EQ(ReadAll(tree_.Path("busy.txt")), "busy");
}

TEST_F(Export, CancelDoesNothing) {
  SetRows(kThreeRows);
  const std::string existing = tree_.Path("kept.txt");
  WriteAll(existing, "kept");
  Form1->dlgOpen1->SetFileName(tree_.Path("kept"));
  Dialogs dialogs(std::vector<Answer>{Answer(Act::Cancel)});
  ClickSave();
  EXPECT_EQ(dialogs.Seen().size(), 1u);
  EXPECT_EQ(ReadAll(existing), "kept");
  EXPECT_EQ(Form1->dlgOpen1->FileName(), tree_.Path("kept"));
  EXPECT_EQ(Digests(), kThreeRows);
}

TEST_F(Export, TheDialogOffersTheLastAcceptedNameAgain) {
  SetRows(kThreeRows);
  {
    Dialogs dialogs({{Act::Accept, tree_.Path("first")}, {Act::Ok}});
    ClickSave();
    ASSERT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(dialogs.OfferedNames(), std::vector<std::string>{""});
  }
  EXPECT_EQ(Form1->dlgOpen1->FileName(), tree_.Path("first"));
  // The dialog is free to leave the current folder where the name was chosen.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  EXPECT_EQ(_stricmp(current, tree_.Root().c_str()), 0) << current;
  {
    Dialogs dialogs({{Act::Accept, tree_.Path("second.txt")}, {Act::Ok}});
    ClickSave();
    ASSERT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(dialogs.OfferedNames(), std::vector<std::string>{"first"});
  }
  Dialogs dialogs(std::vector<Answer>{Answer(Act::Cancel)});
  ClickSave();
  EXPECT_EQ(Form1->dlgOpen1->FileName(), tree_.Path("second.txt"));
  EXPECT_TRUE(Exists(tree_.Path("first.txt")));
  EXPECT_TRUE(Exists(tree_.Path("second.txt")));
}

// The open-file dialog replaced by one that records how it was asked and accepts a given name
// (or cancels), for names the real dialog would not hand back.
struct FakeDialog {
  static inline bool accept = true;
  static inline std::string name;
  static inline int calls = 0;
  static inline OPENFILENAMEA asked = {};
  static inline std::string offered;  // the name buffer as it came
  static inline std::string filter;   // the filter up to its closing double NUL

  static BOOL WINAPI Run(LPOPENFILENAMEA ofn) {
    ++calls;
    asked = *ofn;
    offered = ofn->lpstrFile;
    filter.clear();
    for (const char* p = ofn->lpstrFilter; p && (p[0] || p[1]); ++p) filter += *p;
    if (ofn->lpstrFilter) filter += std::string(2, '\0');
    if (!accept || name.size() >= ofn->nMaxFile) return FALSE;
    memcpy(ofn->lpstrFile, name.c_str(), name.size() + 1);
    return TRUE;
  }
};

TEST_F(Export, TheDialogIsAskedWithItsSettings) {
  ReplacedImport<decltype(GetOpenFileNameSlot)> swap(GetOpenFileNameSlot, FakeDialog::Run);
  FakeDialog::accept = false;
  Form1->dlgOpen1->SetFileName("C:\\offered\\name");
  Form1->Button3Click(nullptr);
  EXPECT_EQ(FakeDialog::calls, 1);
  const OPENFILENAMEA& asked = FakeDialog::asked;
  EXPECT_EQ(asked.lStructSize, sizeof(OPENFILENAMEA));
  EXPECT_EQ(asked.hwndOwner, ui::Application->Handle());
  EXPECT_EQ(FakeDialog::filter, std::string(".txt\0.txt\0\0", 11));
  EXPECT_EQ(asked.nFilterIndex, 1u);
  EXPECT_EQ(asked.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                                            OFN_ENABLEHOOK));
  EXPECT_NE(asked.lpfnHook, nullptr) << "the layer's own hook";
  EXPECT_EQ(asked.nMaxFile, 260u);
  EXPECT_EQ(FakeDialog::offered, "C:\\offered\\name");
  EXPECT_EQ(asked.lpstrDefExt, nullptr);
  EXPECT_EQ(asked.lpstrInitialDir, nullptr);
  EXPECT_EQ(asked.lpstrTitle, nullptr);
  EXPECT_EQ(asked.lpstrCustomFilter, nullptr);
  EXPECT_EQ(asked.lpstrFileTitle, nullptr);
  EXPECT_EQ(Form1->dlgOpen1->FileName(), "C:\\offered\\name");
}

TEST_F(Export, TheChosenNameLosesBlanksAndControlCharactersAtBothEnds) {
  ReplacedImport<decltype(GetOpenFileNameSlot)> swap(GetOpenFileNameSlot, FakeDialog::Run);
  FakeDialog::accept = true;
  SetRows(kThreeRows);
  struct Case {
    std::string name;    // as the dialog hands it back
    std::string target;  // below the test's folder; empty for nothing saved
  } cases[] = {
      {"  " + tree_.Path("blanks") + "   ", "blanks.txt"},
      {"\t\r\n\x01\x1f" + tree_.Path("controls") + "\x7f\x02\x0b ", "controls\x7f.txt"},
      {"\t" + tree_.Path(" inner  blanks ") + "\t", " inner  blanks.txt"},
      {" \t\x01 ", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog::name = c.name;
    const int confirmations = c.target.empty() ? 0 : 1;
    Dialogs dialogs(std::vector<Answer>(confirmations, Answer(Act::Ok)));
    ClickSave();
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), static_cast<size_t>(confirmations));
    if (confirmations) {
      EXPECT_EQ(seen[0].text, Saved(tree_.Path(c.target)));
      EXPECT_EQ(ReadAll(tree_.Path(c.target)), TextOfRows(kThreeRows));
    }
    // The dialog keeps the name as it was accepted.
    EXPECT_EQ(Form1->dlgOpen1->FileName(), c.name);
  }
  // Nothing else was written.
  std::vector<std::string> files;
  collect_testing::ExpectedListing(tree_.Root(), true, files);
  EXPECT_EQ(files.size(), 3u);
}

TEST_F(Export, TheCreateErrorNamesTheTargetMadeAbsolute) {
  ReplacedImport<decltype(GetOpenFileNameSlot)> swap(GetOpenFileNameSlot, FakeDialog::Run);
  FakeDialog::accept = true;
  ASSERT_TRUE(SetCurrentDirectoryA(tree_.Root().c_str()));
  struct Case {
    std::string name;      // relative, as the dialog hands it back
    std::string absolute;  // below the test's folder
  } cases[] = {
      {"missing\\relative", "missing\\relative.txt"},
      {" missing\\..\\gone\\x.TXT ", "gone\\x.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog::name = c.name;
    Dialogs dialogs(std::vector<Answer>{Answer(Act::Ok)});
    ClickSave();
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(dialogs.Seen()[0].text,
              CreateErrorShown(tree_.Path(c.absolute), ERROR_PATH_NOT_FOUND));
    EXPECT_NE(dialogs.Seen()[0].text.find("\"" + tree_.Path(c.absolute) + "\""), std::string::npos);
  }
}

// What a folder holds: each entry's name (folders marked with a "\\" after it) and bytes.
std::map<std::string, std::string> FolderContents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return contents;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      contents[name + "\\"] = "";
    } else {
      contents[name] = ReadAll(folder + "\\" + name);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return contents;
}

// The calls a save makes to put its file in place, replaced by ones that fail as told (or pass
// on to the system's own) and record what they were asked.
struct SaveCalls {
  static inline BOOL(WINAPI* real_write)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = nullptr;
  static inline BOOL(WINAPI* real_flush)(HANDLE) = nullptr;
  static inline BOOL(WINAPI* real_move)(LPCSTR, LPCSTR, DWORD) = nullptr;
  static inline bool armed = false;       // what follows applies, and calls are recorded
  static inline bool write_half = false;  // stores half of what it is given and says so
  static inline bool flush_fails = false;
  static inline DWORD move_fails = 0;  // the error code of a move that fails, 0 for none
  static inline std::vector<std::string> calls;
  // What the move was asked, and what its source and target held just before it.
  static inline std::string moved_from, moved_to, source_before, target_before;
  static inline DWORD move_flags = 0;

  static void Reset() {
    armed = write_half = flush_fails = false;
    move_fails = 0;
    calls.clear();
    moved_from = moved_to = source_before = target_before = "";
    move_flags = 0;
  }
  static BOOL WINAPI Write(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                           LPOVERLAPPED overlapped) {
    if (!armed) return real_write(file, data, size, written, overlapped);
    calls.push_back("write");
    return real_write(file, data, write_half ? size / 2 : size, written, overlapped);
  }
  static BOOL WINAPI Flush(HANDLE file) {
    if (!armed) return real_flush(file);
    calls.push_back("flush");
    if (flush_fails) {
      SetLastError(ERROR_DISK_FULL);
      return FALSE;
    }
    return real_flush(file);
  }
  static BOOL WINAPI Move(LPCSTR from, LPCSTR to, DWORD flags) {
    if (!armed) return real_move(from, to, flags);
    calls.push_back("move");
    moved_from = from;
    moved_to = to;
    move_flags = flags;
    source_before = ReadAll(from);
    target_before = ReadAll(to);
    if (move_fails) {
      SetLastError(move_fails);
      return FALSE;
    }
    return real_move(from, to, flags);
  }
};

class ExportReplacing : public Export {
 protected:
  void SetUp() override {
    Export::SetUp();
    SaveCalls::Reset();
    SaveCalls::real_write = write_.Original();
    SaveCalls::real_flush = flush_.Original();
    SaveCalls::real_move = move_.Original();
  }
  ReplacedImport<decltype(WriteFileSlot)> write_{WriteFileSlot, SaveCalls::Write};
  ReplacedImport<decltype(FlushFileBuffersSlot)> flush_{FlushFileBuffersSlot, SaveCalls::Flush};
  ReplacedImport<decltype(MoveFileExASlot)> move_{MoveFileExASlot, SaveCalls::Move};
};

// The list is written whole into a new file beside the target, brought to the disk, and only
// then put in the target's place; the target holds what it held until that moment.
TEST_F(ExportReplacing, TheTextIsWrittenWholeBesideTheTargetAndThenTakesItsPlace) {
  SetRows(kThreeRows);
  struct Case {
    std::string name;  // typed, below the test's folder
    std::string old_content;
    std::string staging;  // the new file's name beside the target
  } cases[] = {
      {"the digest list", "", "~VL00000.TMP"},
      {"old list", "an older list\r\n", "~VL00000.TMP"},  // "old list.txt": twelve
      {"list", "", "~0000000"},                           // "list.txt": eight
      {"a", "", "~0000"},           // "a.txt": the new name is no longer than the target's
      {"abcdefg", "", "~0000000"},  // "abcdefg.txt", eleven: "~" and seven digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveCalls::Reset();
    const std::string target = tree_.Path(c.name + ".txt");
    const bool existed = !c.old_content.empty();
    if (existed) WriteAll(target, c.old_content);
    std::vector<Answer> answers = {{Act::Accept, tree_.Path(c.name)}};
    if (existed) answers.push_back({Act::Yes});
    answers.push_back({Act::Ok});
    Dialogs dialogs(answers);
    SaveCalls::armed = true;
    ClickSave();
    ASSERT_EQ(dialogs.Seen().size(), answers.size());
    EXPECT_EQ(dialogs.Seen().back().text, Saved(target));
    EXPECT_EQ(SaveCalls::calls, (std::vector<std::string>{"write", "flush", "move"}));
    EXPECT_EQ(SaveCalls::moved_from, tree_.Path(c.staging));
    EXPECT_EQ(SaveCalls::moved_to, target);
    EXPECT_EQ(SaveCalls::move_flags,
              static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(SaveCalls::source_before, TextOfRows(kThreeRows));
    EXPECT_EQ(SaveCalls::target_before, existed ? c.old_content : "<none>");
    EXPECT_EQ(ReadAll(target), TextOfRows(kThreeRows));
    EXPECT_EQ(FolderContents(tree_.Root()),
              (std::map<std::string, std::string>{{c.name + ".txt", TextOfRows(kThreeRows)}}));
    DeleteFileA(target.c_str());
  }
}

// Names already taken beside the target, by files or folders, by long or short names, are
// passed over and left as they were.
TEST_F(ExportReplacing, TheNewFileTakesANameNoEntryBesideTheTargetHas) {
  SetRows(kThreeRows);
  WriteAll(tree_.Path("~VL00000.TMP"), "a file of the user's");
  tree_.Folder("~VL00001.TMP");
  WriteAll(tree_.Path("~VL00002.TMP and a long name"), "its short name may be the next");
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(tree_.Path("~VL00002.TMP and a long name").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  const std::string short_name = data.cAlternateFileName;
  ASSERT_FALSE(short_name.empty());
  WriteAll(tree_.Path("~VL00002.TMP"), "taken");
  WriteAll(tree_.Path("~VL00003.TMP"), "taken too");
  const auto before = FolderContents(tree_.Root());
  Dialogs dialogs({{Act::Accept, tree_.Path("the digest list")}, {Act::Ok}});
  SaveCalls::armed = true;
  ClickSave();
  ASSERT_EQ(dialogs.Seen().size(), 2u);
  EXPECT_EQ(SaveCalls::moved_from, tree_.Path("~VL00004.TMP"));
  auto after = FolderContents(tree_.Root());
  EXPECT_EQ(after["the digest list.txt"], TextOfRows(kThreeRows));
  after.erase("the digest list.txt");
  EXPECT_EQ(after, before);
}

// Whatever fails after the click's answers, the folder is left as it was before it: an old
// list intact, no file where there was none, and no new file beside it.
TEST_F(ExportReplacing, AFailedSaveLeavesTheFolderAsItWas) {
  struct Case {
    const char* what;
    bool write_half, flush_fails;
    DWORD move_fails;
    bool existed;
    std::vector<std::string> calls;
  } cases[] = {
      {"a short write", true, false, 0, false, {"write"}},
      {"a short write over an old list", true, false, 0, true, {"write"}},
      {"a flush that fails", false, true, 0, false, {"write", "flush"}},
      {"a flush that fails over an old list", false, true, 0, true, {"write", "flush"}},
      {"a replace that fails",
       false,
       false,
       ERROR_ACCESS_DENIED,
       false,
       {"write", "flush", "move"}},
      {"a replace that fails over an old list",
       false,
       false,
       ERROR_SHARING_VIOLATION,
       true,
       {"write", "flush", "move"}},
  };
  SetRows(kThreeRows);
  const std::string target = tree_.Path("list.txt");
  const std::string old_list = TextOfRows({kThreeRows[1]});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SaveCalls::Reset();
    DeleteFileA(target.c_str());
    if (c.existed) WriteAll(target, old_list);
    SaveCalls::write_half = c.write_half;
    SaveCalls::flush_fails = c.flush_fails;
    SaveCalls::move_fails = c.move_fails;
    const auto before = FolderContents(tree_.Root());
    std::vector<Answer> answers = {{Act::Accept, tree_.Path("list")}};
    if (c.existed) answers.push_back({Act::Yes});
    answers.push_back({Act::Ok});
    Dialogs dialogs(answers);
    SaveCalls::armed = true;
    ClickSave();
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), answers.size());
    EXPECT_EQ(seen.back().text, c.move_fails ? CreateErrorShown(target, c.move_fails)
                                             : std::string("Stream write error."));
    EXPECT_EQ(seen.back().caption, kTitle);
    EXPECT_EQ(seen.back().icon, LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(SaveCalls::calls, c.calls);
    EXPECT_EQ(FolderContents(tree_.Root()), before);
    EXPECT_EQ(ReadAll(target), c.existed ? old_list : "<none>");
    if (c.existed) {
      EXPECT_TRUE(Closed(target));
    }
    EXPECT_EQ(Digests(), kThreeRows);
  }
}

// A real file system too small for a long list: the tmpfs of 8 KiB that the test run mounts on
// full-disk/ in the build folder (full_disk.cmake). A list longer than it fails to be written,
// whether or not an old list stands in its place, and leaves the folder as it was.
TEST_F(Export, ASaveThatFillsTheDiskLeavesTheFolderAsItWas) {
  const std::string state = ReadAll(BinaryDir() + "\\full-disk.state");
  if (state.rfind("mounted", 0) != 0) GTEST_SKIP() << "no full disk to save to: " << state;
  const std::string disk = BinaryDir() + "\\full-disk";
  ULARGE_INTEGER free_bytes, total_bytes;
  ASSERT_TRUE(GetDiskFreeSpaceExA(disk.c_str(), &free_bytes, &total_bytes, nullptr));
  ASSERT_LE(total_bytes.QuadPart, 64u * 1024) << "not the small file system";
  for (const auto& entry : FolderContents(disk)) TempTree::RemoveAll(disk + "\\" + entry.first);

  std::vector<std::string> long_list;
  for (unsigned i = 0; long_list.size() * 34 <= 2 * total_bytes.QuadPart; ++i) {
    char row[40];
    snprintf(row, sizeof row, "%032X", i * 0x9E3779B1u);
    long_list.push_back(row);
  }
  const std::string target = disk + "\\list.txt";
  const std::string old_list = TextOfRows(kThreeRows);
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    bool existed;
    bool fits;
  } cases[] = {
      {"a list that fits", kThreeRows, false, true},
      {"a list longer than the disk", long_list, false, false},
      {"a list longer than the disk over an old list", long_list, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteFileA(target.c_str());
    if (c.existed) WriteAll(target, old_list);
    SetRows(c.rows);
    const auto before = FolderContents(disk);
    std::vector<Answer> answers = {{Act::Accept, disk + "\\list"}};
    if (c.existed) answers.push_back({Act::Yes});
    answers.push_back({Act::Ok});
    Dialogs dialogs(answers);
    ClickSave();
    const auto& seen = dialogs.Seen();
    ASSERT_EQ(seen.size(), answers.size());
    if (c.fits) {
      EXPECT_EQ(seen.back().text, Saved(target));
      EXPECT_EQ(ReadAll(target), TextOfRows(c.rows));
      continue;
    }
    EXPECT_EQ(seen.back().text, "Stream write error.");
    EXPECT_EQ(seen.back().icon, LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(FolderContents(disk), before);
    EXPECT_EQ(ReadAll(target), c.existed ? old_list : "<none>");
    EXPECT_EQ(Digests(), c.rows);
  }
  DeleteFileA(target.c_str());
}

TEST_F(Export, ASaveDuringARunWritesTheRowsListedAtThatMoment) {
  // As the run does: a row appended, then pending messages dispatched after rows 0, 16, 32 ...
  // The click arrives after row 20 and is taken by the pump after row 32.
  const std::string target = tree_.Path("during.txt");
  Dialogs dialogs({{Act::Accept, tree_.Path("during")}, {Act::Ok}});
  bool finished = false;
  Form1->Button3->OnClick = [&finished](ui::TObject* sender) {
    Form1->Button3Click(sender);
    finished = true;
  };
  std::vector<std::string> rows;
  for (int i = 0; i < 64; ++i) {
    char row[40];
    snprintf(row, sizeof row, "%032X", i * 0x9E3779B1u);
    rows.push_back(row);
    Form1->Memo2->Items().Add(row);
    if (i == 20) PostClick();
    if (i % 16 == 0) ui::Application->ProcessMessages();
  }
  EXPECT_TRUE(finished);
  const auto& seen = dialogs.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(ReadAll(target), TextOfRows({rows.begin(), rows.begin() + 33}));
  EXPECT_EQ(Digests(), rows);
}

TEST_F(Export, ShowMessageIsCentredOnTheScreenWithOneOkButtonWhateverItsText) {
  const std::string cases[] = {
      "short",
      Gbk("文件保存成功") + "\r\n" + std::string(150, 'x'),
      "one\r\ntwo\r\nthree\r\nfour\r\nfive",
      "",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    Dialogs dialogs(std::vector<Answer>{Answer(Act::Ok)});
    ui::ShowMessage(text);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    ExpectConfirmation(dialogs.Seen()[0], dialogs.Places()[0], text);
  }
}

}  // namespace
}  // namespace vorlund::testing
