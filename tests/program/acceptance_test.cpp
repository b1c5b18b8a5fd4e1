// The whole program as a user meets it: Vorlund.exe started, a folder listed (picked in the
// folder picker or typed into the path box), its files digested, rows read in both lists, the
// list saved through the file dialog, and the roads that end in an error box. Everything is done
// from this process with the pointer, keys, characters and the dialogs' own buttons, and read
// back from the window's controls and from pictures of the display. Pictures of the key moments
// go to the build folder's screenshots/.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "acceptance_driver.h"

namespace vorlund::testing {
namespace {

std::string FilesDir() { return BinaryDir() + "\\acceptance-files"; }
std::string RoadDir() { return FilesDir() + "\\road"; }
std::string SmallDir() { return FilesDir() + "\\small"; }
std::string SlowDir() { return FilesDir() + "\\slow"; }

// md5sum's digests of one of the folders' files.
std::map<std::string, std::string> Md5sums(const std::string& folder_name) {
  return vorlund::testing::Md5sums(FilesDir() + "\\" + folder_name + ".md5");
}

// The saved file's bytes for a list of digests: each digest, then CR LF.
std::string SavedText(const std::vector<std::string>& digests) {
  std::string text;
  for (const std::string& d : digests) text += d + "\r\n";
  return text;
}

// The error code the platform gives for a create call like the export's.
DWORD CreateError(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD code = GetLastError();
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileA(path.c_str());
    return 0;
  }
  return code;
}

// The error code the platform gives for an open like the file digest's.
DWORD OpenError(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD code = GetLastError();
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  return code;
}

// Checks an error box of the default error display, then closes it with OK.
void ExpectErrorBox(Session& session, const std::string& text, const char* screenshot = nullptr) {
  HWND box = session.WaitForBox();
  ASSERT_NE(box, nullptr) << "no error box";
  Sleep(100);
  const DialogSeen seen = ReadDialog(box);
  if (screenshot) SaveScreenshot(screenshot);
  EXPECT_EQ(seen.caption, "Vorlund");
  EXPECT_TRUE(BoxShows(seen, text)) << "shown: " << seen.text << "\nexpected: " << text;
  EXPECT_NE(seen.owner, session.Window().form) << "owned by the application's window";
  EXPECT_EQ(WindowTextOf(seen.owner), "Vorlund");
  EXPECT_NE(seen.icon, nullptr) << "the error icon";
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_TRUE(PressDialogButton(box, IDOK));
}

// Opens the save dialog with the save button, names the target, and accepts; offered, when
// given, gets the name the dialog offered.
void SaveAs(Session& session, const std::string& name, const char* screenshot = nullptr,
            std::string* offered = nullptr) {
  ClickWindow(session.Window().save);
  HWND dialog = session.WaitForBox();
  ASSERT_NE(dialog, nullptr) << "no file dialog";
  ASSERT_NE(FileNameBox(dialog), nullptr) << "the box that showed is not a file dialog";
  if (screenshot) {
    Sleep(300);  // let it draw its folder
    SaveScreenshot(screenshot);
  }
  ASSERT_TRUE(NameAndAccept(dialog, name, offered));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
      << "the file dialog did not close";
}

// Checks the confirmation of a saved list, then closes it.
void ExpectSaved(Session& session, const std::string& target) {
  HWND box = session.WaitForBox();
  ASSERT_NE(box, nullptr) << "no confirmation";
  Sleep(100);
  const DialogSeen seen = ReadDialog(box);
  EXPECT_EQ(seen.caption, "Vorlund");
  EXPECT_TRUE(BoxShows(seen, Gbk("文件保存成功") + "\r\n" + target))
      << "shown: " << seen.text << "\nexpected: " << target;
  EXPECT_EQ(seen.icon, nullptr) << "no icon";
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(seen.first_button, "OK");
  EXPECT_TRUE(PressDialogButton(box, IDOK));
}

// Lists a folder by typing its path, and waits until its rows show.
void ListByTyping(Session& session, const std::string& folder) {
  session.TypePath(folder);
  ASSERT_TRUE(session.WaitForPathBox(folder));
  const size_t expected = ExpectedRows(folder, session.SubFoldersTicked()).size();
  ASSERT_TRUE(WaitUntil([&] { return session.Files().size() == expected; }));
}

// A run over the listed files that completes; fails the test when it does not.
void RunToEnd(Session& session) {
  session.StartRun();
  ASSERT_TRUE(session.WaitForRunEnd()) << "the run did not end with a digest per file";
}

// The listing road: a folder picked in the folder picker with the sub-folders box ticked.
TEST(Acceptance, PickedFolderIsListedOnceWhileTheGaugeIsRedThenGreen) {
  Session session;
  ASSERT_TRUE(session.Ready());
  EXPECT_EQ(session.Position(), Gbk("当前位置: 0/0        "));
  EXPECT_EQ(session.Gauge().right, kGreen) << "green at start";
  session.ClickSubFolders();
  ASSERT_TRUE(WaitUntil([&] { return session.SubFoldersTicked(); })) << "the box took the click";

  // Pictures of the gauge from the moment OK is pressed until the listing is whole.
  std::vector<COLORREF> seen_during;
  const std::vector<std::string> expected = ExpectedRows(RoadDir(), true);
  ASSERT_GT(expected.size(), 200u);
  const std::string failure = session.PickFolder(RoadDir(), "road", [&] {
    WaitUntil([&] {
      seen_during.push_back(session.Gauge().right);
      return session.Position() == PositionText(0, static_cast<int>(expected.size()));
    });
  });
  ASSERT_EQ(failure, "");
  EXPECT_TRUE(BoxShows(session.PickerSeen(), Gbk("请选择你要处理的文件夹")))
      << "the picker's title";
  ASSERT_TRUE(session.WaitForListing(static_cast<int>(expected.size())));
  EXPECT_NE(std::find(seen_during.begin(), seen_during.end(), kRed), seen_during.end())
      << "red while listing (" << seen_during.size() << " pictures)";

  EXPECT_EQ(session.Files(), expected) << "each file once, in the platform's order";
  EXPECT_EQ(session.PositionDrawnDifference(), 0) << "the label shows its text on the screen";
  EXPECT_EQ(session.PathBox(), RoadDir());
  EXPECT_TRUE(session.Digests().empty());
  const GaugeColours after = session.Gauge();
  EXPECT_EQ(after.left, kGreen);
  EXPECT_EQ(after.right, kGreen);
  SaveScreenshot("after-listing");
  EXPECT_EQ(session.Close(), 0u);
}

// The path box: a typed path lists the folder and leaves the label, the gauge and the digest
// list alone, also after a run.
TEST(Acceptance, TypedPathListsTheFolderAndTouchesNothingElse) {
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, RoadDir()));
  EXPECT_EQ(session.Files(), ExpectedRows(RoadDir(), false)) << "sub-folders not entered";
  EXPECT_EQ(session.Position(), Gbk("当前位置: 0/0        "));
  EXPECT_EQ(session.PositionDrawnDifference(), 0) << "the label shows its text on the screen";
  EXPECT_EQ(session.Gauge().right, kGreen);

  // After a run over another folder, a path typed anew: the file list alone changes.
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SmallDir()));
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  const std::vector<std::string> digests = session.Digests();
  session.ClickRow(session.Window().file_list, 1);
  ASSERT_TRUE(WaitUntil([&] { return session.Position() == PositionText(2, 5); }));
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, RoadDir()));
  EXPECT_EQ(session.Files(), ExpectedRows(RoadDir(), false));
  EXPECT_EQ(session.Digests(), digests);
  EXPECT_EQ(session.Position(), PositionText(2, 5));
  EXPECT_EQ(session.DigestBox(), digests[1]);
  EXPECT_EQ(session.Gauge().right, kGreen);
  EXPECT_EQ(session.Close(), 0u);
}

