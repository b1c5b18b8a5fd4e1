// The folder scanner over real folders made by the test, listing into the real main window's
// file list, compared with a listing the test makes itself with FindFirstFileA/FindNextFileA.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "app/operations.h"
#include "collect/scanner.h"
#include "collect_testing.h"
#include "common/errors.h"
#include "digest/file_digest.h"
#include "foreign_names.h"
#include "form_fixture.h"
#include "test_window.h"

// The import slots of the listing calls, for a test that takes the short names away.
extern "C" HANDLE(WINAPI* FindFirstFileASlot)(LPCSTR, LPWIN32_FIND_DATAA)
    VORLUND_IMPORT_SLOT(FindFirstFileA, 8);
extern "C" BOOL(WINAPI* FindNextFileASlot)(HANDLE, LPWIN32_FIND_DATAA)
    VORLUND_IMPORT_SLOT(FindNextFileA, 8);

namespace vorlund {
namespace {

using collect_testing::Ansi;
using collect_testing::ExpectedListing;
using collect_testing::FileNames;
using collect_testing::Gbk;
using collect_testing::Rows;
using collect_testing::TempTree;
using collect_testing::Wide;
// A message window of the test: its action runs in whatever pump takes the message posted to
// it, as a handler of the program would.
using testing::TestWindow;

// A list that hands every call on to another one and lets the test act after each row appended
// (or fail the row, as a list box that refuses it).
class Watched : public ui::TStrings {
 public:
  explicit Watched(ui::TStrings& inner) : inner_(inner) {}
  int Count() const override { return inner_.Count(); }
  std::string Get(int index) const override { return inner_.Get(index); }
  void Add(const std::string& text) override {
    ++adds;
    if (adds == fail_at) throw EListError(kListInsertError);
    inner_.Add(text);
    if (after_add) after_add();
  }
  void Clear() override { inner_.Clear(); }

  int adds = 0;
  int fail_at = 0;
  std::function<void()> after_add;

 private:
  ui::TStrings& inner_;
};

class ScanTest : public testing::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    testing::Pump(50);  // let the new window settle before a pump is observed
  }
  ui::TStrings& List() { return Form1->FileListBox1->Items(); }
};

// A tree with what a listing meets: nested and empty folders, a folder named ".cache", hidden
// and system files and folders, names in Chinese, one whose last byte is that of "\".
void MakeMixedTree(const TempTree& tree) {
  const DWORD hidden_system = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  tree.File("a.txt");
  tree.File("no extension");
  tree.File("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  tree.File("system.sys", FILE_ATTRIBUTE_SYSTEM);
  tree.File("readonly.txt", FILE_ATTRIBUTE_READONLY);
  tree.File(Gbk("中文 文件.txt"));
  tree.Folder(".cache");
  tree.File(".cache\\c.bin");
  tree.Folder("empty");
  tree.Folder("nested");
  tree.File("nested\\n.txt");
  tree.Folder("nested\\x");
  tree.Folder("nested\\x\\y");
  tree.File("nested\\x\\y\\deep.txt");
  tree.Folder("nested\\x\\empty too");
  tree.Folder("hidden dir", hidden_system);
  tree.File("hidden dir\\inside.txt");
  tree.Folder(Gbk("乗目录"));
  tree.File(Gbk("乗目录\\乗.txt"));
}

const char* const kMixedFiles[] = {
    "a.txt",
    "no extension",
    "hidden.txt",
    "system.sys",
    "readonly.txt",
    "中文 文件.txt",
    ".cache\\c.bin",
    "nested\\n.txt",
    "nested\\x\\y\\deep.txt",
    "hidden dir\\inside.txt",
    "乗目录\\乗.txt",
};

TEST_F(ScanTest, ListsEveryFileOnceInThePlatformsOrderDescendingWhenTicked) {
  TempTree tree("scan-mixed");
  MakeMixedTree(tree);
  Form1->chk1->SetChecked(true);
  ScanFolder(tree.Root(), List());
  std::vector<std::string> rows = Rows(List());
  EXPECT_EQ(rows, ExpectedListing(tree.Root(), true));
  // Each file made, once, and nothing else: no folders, no "." or "..".
  std::multiset<std::string> made;
  for (const char* file : kMixedFiles) made.insert(tree.Path(Gbk(file)));
  EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()), made);
}

