// Folder selection on the real main window: the path box rules through Edit1 (texts assigned
// and typed), and the choose-folder button with the real shell picker driven from a thread.
#include <gtest/gtest.h>
#include <windows.h>
//
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/gauge_states.h"
#include "collect_testing.h"
#include "common/texts.h"
#include "form_fixture.h"
#include "message_recorder.h"
#include "test_window.h"
#include "ui/gauge.h"

namespace ui {
// How a failing check prints a selection of the path box.
void PrintTo(const TEditSelection& s, std::ostream* os) {
  *os << "[" << s.start << ", " << s.end << ")";
}
}  // namespace ui

namespace vorlund {
namespace {

using collect_testing::ExpectedListing;
using collect_testing::FileNames;
using collect_testing::Gbk;
using collect_testing::PickerDriver;
using collect_testing::PickerPlan;
using collect_testing::PickerSeen;
using collect_testing::Rows;
using collect_testing::TempTree;
using testing::MessageRecorder;
using testing::NothingSent;
using testing::PositionText;
using testing::TestWindow;
using testing::TestWindowOptions;

std::vector<std::string> Prefixed(const std::string& prefix,
                                  const std::vector<std::string>& names) {
  std::vector<std::string> rows;
  for (const std::string& name : names) rows.push_back(prefix + name);
  return rows;
}

// What the window shows besides the file list and the box.
struct Others {
  std::vector<std::string> memo;
  ui::TColor gauge_color;
  int gauge_progress;
  std::string label;
  bool operator==(const Others&) const = default;
};

Others ReadOthers() {
  return {Rows(Form1->Memo2->Items()), Form1->Gauge1->BackColor(), Form1->Gauge1->Progress(),
          Form1->lbl3->Caption()};
}

void SetOthers() {
  Form1->Memo2->Items().Clear();
  Form1->Memo2->Items().Add("0123456789ABCDEF0123456789ABCDEF");
  Form1->Memo2->Items().Add("digest two");
  Form1->Gauge1->SetBackColor(gauge_state::Running);
  Form1->Gauge1->SetProgress(37);
  Form1->lbl3->SetCaption(PositionText(2, 9));
}

void PrintTo(const Others& o, std::ostream* os) {
  *os << "memo " << o.memo.size() << " rows, gauge " << std::hex << o.gauge_color << std::dec
      << " at " << o.gauge_progress << ", label '" << o.label << "'";
}

// The picker's name for a folder (its tree item's text), asked of the shell.
std::string DisplayName(const std::string& path) {
  SHFILEINFOA info = {};
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  return info.szDisplayName;
}

class SelectionTest : public testing::FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    testing::Pump(50);
    saved_directory_.resize(MAX_PATH);
    saved_directory_.resize(GetCurrentDirectoryA(MAX_PATH, saved_directory_.data()));
  }
  void TearDown() override {
    SetCurrentDirectoryA(saved_directory_.c_str());
    FormTest::TearDown();
  }
  ui::TStrings& List() { return Form1->FileListBox1->Items(); }
  HWND ListHandle() { return Form1->FileListBox1->Handle(); }
  std::string Box() { return Form1->Edit1->Text(); }
  // Clicks Button2 as the mouse would; returns once its handler has run.
  void ClickButton2() { SendMessageA(Form1->Button2->Handle(), BM_CLICK, 0, 0); }