// The road of one typical use, end to end: pick, run, read rows in both lists, save.
TEST(Acceptance, TypicalUseListsDigestsReadsAndSaves) {
  WorkFolder work("road");
  const std::map<std::string, std::string> md5sums = Md5sums("road");
  Session session;
  ASSERT_TRUE(session.Ready());
  session.ClickSubFolders();
  ASSERT_TRUE(WaitUntil([&] { return session.SubFoldersTicked(); }));

  // 1. List.
  ASSERT_EQ(session.PickFolder(RoadDir(), "road"), "");
  const std::vector<std::string> rows = ExpectedRows(RoadDir(), true);
  const int n = static_cast<int>(rows.size());
  ASSERT_TRUE(session.WaitForListing(n));
  ASSERT_EQ(session.Files(), rows);
  const std::vector<std::string> digests = ExpectedDigests(rows, RoadDir(), md5sums);

  // 2. Digest: a digest per row, the label reset, the gauge green again.
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  EXPECT_EQ(session.Digests(), digests) << "row for row, md5sum's digests in upper case";
  EXPECT_EQ(session.Position(), PositionText(0, 0));
  const GaugeColours after = session.Gauge();
  EXPECT_EQ(after.left, kGreen) << "0% after the run";
  EXPECT_EQ(after.right, kGreen);

  // 3. Read rows: a click in the file list, then in the digest list right of the split line,
  // then the arrow keys there; the other list follows, the label and the digest box show.
  const MainWindow& w = session.Window();
  // Memo2 follows the file list on the program's tick as well as on the click's notice, which
  // sets the label: the label is waited for too.
  session.ClickRow(w.file_list, 4);
  ASSERT_TRUE(WaitUntil([&] { return ListStateOf(w.digest_list).selected == 4; }))
      << "Memo2 follows";
  EXPECT_EQ(ListStateOf(w.file_list).selected, 4);
  WaitUntil([&] { return session.Position() == PositionText(5, n); });
  EXPECT_EQ(session.Position(), PositionText(5, n));
  EXPECT_EQ(session.PositionDrawnDifference(), 0) << "the label shows its text on the screen";
  EXPECT_EQ(session.DigestBox(), digests[4]);
  PressKey(VK_DOWN);  // the pointer rests over the file list, which has the focus
  ASSERT_TRUE(WaitUntil([&] { return session.Position() == PositionText(6, n); }));
  EXPECT_EQ(session.DigestBox(), digests[5]);
  EXPECT_TRUE(WaitUntil([&] { return ListStateOf(w.digest_list).selected == 5; }));

  RECT list = {};
  GetClientRect(w.digest_list, &list);
  session.ClickRow(w.digest_list, 2, list.right - 60);  // right of the split line
  ASSERT_TRUE(WaitUntil([&] { return ListStateOf(w.file_list).selected == 2; }))
      << "the file list follows";
  EXPECT_EQ(FocusOf(w.form), w.digest_list);
  WaitUntil([&] { return session.Position() == PositionText(3, n); });
  EXPECT_EQ(session.Position(), PositionText(3, n));
  EXPECT_EQ(session.DigestBox(), digests[2]);
  for (int row = 3; row < 6; ++row) {
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return session.Position() == PositionText(row + 1, n); }))
        << "the label after moving down to row " << row + 1;
    EXPECT_EQ(session.DigestBox(), digests[row]);
    EXPECT_TRUE(WaitUntil([&] { return ListStateOf(w.file_list).selected == row; }));
  }
  // Far down the digest list: the file list scrolls with it.
  PressKey(VK_END);
  ASSERT_TRUE(WaitUntil([&] { return session.Position() == PositionText(n, n); }));
  EXPECT_EQ(session.DigestBox(), digests[n - 1]);
  EXPECT_TRUE(WaitUntil([&] {
    const ListState files = ListStateOf(w.file_list);
    return files.selected == n - 1 && files.top == ListStateOf(w.digest_list).top;
  })) << "file list "
      << ::testing::PrintToString(ListStateOf(w.file_list)) << ", digest list "
      << ::testing::PrintToString(ListStateOf(w.digest_list));
  EXPECT_GT(ListStateOf(w.file_list).top, 0);
  SaveScreenshot("after-run-row-selected");

  // 4. Save: the name without extension, the target with ".txt", the confirmation.
  const std::string name = work.Path("digests");
  ASSERT_NO_FATAL_FAILURE(SaveAs(session, name, "save-dialog"));
  ExpectSaved(session, name + ".txt");
  EXPECT_EQ(ReadWholeFile(name + ".txt"), SavedText(digests)) << "byte for byte";
  EXPECT_EQ(session.Digests(), digests) << "the list unchanged";

  // Another folder picked: both lists emptied and the new folder listed, the label reset.
  ASSERT_EQ(session.PickFolder(SmallDir(), "small"), "");
  ASSERT_TRUE(session.WaitForListing(5));
  EXPECT_EQ(session.Files(), ExpectedRows(SmallDir(), true));
  EXPECT_TRUE(session.Digests().empty());
  EXPECT_EQ(session.PathBox(), SmallDir());
  EXPECT_EQ(session.Gauge().right, kGreen);

  EXPECT_EQ(session.Close(), 0u);
}