TEST_F(ScanTest, ListsOnlyTheFolderItselfWhenNotTicked) {
  TempTree tree("scan-flat");
  MakeMixedTree(tree);
  Form1->chk1->SetChecked(false);
  ScanFolder(tree.Root(), List());
  std::vector<std::string> rows = Rows(List());
  EXPECT_EQ(rows, ExpectedListing(tree.Root(), false));
  std::multiset<std::string> made;
  for (const char* file : kMixedFiles) {
    if (!std::strchr(file, '\\')) made.insert(tree.Path(Gbk(file)));
  }
  EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()), made);
}

TEST_F(ScanTest, AppendsToWhatTheListHoldsAndAddsNothingForWhatCannotBeListed) {
  TempTree tree("scan-append");
  tree.File("one.txt");
  tree.Folder("only dots");
  Form1->chk1->SetChecked(true);
  List().Add("kept");
  List().Add("kept");
  for (const std::string& folder :
       {tree.Path("missing"), tree.Path("one.txt"), tree.Path("only dots"), tree.Path("bad<name>?"),
        std::string("Q:\\no drive")}) {
    SCOPED_TRACE(folder);
    ScanFolder(folder, List());
    EXPECT_EQ(Rows(List()), (std::vector<std::string>{"kept", "kept"}));
  }
  ScanFolder(tree.Root(), List());
  EXPECT_EQ(Rows(List()), (std::vector<std::string>{"kept", "kept", tree.Path("one.txt")}));
}

TEST_F(ScanTest, PumpsOnceForEveryFolderEnteredAndNeverBetweenEntries) {
  TempTree tree("scan-pumps");
  MakeMixedTree(tree);
  for (bool ticked : {true, false}) {
    SCOPED_TRACE(::testing::Message() << "ticked " << ticked);
    Form1->chk1->SetChecked(ticked);
    List().Clear();
    // A probe message waits before the scan and after every row: each pump that comes after a
    // row (or the first one) takes it and notes how many rows stood then.
    Watched watched(List());
    std::vector<size_t> seen;
    TestWindow probe([&] { seen.push_back(static_cast<size_t>(List().Count())); });
    watched.after_add = [&] { probe.PostOnce(); };
    probe.PostOnce();
    ScanFolder(tree.Root(), watched);
    std::vector<size_t> during = seen;

    std::vector<std::string> rows;
    std::vector<size_t> entries;  // rows listed before each folder entered
    ExpectedListing(tree.Root(), ticked, rows, &entries);
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    EXPECT_EQ(during, entries);
    if (!ticked) {
      EXPECT_EQ(during, std::vector<size_t>{0});
    }
    testing::Pump();  // the last probe, if any
  }
}

// The rows a listing gives when the box changes to the other state right after row k.
std::vector<std::string> ListingWithChangeAfter(const std::string& root, bool first_state,
                                                size_t k) {
  std::vector<std::string> rows;
  bool checked = first_state;
  std::function<void(const std::string&)> walk = [&](const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      std::string name = data.cFileName;
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        rows.push_back(folder + "\\" + name);
        if (rows.size() == k) checked = !first_state;
      } else if (checked && name != "." && name != "..") {
        walk(folder + "\\" + name);
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  };
  walk(root);
  return rows;
}

TEST_F(ScanTest, ReadsTheCheckBoxAtEveryDirectoryEntry) {
  TempTree tree("scan-toggle");
  // Files and folders whose names alternate, each folder with a file and a folder of its own.
  for (char c = 'a'; c <= 'l'; c += 2) {
    std::string file = std::string(1, c) + ".txt", folder(1, static_cast<char>(c + 1));
    tree.File(file);
    tree.Folder(folder);
    tree.File(folder + "\\in.txt");
    tree.Folder(folder + "\\sub");
    tree.File(folder + "\\sub\\deeper.txt");
  }
  // The box changes after row k: folders met before that follow the old state, those met
  // after it the new one, at every level; a folder already entered is listed to its end.
  for (bool first_state : {true, false}) {
    SCOPED_TRACE(::testing::Message() << "first state " << first_state);
    // The first k at which the change shows against both plain listings.
    std::vector<std::string> expected;
    size_t k = 1;
    for (;; ++k) {
      expected = ListingWithChangeAfter(tree.Root(), first_state, k);
      ASSERT_LE(k, expected.size()) << "no row splits the states";
      if (expected != ExpectedListing(tree.Root(), true) &&
          expected != ExpectedListing(tree.Root(), false)) {
        break;
      }
    }
    SCOPED_TRACE(::testing::Message() << "change after " << k);
    Form1->chk1->SetChecked(first_state);
    List().Clear();
    Watched watched(List());
    watched.after_add = [&] {
      if (static_cast<size_t>(watched.adds) == k) Form1->chk1->SetChecked(!first_state);
    };
    ScanFolder(tree.Root(), watched);
    EXPECT_EQ(Rows(List()), expected);
  }
}