  // A file of our own in the root of drive C:, so that listings of the root hold one for sure.
  void MakeRootFile() {
    root_file_ = "vorlund-selection-root-" + std::to_string(GetCurrentProcessId()) + ".txt";
    HANDLE made = CreateFileA(("C:\\" + root_file_).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    root_names_ = FileNames("C:\\");
    ASSERT_NE(std::find(root_names_.begin(), root_names_.end(), root_file_), root_names_.end());
  }
  void RemoveRootFile() { DeleteFileA(("C:\\" + root_file_).c_str()); }

  std::string saved_directory_;
  std::string root_file_;
  std::vector<std::string> root_names_;
};

// --- the path box rules ----------------------------------------------------------------------

TEST_F(SelectionTest, PathBoxTextsListWhatTheRulesName) {
  TempTree tree("selection-table");
  const std::string t = tree.Root();
  const std::string kTrail5C = Gbk("乗");  // 0x81 0x5C: ends in the byte of "\"
  for (const std::string& folder : {std::string("dir"), std::string("ab"), kTrail5C}) {
    tree.Folder(folder);
    tree.File(folder + "\\a.txt");
  }
  tree.File("file.txt");
  Form1->chk1->SetChecked(false);  // drive roots are listed too
  ASSERT_NO_FATAL_FAILURE(MakeRootFile());
  ASSERT_TRUE(SetCurrentDirectoryA(t.c_str()));  // drive-relative texts name the tree
  testing::MessageBoxWatcher boxes;

  const std::vector<std::string> none;
  struct Case {
    std::string text;
    std::string box;  // the box text afterwards
    std::vector<std::string> rows;
  } cases[] = {
      {t + "\\dir", t + "\\dir", {t + "\\dir\\a.txt"}},
      {t + "\\dir\\", t + "\\dir\\", {t + "\\dir/\\a.txt"}},
      {t + "\\dir\\\\\\", t + "\\dir\\\\\\", {t + "\\dir/\\a.txt"}},
      {t + "\\a/b\\", t + "\\a/b\\", {t + "\\ab/\\a.txt"}},
      {"C:/dir\\", "C:/dir\\", {"C:dir/\\a.txt"}},  // 'C:dir/' is below the current folder
      {"C:\\", "C:\\", Prefixed("C:/\\", root_names_)},
      {"C:", "C:", Prefixed("C:\\", root_names_)},
      {t + "/dir", t + "/dir", none},  // a folder, but the "/" stops the rules first
      {"C:/dir", "C:/dir", none},
      {"  " + t + "\\dir  ", t + "\\dir", {t + "\\dir\\a.txt"}},
      {" \t" + t + "\\dir\\ \t", t + "\\dir\\", {t + "\\dir/\\a.txt"}},
      {"", "", none},
      {"    ", "", none},
      {t + "\\no such folder", t + "\\no such folder", none},
      {t + "\\file.txt", t + "\\file.txt", none},
      {t + "\\" + kTrail5C, t + "\\" + kTrail5C, {t + "\\" + kTrail5C + "\\a.txt"}},
      {t + "\\" + kTrail5C + "\\", t + "\\" + kTrail5C + "\\", {t + "\\" + kTrail5C + "/\\a.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text '" + c.text + "'");
    Form1->Edit1->SetText("?");  // a text that differs from every case, listing nothing
    List().Add("stale row");
    SetOthers();
    Others before = ReadOthers();
    Form1->Edit1->SetText(c.text);
    EXPECT_EQ(Box(), c.box);
    EXPECT_EQ(Rows(List()), c.rows);
    EXPECT_EQ(ReadOthers(), before);
  }
  EXPECT_EQ(boxes.Count(), 0) << "a message was shown";
  RemoveRootFile();
}

TEST_F(SelectionTest, TheSameTextAgainRunsNothing) {
  TempTree tree("selection-same");
  tree.File("a.txt");
  Form1->Edit1->SetText(tree.Root());
  ASSERT_EQ(Rows(List()), std::vector<std::string>{tree.Path("a.txt")});
  List().Add("added since");
  Form1->Edit1->SetText(tree.Root());
  EXPECT_EQ(Rows(List()), (std::vector<std::string>{tree.Path("a.txt"), "added since"}));
}

TEST_F(SelectionTest, TypingAPathLeavesOneListingOfTheFinalText) {
  TempTree tree("selection-typing");
  tree.Folder("dir");
  for (const char* name : {"dir\\a.txt", "dir\\b.txt", "top.txt"}) tree.File(name);
  std::string text = tree.Path("dir");
  ASSERT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c > 32 && c < 127; }))
      << "typed as single-byte characters";
  Form1->chk1->SetChecked(false);
  Form1->Edit1->SetText("");
  SetOthers();
  Others before = ReadOthers();
  // Every prefix that names a folder is listed as it is typed ("C:", "C:\", ... the tree),
  // each inside the pump of the listing before it.
  for (char c : text) {
    PostMessageA(Form1->Edit1->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  ASSERT_TRUE(testing::PumpUntil([&] { return Box() == text; }, 20000)) << Box();
  const std::vector<std::string> listing = ExpectedListing(text, false);
  testing::PumpUntil([&] { return Rows(List()) == listing; }, 2000);
  EXPECT_EQ(Rows(List()), ExpectedListing(text, false));
  EXPECT_EQ(ReadOthers(), before);

  // A blank typed at either end goes at once; the listing is made again, once.
  PostMessageA(Form1->Edit1->Handle(), WM_CHAR, ' ', 1);
  testing::Pump(100);  // box and list are to be as before the blank: no state to wait for
  EXPECT_EQ(Box(), text);
  EXPECT_EQ(Rows(List()), ExpectedListing(text, false));
}

// --- the caret in the path box ---------------------------------------------------------------

ui::TEditSelection BoxSelection() { return Form1->Edit1->Selection(); }

// Puts text on the clipboard, for a Ctrl+V typed into the box.
void SetClipboardText(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

// Keys typed one by one through the queue, each taken by whatever pump runs when it comes (the
// listing of the text before it, say): where the rules trim a blank, the caret stays where the
// typing left it in the text that stays, so the next key lands behind the last.
TEST_F(SelectionTest, KeysTypedIntoTheBoxLandWhereTheCaretWasLeft) {
  TempTree tree("selection-caret");
  tree.Folder("a");  // listed, with its pumps, as the keys come
  tree.File("a\\in.txt");
  const std::string t = tree.Root();
  ASSERT_TRUE(std::all_of(t.begin(), t.end(), [](char c) { return c > 32 && c < 127; }))
      << "one character per byte, so that places count bytes";
  const int n = static_cast<int>(t.size());
  Form1->chk1->SetChecked(false);
  const char kPaste = 0x16;  // Ctrl+V
  // clang-format off
  struct Case {
    const char* what;
    std::string text;  // in the box before the keys
    ui::TEditSelection before;
    std::string clipboard;
    std::string keys;
    std::string box;
    ui::TEditSelection after;
  } cases[] = {
      {"'\\a b' typed at the end", t, {n, n}, "", "\\a b", t + "\\ab", {n + 3, n + 3}},
      {"a blank typed in the middle", t + "\\ab", {n + 2, n + 2}, "", " x", t + "\\a xb", {n + 4, n + 4}},
      {"a blank typed in front", t, {0, 0}, "", " 9", "9" + t, {1, 1}},
      {"blanks pasted in front", t, {0, 0}, "  Z", std::string{kPaste, '9'}, "Z9" + t, {2, 2}},
      {"blanks pasted at the end", t, {n, n}, "\\a  ", std::string{kPaste, 'b'}, t + "\\ab", {n + 3, n + 3}},
      {"a blank typed at the end of a folder's path", t, {n, n}, "", "\\a ", t + "\\a", {n + 2, n + 2}},
      {"the end selected and typed over with a blank", t + "\\ab", {n, n + 3}, "", " c", t + "c", {n + 1, n + 1}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form1->Edit1->SetText(c.text);
    SendMessageA(Form1->Edit1->Handle(), EM_SETSEL, static_cast<WPARAM>(c.before.start),
                 static_cast<LPARAM>(c.before.end));
    if (!c.clipboard.empty()) {
      ASSERT_NO_FATAL_FAILURE(SetClipboardText(c.clipboard));
    }
    for (char key : c.keys)
      PostMessageA(Form1->Edit1->Handle(), WM_CHAR, static_cast<unsigned char>(key), 1);
    testing::PumpUntil([&] { return Box() == c.box; }, 3000);
    const std::vector<std::string> listing = ExpectedListing(c.box, false);
    testing::PumpUntil([&] { return BoxSelection() == c.after && Rows(List()) == listing; }, 1000);
    EXPECT_EQ(Box(), c.box);
    EXPECT_EQ(BoxSelection(), c.after);
    EXPECT_EQ(Rows(List()), ExpectedListing(c.box, false));
  }
}

// A selection the box holds when its text changes is kept the same way: both ends move left by
// the blanks trimmed in front, and none goes past the end of what stays.
TEST_F(SelectionTest, ASelectionInTheBoxKeepsItsCharactersWhenBlanksAreTrimmed) {
  TempTree tree("selection-selected");
  const std::string t = tree.Root();
  const int n = static_cast<int>(t.size());
  const std::string text = "  " + t + "\\a  ";
  struct Case {
    ui::TEditSelection before;
    ui::TEditSelection after;
  } cases[] = {
      {{n + 2, n + 4}, {n, n + 2}},      // "\a"
      {{1, n + 3}, {0, n + 1}},          // from inside the leading blanks
      {{n + 3, n + 6}, {n + 1, n + 2}},  // into the trailing blanks
      {{0, n + 6}, {0, n + 2}},          // the whole text
  };
  HWND box = Form1->Edit1->Handle();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "selected [" << c.before.start << ", " << c.before.end << ")");
    Form1->Edit1->SetText("?");
    // The text and the selection put in unnoticed, then the change told through the queue as
    // the control tells it.
    ui::TNotifyEvent handler = std::move(Form1->Edit1->OnChange);
    Form1->Edit1->OnChange = nullptr;
    SetWindowTextA(box, text.c_str());
    SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(c.before.start),
                 static_cast<LPARAM>(c.before.end));
    Form1->Edit1->OnChange = std::move(handler);
    PostMessageA(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), EN_CHANGE),
                 reinterpret_cast<LPARAM>(box));
    testing::PumpUntil([&] { return Box() == t + "\\a" && BoxSelection() == c.after; }, 1000);
    EXPECT_EQ(Box(), t + "\\a");
    EXPECT_EQ(BoxSelection(), c.after);
  }
}