// A run that lasts: the gauge grey with the share done in red from the left while it goes, green
// with 0% after it.
TEST(Acceptance, RunShowsTheShareDoneOnGreyThenGreen) {
  const std::map<std::string, std::string> md5sums = Md5sums("slow");
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SlowDir()));
  const std::vector<std::string> rows = session.Files();
  ASSERT_EQ(rows.size(), 4u);

  session.StartRun();
  std::vector<GaugeColours> seen;
  bool part_filled = false;
  WaitUntil(
      [&] {
        seen.push_back(session.Gauge());
        if (seen.back().left == kRed && seen.back().right == kSilver && !part_filled) {
          part_filled = true;
          SaveScreenshot("during-run");
        }
        // Asked briefly: between its pumps the program hears nothing, and a question that
        // waited for the next pump would let the part-filled gauge pass unseen.
        return Ask(session.Window().digest_list, LB_GETCOUNT, 0, 0, 50) ==
               static_cast<LRESULT>(rows.size());
      },
      15000, 0);
  EXPECT_TRUE(part_filled) << "grey, part-filled with red, in one of " << seen.size()
                           << " pictures";
  ASSERT_TRUE(session.WaitForRunEnd());
  EXPECT_EQ(session.Digests(), ExpectedDigests(rows, SlowDir(), md5sums));
  const GaugeColours after = session.Gauge();
  EXPECT_EQ(after.left, kGreen);
  EXPECT_EQ(after.right, kGreen);
  EXPECT_EQ(session.Close(), 0u);
}