TEST_F(ScanTest, ARefusedRowEndsTheWholeScanWithEverySearchClosed) {
  TempTree tree("scan-refused");
  tree.Folder("d1");
  tree.Folder("d1\\d2");
  tree.Folder("d1\\d2\\d3");
  for (const char* file : {"d1\\d2\\d3\\a.txt", "d1\\d2\\d3\\b.txt", "d1\\d2\\c.txt", "e.txt"}) {
    tree.File(file);
  }
  Form1->chk1->SetChecked(true);
  std::vector<std::string> all = ExpectedListing(tree.Root(), true);
  ASSERT_EQ(all.size(), 4u);
  for (int fail_at = 1; fail_at <= 4; ++fail_at) {
    SCOPED_TRACE(::testing::Message() << "row " << fail_at << " refused");
    List().Clear();
    Watched watched(List());
    watched.fail_at = fail_at;
    try {
      ScanFolder(tree.Root(), watched);
      ADD_FAILURE() << "no error";
    } catch (const EListError& error) {
      EXPECT_STREQ(error.what(), "Unable to insert a line");
    }
    EXPECT_EQ(watched.adds, fail_at);  // nothing after the error
    EXPECT_EQ(Rows(List()), std::vector<std::string>(all.begin(), all.begin() + fail_at - 1));
  }
  // A folder with a search still open cannot be removed: every level was closed.
  EXPECT_TRUE(tree.Remove());
}

TEST_F(ScanTest, EveryFolderIsClosedAfterAScan) {
  TempTree tree("scan-closed");
  MakeMixedTree(tree);
  Form1->chk1->SetChecked(true);
  ScanFolder(tree.Root(), List());
  EXPECT_FALSE(Rows(List()).empty());
  EXPECT_TRUE(tree.Remove());
}