// --- the choose-folder button -------------------------------------------------------------

TEST_F(SelectionTest, APickListsThePickedFolderOnceThroughTheThreeStages) {
  TempTree tree("selection-pick");
  tree.Folder(Gbk("挑选"));
  std::string picked = tree.Path(Gbk("挑选"));
  tree.File(Gbk("挑选\\一.txt"));
  tree.File(Gbk("挑选\\two.txt"));
  tree.Folder(Gbk("挑选\\sub"));
  tree.File(Gbk("挑选\\sub\\three.txt"));
  Form1->chk1->SetChecked(true);
  Form1->Edit1->SetText(tree.Root());
  SetOthers();
  TestWindow other(TestWindowOptions::TopLevel());  // another window of the program

  // While the picker is open: the program's windows are disabled.
  bool form_enabled = true, other_enabled = true;
  PickerPlan plan;
  plan.select = picked;
  plan.select_item = DisplayName(picked);
  plan.while_open = [&](HWND) {
    form_enabled = IsWindowEnabled(Form1->Handle());
    other_enabled = IsWindowEnabled(other.Handle());
  };
  // While rows come in: the gauge shows Listing at 0, the label is reset, Memo2 is empty and
  // the box holds the picked path.
  std::vector<Others> during;
  std::vector<std::string> boxes_during;
  MessageRecorder rows({ListHandle()}, {LB_ADDSTRING});
  rows.OnSent(ListHandle(), LB_ADDSTRING, [&] {
    during.push_back(ReadOthers());
    boxes_during.push_back(Box());
  });
  PickerDriver driver(plan);
  ClickButton2();
  const PickerSeen& seen = driver.Join();
  ASSERT_EQ(seen.failure, "");
  EXPECT_EQ(seen.owner, Form1->Handle());
  EXPECT_NE(std::find(seen.statics.begin(), seen.statics.end(), texts::kPickerTitle),
            seen.statics.end());
  EXPECT_FALSE(form_enabled);
  EXPECT_FALSE(other_enabled);
  EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));

  std::vector<std::string> expected = ExpectedListing(picked, true);
  ASSERT_FALSE(during.empty());
  const Others listing{{}, gauge_state::Listing, 0, Gbk("当前位置: 0/0")};
  for (const Others& o : during) EXPECT_EQ(o, listing);
  for (const std::string& box : boxes_during) EXPECT_EQ(box, picked);
  // At the end: one listing spelled from the picked path, the gauge Ready, the row count shown.
  EXPECT_EQ(Box(), picked);
  EXPECT_EQ(Rows(List()), expected);
  const Others ready{{}, gauge_state::Ready, 0, PositionText(0, 3)};
  EXPECT_EQ(ReadOthers(), ready);
}