// A file that another process holds open without sharing it for reading stops the run at its
// row with the open error; the rows before it keep their digests.
TEST(Acceptance, UnopenableFileStopsTheRunWithTheOpenError) {
  const std::map<std::string, std::string> md5sums = Md5sums("small");
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SmallDir()));
  const std::vector<std::string> rows = session.Files();
  ASSERT_EQ(rows.size(), 5u);
  const int k = 2;
  HANDLE held = CreateFileA(rows[k].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const DWORD code = OpenError(rows[k]);
  ASSERT_NE(code, 0u) << "the platform lets the file be opened";

  session.StartRun();
  ExpectErrorBox(
      session,
      ShownErrorText("Cannot open file \"" + FullPath(rows[k]) + "\". " + SystemText(code)),
      "error-box");
  CloseHandle(held);
  const std::vector<std::string> digests = ExpectedDigests(rows, SmallDir(), md5sums);
  EXPECT_EQ(session.Digests(), std::vector<std::string>(digests.begin(), digests.begin() + k));
  const GaugeColours g = session.Gauge();
  EXPECT_EQ(g.right, kSilver) << "the gauge stays grey";
  EXPECT_EQ(g.left, kRed) << "with the share done";
  EXPECT_EQ(session.Position(), PositionText(0, 0));

  // Started again with the file free, the run completes.
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  EXPECT_EQ(session.Digests(), digests);
  EXPECT_EQ(session.Close(), 0u);
}

// A folder that is removed between its listing and the run: the open error of its first file.
TEST(Acceptance, FolderRemovedAfterItsListingGivesTheOpenError) {
  WorkFolder work("vanished");
  const std::string folder = work.Path("gone");
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteWholeFile(folder + "\\one.txt", "one");
  WriteWholeFile(folder + "\\two.txt", "two");
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, folder));
  const std::vector<std::string> rows = session.Files();
  ASSERT_EQ(rows.size(), 2u);
  WorkFolder::RemoveAll(folder);
  ASSERT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  const DWORD code = OpenError(rows[0]);

  session.StartRun();
  ExpectErrorBox(session, ShownErrorText("Cannot open file \"" + FullPath(rows[0]) + "\". " +
                                         SystemText(code)));
  EXPECT_TRUE(session.Digests().empty());
  EXPECT_EQ(session.Gauge().right, kSilver);
  EXPECT_EQ(session.Files(), rows) << "the listing stays";
  EXPECT_EQ(session.Close(), 0u);
}

// A target that cannot be created: the create error, no question, nothing written.
TEST(Acceptance, TargetThatCannotBeCreatedGivesTheCreateError) {
  WorkFolder work("create");
  CreateDirectoryA(work.Path("taken.txt").c_str(), nullptr);
  struct Case {
    const char* what;
    std::string name;  // as typed into the dialog
  };
  const Case cases[] = {
      {"a folder of the target's name", work.Path("taken")},
      {"a folder that does not exist", work.Path("missing\\list")},
  };
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SmallDir()));
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string target = c.name + ".txt";
    const DWORD code = CreateError(target);
    ASSERT_NE(code, 0u);
    ASSERT_NO_FATAL_FAILURE(SaveAs(session, c.name));
    ExpectErrorBox(session, ShownErrorText("Cannot create file \"" + FullPath(target) + "\". " +
                                           SystemText(code)));
    EXPECT_FALSE(WaitUntil([&] { return session.OpenBox() != nullptr; }, 500))
        << "nothing after the error";
    const DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_TRUE(attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY));
  }
  EXPECT_EQ(session.Close(), 0u);
}