// The folder text is used as given: one "\" is added whatever it ends with.
TEST_F(ScanTest, RowsSpellTheFolderTextAsGiven) {
  TempTree tree("scan-spelling");
  tree.File("a.txt");
  Form1->chk1->SetChecked(false);
  // A file of our own in the drive's root, so that the root's listing holds one for sure.
  std::string root_file = "vorlund-scan-root-" + std::to_string(GetCurrentProcessId()) + ".txt";
  TempTree::RemoveAll("C:\\" + root_file);
  HANDLE made = CreateFileA(("C:\\" + root_file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  char saved_directory[MAX_PATH];
  GetCurrentDirectoryA(sizeof saved_directory, saved_directory);
  ASSERT_TRUE(SetCurrentDirectoryA(tree.Root().c_str()));

  auto prefixed = [](const std::string& prefix, const std::vector<std::string>& names) {
    std::vector<std::string> rows;
    for (const std::string& name : names) rows.push_back(prefix + name);
    return rows;
  };
  std::vector<std::string> root_names = FileNames("C:\\");
  ASSERT_NE(std::find(root_names.begin(), root_names.end(), root_file), root_names.end());
  struct Case {
    std::string folder;
    std::vector<std::string> rows;
  } cases[] = {
      {tree.Root(), {tree.Root() + "\\a.txt"}},
      {tree.Root() + "\\", {tree.Root() + "\\\\a.txt"}},
      {tree.Root() + "/", {tree.Root() + "/\\a.txt"}},
      {"C:\\", prefixed("C:\\\\", root_names)},
      {"C:/", prefixed("C:/\\", root_names)},
      {"C:", prefixed("C:\\", root_names)},  // the pattern "C:\*.*" names the root
      {"", prefixed("\\", root_names)},      // "\*.*": the root of the current drive
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("folder text '" + c.folder + "'");
    List().Clear();
    ScanFolder(c.folder, List());
    EXPECT_EQ(Rows(List()), c.rows);
  }
  SetCurrentDirectoryA(saved_directory);
  DeleteFileA(("C:\\" + root_file).c_str());
}

// --- names that the code page cannot carry ---------------------------------------------------

// The folder made from Linux with names in Korean, an emoji and "ñ" beside names the code page
// carries: the platform's ANSI listing gives "?" for what it cannot carry, and a short name.
TEST_F(ScanTest, TheForeignNamesFolderHoldsNamesTheAnsiListingCannotSpell) {
  const std::string folder = testing::ForeignNamesDir();
  std::multiset<std::string> made, listed;
  for (const testing::ForeignFile& file : testing::ForeignFiles()) made.insert(file.path);
  for (const testing::TrueEntry& entry : testing::TrueListing(folder, true)) {
    listed.insert(entry.relative_utf8);
  }
  ASSERT_EQ(listed, made);
  for (const testing::ForeignFile& file : testing::ForeignFiles()) {
    SCOPED_TRACE(file.path);
    // Each part of the file's path, in the folder above it: a part the code page cannot carry
    // is an entry whose ANSI name holds "?" and whose short name is the platform's.
    bool lost = false;
    std::wstring above = Wide(folder);
    std::string above_ansi = folder;  // the same folder, by names the ANSI calls can spell
    for (const std::wstring& part : testing::PartsOf(testing::WideOfUtf8(file.path))) {
      const std::wstring path = above + L"\\" + part;
      std::string ansi_part = Ansi(part);
      if (!testing::CodePageCarries(part)) {
        lost = true;
        const std::string short_name = Ansi(testing::ShortNameOf(path));
        EXPECT_NE(ansi_part, short_name);
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((above_ansi + "\\" + short_name).c_str(), &data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << short_name;
        FindClose(find);
        EXPECT_EQ(std::string(data.cAlternateFileName), short_name);
        EXPECT_NE(std::string(data.cFileName).find('?'), std::string::npos) << data.cFileName;
        ansi_part = short_name;
      }
      above = path;
      above_ansi += "\\" + ansi_part;
    }
    EXPECT_EQ(lost, file.lost);
  }
}

TEST_F(ScanTest, ANameTheCodePageCannotCarryIsListedByItsShortName) {
  const std::string folder = testing::ForeignNamesDir();
  const std::map<std::string, std::string> md5sums =
      testing::Md5sumsByUtf8Path(testing::ForeignNamesMd5());
  ASSERT_EQ(md5sums.size(), testing::ForeignFiles().size());
  for (bool ticked : {true, false}) {
    SCOPED_TRACE(::testing::Message() << "ticked " << ticked);
    Form1->chk1->SetChecked(ticked);
    List().Clear();
    ScanFolder(folder, List());
    const std::vector<std::string> rows = Rows(List());
    std::vector<std::string> expected;
    for (const testing::TrueEntry& entry : testing::TrueListing(folder, ticked)) {
      expected.push_back(entry.row);
    }
    EXPECT_EQ(rows, expected);
    // Each row opens its own file, which md5sum digested.
    std::set<std::string> files;
    for (const std::string& row : rows) {
      SCOPED_TRACE(row);
      const std::string file = testing::FileOfRow(row, folder);
      ASSERT_NE(md5sums.count(file), 0u) << "the row names no file of the folder";
      files.insert(file);
      EXPECT_EQ(FileMD5Hex(row), md5sums.at(file));
    }
    EXPECT_EQ(files.size(), ticked ? md5sums.size() : 7u);
  }
}

// The listing calls of a volume that keeps no short names (they can be switched off): the
// platform's own, with every entry's short name blanked.
struct NoShortNames {
  static inline HANDLE(WINAPI* real_first)(LPCSTR, LPWIN32_FIND_DATAA) = nullptr;
  static inline BOOL(WINAPI* real_next)(HANDLE, LPWIN32_FIND_DATAA) = nullptr;
  static HANDLE WINAPI First(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    HANDLE find = real_first(pattern, data);
    if (find != INVALID_HANDLE_VALUE) data->cAlternateFileName[0] = '\0';
    return find;
  }
  static BOOL WINAPI Next(HANDLE find, LPWIN32_FIND_DATAA data) {
    const BOOL found = real_next(find, data);
    if (found) data->cAlternateFileName[0] = '\0';
    return found;
  }
};

// Without a short name an entry is listed as before: a file by the name the ANSI listing gives,
// "?" and all (the run then reports it), and a folder so named lists nothing.
TEST_F(ScanTest, WithoutShortNamesANameTheCodePageCannotCarryIsListedAsTheListingSpellsIt) {
  const std::string folder = testing::ForeignNamesDir();
  std::vector<std::string> expected;
  for (const testing::TrueEntry& entry : testing::TrueListing(folder, true)) {
    const std::vector<std::wstring> parts =
        testing::PartsOf(testing::WideOfUtf8(entry.relative_utf8));
    std::string row = folder;
    bool in_lost_folder = false;
    for (size_t i = 0; i < parts.size(); ++i) {
      row += "\\" + Ansi(parts[i]);
      if (i + 1 < parts.size() && !testing::CodePageCarries(parts[i])) in_lost_folder = true;
    }
    if (!in_lost_folder) expected.push_back(row);
  }
  ASSERT_EQ(expected.size(), testing::ForeignFiles().size() - 1);
  Form1->chk1->SetChecked(true);
  List().Clear();
  {
    testing::ReplacedImport<decltype(FindFirstFileASlot)> first(FindFirstFileASlot,
                                                                NoShortNames::First);
    testing::ReplacedImport<decltype(FindNextFileASlot)> next(FindNextFileASlot,
                                                              NoShortNames::Next);
    NoShortNames::real_first = first.Original();
    NoShortNames::real_next = next.Original();
    ScanFolder(folder, List());
  }
  const std::vector<std::string> rows = Rows(List());
  EXPECT_EQ(rows, expected);
  EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                         [](const std::string& row) { return row.find('?') != row.npos; }),
            rows.end());
}

// --- a listing started inside a scan's pump ------------------------------------------------

TEST_F(ScanTest, AListingStartedInAPumpSupersedesTheInterruptedScan) {
  TempTree tree("scan-supersede");
  for (int i = 0; i < 8; ++i) {  // folders after files and files after folders, whatever order
    tree.File("first" + std::to_string(i) + ".txt");
    tree.Folder("first" + std::to_string(i));
    tree.File("first" + std::to_string(i) + "\\inner.txt");
  }
  tree.Folder("second");
  tree.File("second\\s1.txt");
  tree.File("second\\s2.txt");
  Form1->chk1->SetChecked(true);
  std::vector<std::string> second = ExpectedListing(tree.Path("second"), true);

  struct Case {
    const char* how;
    std::function<void()> start_listing;
  } cases[] = {
      {"a scan of its own",
       [&] {
         StartListing();
         List().Clear();
         ScanFolder(tree.Path("second"), List());
       }},
      {"the path box", [&] { Form1->Edit1->SetText(tree.Path("second")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    Form1->Edit1->SetText("");
    List().Clear();
    Watched watched(List());
    bool ran_during_scan = false;
    bool scanning = false;
    int adds_before = 0;
    TestWindow probe([&] {
      ran_during_scan = scanning;
      adds_before = watched.adds;
      c.start_listing();
    });
    watched.after_add = [&] {
      if (watched.adds == 1) probe.PostOnce();
    };
    scanning = true;
    ScanFolder(tree.Path(""), watched);
    scanning = false;
    ASSERT_EQ(probe.Runs(), 1);
    ASSERT_TRUE(ran_during_scan) << "no folder entered after the first row";
    EXPECT_EQ(Rows(List()), second);
    EXPECT_EQ(watched.adds, adds_before) << "the interrupted scan went on";
  }
}

TEST_F(ScanTest, APumpThatStartsNoListingLetsTheScanGoOn) {
  TempTree tree("scan-goes-on");
  MakeMixedTree(tree);
  Form1->chk1->SetChecked(true);
  Watched watched(List());
  TestWindow probe([] { Form1->Memo2->Items().Add("a handler ran"); });
  watched.after_add = [&] { probe.PostOnce(); };
  ScanFolder(tree.Root(), watched);
  EXPECT_GT(probe.Runs(), 0);
  EXPECT_EQ(Rows(List()), ExpectedListing(tree.Root(), true));
  testing::Pump();
}

}  // namespace
}  // namespace vorlund