TEST_F(SelectionTest, APickedDriveRootIsSpelledAsPicked) {
  ASSERT_NO_FATAL_FAILURE(MakeRootFile());
  Form1->chk1->SetChecked(false);
  PickerPlan plan;
  plan.select = "C:\\";
  plan.select_item = DisplayName("C:\\");
  PickerDriver driver(plan);
  ClickButton2();
  ASSERT_EQ(driver.Join().failure, "");
  EXPECT_EQ(Box(), "C:\\");
  // 'C:\\a.txt' from the pick, not the 'C:/\a.txt' of the path box rules.
  EXPECT_EQ(Rows(List()), Prefixed("C:\\\\", root_names_));
  EXPECT_EQ(Form1->lbl3->Caption(), PositionText(0, static_cast<int>(root_names_.size())));
  RemoveRootFile();
}

TEST_F(SelectionTest, APickOfTheFolderInTheBoxListsItOnce) {
  TempTree tree("selection-again");
  tree.File("a.txt");
  tree.File("b.txt");
  Form1->Edit1->SetText(tree.Root());
  PickerPlan plan;
  plan.select = tree.Root();
  plan.select_item = DisplayName(tree.Root());
  PickerDriver driver(plan);
  ClickButton2();
  ASSERT_EQ(driver.Join().failure, "");
  EXPECT_EQ(Rows(List()), ExpectedListing(tree.Root(), true));
  EXPECT_EQ(Form1->lbl3->Caption(), PositionText(0, 2));
}