// An existing target: replaced only after Yes; No leaves it untouched and shows nothing.
TEST(Acceptance, ExistingTargetIsReplacedOnlyAfterYes) {
  WorkFolder work("overwrite");
  const std::map<std::string, std::string> md5sums = Md5sums("small");
  struct Case {
    const char* what;
    int answer;
    bool replaced;
  };
  const Case cases[] = {{"answered No", IDNO, false}, {"answered Yes", IDYES, true}};
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SmallDir()));
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  const std::vector<std::string> digests = ExpectedDigests(session.Files(), SmallDir(), md5sums);
  std::string chosen_before;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = work.Path(std::string("list-") + (c.replaced ? "yes" : "no"));
    const std::string old_content = "an earlier list\r\n";
    WriteWholeFile(name + ".txt", old_content);
    std::string offered;
    ASSERT_NO_FATAL_FAILURE(SaveAs(session, name, nullptr, &offered));
    // The name chosen before, without the .txt added (the dialog shows its folder and, in the
    // box, the name in it).
    EXPECT_EQ(offered, chosen_before) << "the name chosen before, without the .txt added";
    chosen_before = name.substr(name.rfind('\\') + 1);
    HWND question = session.WaitForBox();
    ASSERT_NE(question, nullptr) << "no question";
    Sleep(100);
    const DialogSeen seen = ReadDialog(question);
    EXPECT_EQ(seen.caption, Gbk("警告"));
    EXPECT_TRUE(BoxShows(seen, Gbk("该文件已存在，是否需要覆盖？"))) << seen.text;
    EXPECT_EQ(seen.icon, nullptr);
    EXPECT_EQ(seen.buttons, 2);
    EXPECT_EQ(seen.enabled_windows, 0) << "the program's other windows are disabled";
    EXPECT_EQ(FocusOf(question), GetDlgItem(question, IDYES)) << "Yes is the default button";
    EXPECT_TRUE(PressDialogButton(question, c.answer));
    if (c.replaced) {
      ExpectSaved(session, name + ".txt");
      EXPECT_EQ(ReadWholeFile(name + ".txt"), SavedText(digests));
    } else {
      EXPECT_FALSE(WaitUntil([&] { return session.OpenBox() != nullptr; }, 1000))
          << "nothing shown after No";
      EXPECT_EQ(ReadWholeFile(name + ".txt"), old_content) << "untouched";
    }
  }
  EXPECT_EQ(session.Close(), 0u);
}

// Cancelled, the folder picker and the file dialog change nothing and show nothing.
TEST(Acceptance, CancelledPickerAndFileDialogChangeNothing) {
  Session session;
  ASSERT_TRUE(session.Ready());
  ASSERT_NO_FATAL_FAILURE(ListByTyping(session, SmallDir()));
  ASSERT_NO_FATAL_FAILURE(RunToEnd(session));
  session.ClickRow(session.Window().file_list, 3);
  ASSERT_TRUE(WaitUntil([&] { return session.Position() == PositionText(4, 5); }));
  const std::vector<std::string> files = session.Files(), digests = session.Digests();
  struct Case {
    const char* what;
    HWND button;
  };
  const Case cases[] = {{"the folder picker", session.Window().choose},
                        {"the file dialog", session.Window().save}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClickWindow(c.button);
    HWND dialog = session.WaitForBox();
    ASSERT_NE(dialog, nullptr);
    Sleep(200);
    ClickWindow(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    EXPECT_FALSE(WaitUntil([&] { return session.OpenBox() != nullptr; }, 500));
    EXPECT_EQ(session.Files(), files);
    EXPECT_EQ(session.Digests(), digests);
    EXPECT_EQ(session.PathBox(), SmallDir());
    EXPECT_EQ(session.Position(), PositionText(4, 5));
    EXPECT_EQ(session.DigestBox(), digests[3]);
    EXPECT_EQ(session.Gauge().right, kGreen);
  }
  EXPECT_EQ(session.Close(), 0u);
}

// A window dragged until its close box left the screen is dragged back by a person and closed.
TEST(Acceptance, WindowDraggedPastTheScreenEdgeIsDraggedBackAndCloses) {
  Session session;
  ASSERT_TRUE(session.Ready());
  RECT r = {};
  GetWindowRect(session.Window().form, &r);
  ASSERT_TRUE(session.DragTitleBar(ScreenArea().right - r.right + 100, 0));
  EXPECT_EQ(session.Close(), 0u);
}

}  // namespace
}  // namespace vorlund::testing