TEST_F(SelectionTest, ACancelledPickChangesNothing) {
  TempTree tree("selection-cancel");
  tree.File("a.txt");
  Form1->Edit1->SetText(tree.Root());
  List().Add("row of mine");
  SetOthers();
  Others before = ReadOthers();
  std::vector<std::string> rows_before = Rows(List());
  TestWindow other(TestWindowOptions::TopLevel());
  PickerPlan plan;
  plan.press = IDCANCEL;
  PickerDriver driver(plan);
  ClickButton2();
  const PickerSeen& seen = driver.Join();
  EXPECT_EQ(seen.failure, "");
  EXPECT_TRUE(seen.appeared);
  EXPECT_EQ(Rows(List()), rows_before);
  EXPECT_EQ(Box(), tree.Root());
  EXPECT_EQ(ReadOthers(), before);
  EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
}

// A text typed while a pick is being listed is the folder chosen last: the list ends with
// exactly its listing, and the gauge and label are those of the end of the pick.
TEST_F(SelectionTest, ATextTypedWhileAPickIsListedSupersedesThePick) {
  TempTree tree("selection-supersede");
  tree.Folder("picked");
  for (int i = 0; i < 8; ++i) {
    std::string n = std::to_string(i);
    tree.File("picked\\f" + n + ".txt");
    tree.Folder("picked\\g" + n);
    tree.File("picked\\g" + n + "\\in.txt");
  }
  tree.Folder("typed");
  tree.File("typed\\t1.txt");
  tree.File("typed\\t2.txt");
  Form1->chk1->SetChecked(true);
  std::vector<std::string> typed = ExpectedListing(tree.Path("typed"), true);

  // Each run types at another row of the pick's listings (the path box's, then the button's
  // own): the text arrives in the pump that follows that row.
  int pick_rows = static_cast<int>(ExpectedListing(tree.Path("picked"), true).size());
  for (int at : {1, pick_rows + 1, pick_rows + 2}) {
    SCOPED_TRACE(::testing::Message() << "row " << at);
    Form1->Edit1->SetText("");
    bool typed_during_pick = false;
    bool in_pick = false;
    TestWindow type_text([&] {
      typed_during_pick = in_pick;
      Form1->Edit1->SetText(tree.Path("typed"));
    });
    // The action runs before the row is recorded: the rows before it are counted.
    MessageRecorder rows({ListHandle()}, {LB_ADDSTRING});
    rows.OnSent(ListHandle(), LB_ADDSTRING, [&] {
      if (rows.Count(LB_ADDSTRING) + 1 == at) type_text.Post();
    });
    PickerPlan plan;
    plan.select = tree.Path("picked");
    plan.select_item = "picked";
    PickerDriver driver(plan);
    in_pick = true;
    ClickButton2();
    in_pick = false;
    ASSERT_EQ(driver.Join().failure, "");
    ASSERT_TRUE(typed_during_pick) << "no pump after it";
    EXPECT_EQ(Box(), tree.Path("typed"));
    EXPECT_EQ(Rows(List()), typed);
    EXPECT_EQ(Form1->Gauge1->BackColor(), gauge_state::Ready);
    EXPECT_EQ(Form1->lbl3->Caption(), PositionText(0, 2));
  }
}

// From the moment the picker has returned a folder, the pick is a listing in progress: a click on
// Button1 in the pump before its listing starts no run over the rows that are about to go. A
// listing started in that pump does not supersede the pick: the pick is listed as picked.
TEST_F(SelectionTest, InputInAPicksPumpStartsNoRunAndLeavesThePickListedAsPicked) {
  TempTree tree("selection-pick-pump");
  tree.Folder("old");
  tree.File("old\\o1.txt");
  tree.File("old\\o2.txt");
  tree.Folder("new");
  tree.File("new\\n1.txt");
  ASSERT_NO_FATAL_FAILURE(MakeRootFile());
  Form1->chk1->SetChecked(false);
  struct Case {
    const char* what;
    std::string pick;
    std::function<void()> in_pump;
    std::vector<std::string> rows;
  } cases[] = {
      {"Button1 clicked", tree.Path("new"),
       [] { SendMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0); },
       ExpectedListing(tree.Path("new"), false)},
      // 'C:\\a.txt' from the pick, not the 'C:/\a.txt' of the path box rules.
      {"a path typed", "C:\\", [&] { Form1->Edit1->SetText(tree.Path("new")); },
       Prefixed("C:\\\\", root_names_)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form1->Edit1->SetText(tree.Path("old"));
    ASSERT_EQ(List().Count(), 2);
    // The input is posted when the picker has closed and the window is enabled again: the
    // pick's own pump takes it, before the box gets the picked path.
    int inputs = 0;
    bool before_listing = false;
    TestWindow input([&] {
      ++inputs;
      before_listing = Box() == tree.Path("old");
      c.in_pump();
    });
    MessageRecorder seen({Form1->Handle()}, {WM_ENABLE});
    MessageRecorder digests({Form1->Memo2->Handle()}, {LB_ADDSTRING});
    seen.OnSent(Form1->Handle(), WM_ENABLE, [&] {
      if (IsWindowEnabled(Form1->Handle())) input.PostOnce();
    });
    PickerPlan plan;
    plan.select = c.pick;
    plan.select_item = DisplayName(c.pick);
    PickerDriver driver(plan);
    ClickButton2();
    ASSERT_EQ(driver.Join().failure, "");
    EXPECT_EQ(inputs, 1);
    EXPECT_TRUE(before_listing);
    EXPECT_TRUE(NothingSent(digests)) << "a run digested rows";
    EXPECT_EQ(Box(), c.pick);
    EXPECT_EQ(Rows(List()), c.rows);
    EXPECT_EQ(Form1->Gauge1->BackColor(), gauge_state::Ready);
    EXPECT_EQ(Form1->lbl3->Caption(), PositionText(0, static_cast<int>(c.rows.size())));
  }
  RemoveRootFile();
}

}  // namespace
}  // namespace vorlund
