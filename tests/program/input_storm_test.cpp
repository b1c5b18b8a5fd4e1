// Vorlund.exe under a storm of seeded random input from this process, of two reaches: what a
// person can reach (enabled controls of a window that no dialog has disabled: the real pointer,
// keys to the path box and the lists) and what automation and accessibility tools can send
// besides (clicks posted to any button, keys posted to the path box whatever its state, texts
// set into it with WM_SETTEXT), each step posted so that it lands wherever the program is: in the
// main loop, in a listing's or a run's pumps, under a dialog. Each dialog is answered once, when
// it is open and ready, as a person would. Nothing in the storm can fail: the program must stay
// up and show no error box and no second dialog; afterwards a listing and a run over the storm's
// tree pair every row with md5sum's digest, and closing the window ends it with code 0.
//
// VORLUND_STORM_SEED (one seed), VORLUND_STORM_SECONDS (per seed) and VORLUND_STORM_KINDS
// ("person": the first reach only) replace the fixed set; scripts/soak.sh runs it longer.
#include <gtest/gtest.h>
#include <windows.h>
//
#include <commctrl.h>

#include <cstdio>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "acceptance_driver.h"

namespace vorlund::testing {
namespace {

std::string TreeDir() { return BinaryDir() + "\\storm-files\\tree"; }

std::string Env(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

std::vector<unsigned> Seeds() {
  const std::string seed = Env("VORLUND_STORM_SEED");
  if (!seed.empty()) return {static_cast<unsigned>(strtoul(seed.c_str(), nullptr, 10))};
  return {11, 22, 33, 44};
}

DWORD StormMs() {
  const std::string seconds = Env("VORLUND_STORM_SECONDS");
  return (seconds.empty() ? 15 : static_cast<DWORD>(atoi(seconds.c_str()))) * 1000;
}

bool PersonOnly() { return Env("VORLUND_STORM_KINDS") == "person"; }

// A diagnostic mode (VORLUND_STORM_NESTED=answer): a dialog opened inside another is counted and
// answered, topmost first, so that the storm goes on to what lies behind it.
bool AnswerNested() { return Env("VORLUND_STORM_NESTED") == "answer"; }

// Folders below the tree set into the path box or chosen in the picker (its tree's item text is
// the last name), and some that do not exist.
const char* const kFolders[] = {
    "",     "d3",     "d7\\s72", "数据7", "数据7\\子目录8", "big2",
    "d5\\", "d1\\\\", "d2/\\",   "nope",  "d9\\missing",    "数据7\\无"};
const char* const kPickable[] = {"", "d4", "数据7", "big1", "d8\\s80"};

class Storm {
 public:
  Storm(Session& session, unsigned seed, const std::string& out)
      : s_(session), w_(session.Window()), seed_(seed), out_(out), random_(seed) {}

  // Steps until ms have passed; the first fault seen, or empty.
  std::string Run(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
      if (std::string fault = Look(); !fault.empty()) return fault;
      const Step& step = Choose();
      trail_.push_back(step.name);
      if (trail_.size() > 12) trail_.pop_front();
      ++steps_;
      ++taken_[step.name];
      (this->*step.act)();
      Sleep(10 + Pick(50));
    }
    return Look();
  }

  // Answers what is open until no dialog shows, the path box is enabled (no run) and the program
  // answers at once for two seconds; the first fault seen, or empty.
  std::string Settle(DWORD ms = 180000) {
    const DWORD start = GetTickCount();
    DWORD quiet_since = GetTickCount();
    while (GetTickCount() - start < ms) {
      if (std::string fault = Look(0); !fault.empty()) return fault;
      if (!dialogs_.empty() || !IsWindowEnabled(w_.path_box) || !s_.Idle())
        quiet_since = GetTickCount();
      else if (GetTickCount() - quiet_since > 2000)
        return std::string();
      Sleep(50);
    }
    return Fault("the program did not settle after the storm");
  }

  int Steps() const { return steps_; }
  std::string Taken() const {
    std::string text;
    for (const auto& [name, count] : taken_) text += " " + name + "=" + std::to_string(count);
    return text;
  }

 private:
  enum Reach { kPerson, kTool };
  struct Step {
    const char* name;
    int weight;
    Reach reach;
    void (Storm::*act)();
  };
  struct Open {
    DWORD seen_at = 0;   // when it was first seen
    DWORD ready_at = 0;  // when it was first seen ready, 0 before
    DWORD delay = 0;     // how long a person takes to answer it
  };

  static const std::vector<Step>& Table() {
    static const std::vector<Step> table = {
        {"type", 16, kPerson, &Storm::TypeKeys},
        {"type-path", 4, kPerson, &Storm::TypePath},
        {"click-start", 3, kPerson, &Storm::ClickStart},
        {"click-save", 2, kPerson, &Storm::ClickSave},
        {"click-choose", 2, kPerson, &Storm::ClickChoose},
        {"click-check", 3, kPerson, &Storm::ClickCheck},
        {"click-row", 6, kPerson, &Storm::ClickRow},
        {"list-keys", 6, kPerson, &Storm::ListKeys},
        {"move", 8, kPerson, &Storm::Move},
        {"post-keys", 8, kTool, &Storm::PostKeys},
        {"set-text", 5, kTool, &Storm::SetText},
        {"post-click", 8, kTool, &Storm::PostClick},
    };
    return table;
  }

  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }

  const Step& Choose() {
    int total = 0;
    for (const Step& step : Table())
      if (step.reach == kPerson || !PersonOnly()) total += step.weight;
    int at = Pick(total);
    for (const Step& step : Table()) {
      if (step.reach == kTool && PersonOnly()) continue;
      if ((at -= step.weight) < 0) return step;
    }
    return Table().front();
  }

  std::string Fault(const std::string& what) const {
    std::string text = "seed " + std::to_string(seed_) + ", step " + std::to_string(steps_) + ": " +
                       what + "\nlast steps:";
    for (const std::string& name : trail_) text += " " + name;
    return text;
  }

  // ---- what the program shows, and the dialogs answered

  // Checks the program and answers a dialog that is due; a fault, or empty. Dialogs are
  // answered after a person's delay, or after min_delay_ms when one is given.
  std::string Look(int min_delay_ms = -1) {
    if (!s_.Running()) {
      return Fault("the program ended, exit code " + std::to_string(s_.WaitForExit(0)));
    }
    dialogs_ = FindDialogs(s_.ProcessId());
    if (dialogs_.size() > 1) {
      std::string what = "a second dialog inside the first:";
      for (HWND d : dialogs_) what += " [" + Describe(d) + "]";
      if (!AnswerNested()) return Fault(what);
      if (nested_.insert(dialogs_.front()).second) {
        ++taken_["nested-dialog"];
        printf("[storm] seed %u, step %d: %s\n", seed_, steps_, what.c_str());
      }
    }
    for (auto it = open_.begin(); it != open_.end();)
      it = IsWindow(it->first) ? std::next(it) : open_.erase(it);
    if (dialogs_.empty()) return std::string();
    HWND d = dialogs_.front();
    const DialogSeen seen = ReadDialog(d);
    if (seen.caption == "Vorlund" && seen.icon) return Fault("an error box: " + Describe(d));
    Open& open = open_[d];
    if (!open.ready_at) {
      if (!Ready(d, seen)) {
        if (!open.seen_at) open.seen_at = GetTickCount();
        if (GetTickCount() - open.seen_at > 20000) return Fault("an unknown box: " + Describe(d));
        return std::string();
      }
      open.ready_at = GetTickCount();
      open.delay = 300 + static_cast<DWORD>(Pick(2500));
    }
    const DWORD delay = min_delay_ms >= 0 ? static_cast<DWORD>(min_delay_ms) : open.delay;
    if (GetTickCount() - open.ready_at < delay) return std::string();
    Answer(d, seen);
    return std::string();
  }

  std::string Describe(HWND d) const {
    const DialogSeen seen = ReadDialog(d);
    return "caption \"" + Utf8(seen.caption) + "\", text \"" + Utf8(seen.text) + "\"" +
           (seen.icon ? ", an icon" : "") + (FileNameBox(d) ? ", a file dialog" : "") +
           (IsPicker(d) ? ", a folder picker" : "");
  }

  static bool IsPicker(HWND d) { return FindWindowExA(d, nullptr, "SysTreeView32", nullptr); }
  static bool IsQuestion(const DialogSeen& seen) {
    return seen.caption == Gbk("警告") && BoxShows(seen, Gbk("该文件已存在，是否需要覆盖？"));
  }
  static bool IsSaved(const DialogSeen& seen) {
    return seen.caption == "Vorlund" && seen.text.rfind(Gbk("文件保存成功"), 0) == 0;
  }

  // Ready as a person sees it: the picker's tree filled, the file dialog's name box shown, a
  // message box as soon as it shows.
  bool Ready(HWND d, const DialogSeen& seen) {
    if (HWND tree = FindWindowExA(d, nullptr, "SysTreeView32", nullptr))
      return Ask(tree, TVM_GETCOUNT, 0, 0, 1000) > 1;
    if (HWND box = FileNameBox(d)) return IsWindowVisible(box);
    return IsQuestion(seen) || IsSaved(seen);
  }

  void Answer(HWND d, const DialogSeen& seen) {
    ++taken_[IsPicker(d)        ? "answer-picker"
             : FileNameBox(d)   ? "answer-file"
             : IsQuestion(seen) ? "answer-question"
                                : "answer-saved"];
    if (IsPicker(d)) {
      const std::string folder = Gbk(kPickable[Pick(std::size(kPickable))]);
      const std::string path = folder.empty() ? TreeDir() : TreeDir() + "\\" + folder;
      const std::string item = path.substr(path.rfind('\\') + 1);
      const bool ok = !Chance(30) && SelectInPicker(s_.ProcessId(), d, path, item).empty();
      PressDialogButton(d, ok ? IDOK : IDCANCEL);
    } else if (FileNameBox(d)) {
      const std::string name =
          out_ + "\\list" + std::to_string(Pick(3)) + (Chance(50) ? ".txt" : "");
      const bool ok = !Chance(30) && TypeFileName(d, name);
      PressDialogButton(d, ok ? IDOK : IDCANCEL);
    } else {
      PressDialogButton(d, IsQuestion(seen) ? (Chance(50) ? IDYES : IDNO) : IDOK);
    }
  }

  // ---- the steps

  // Reachable by a person: an enabled control of the main window while it is enabled itself.
  bool Reachable(HWND control) const {
    return dialogs_.empty() && IsWindowEnabled(w_.form) && IsWindowEnabled(control);
  }

  void Post(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    PostMessageW(window, message, wparam, lparam);
  }
  void PostKey(HWND window, WORD vk, wchar_t c) {
    Post(window, WM_KEYDOWN, vk, 1);
    if (c) Post(window, WM_CHAR, c, 1);
    Post(window, WM_KEYUP, vk, 0xC0000001u);
  }

  // A burst of keys at the end of the path box's text: names of letters (named like no folder
  // of the tree), "x.y", "\", "/", a blank, and backspaces that take back only what the burst
  // typed. No "." follows a separator, so no ".." is ever formed, and the text never shrinks
  // to a drive's root.
  void Keys() {
    Post(w_.path_box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    int typed = 0;
    for (int token = 1 + Pick(4); token > 0; --token) {
      std::string text;
      switch (Pick(7)) {
        case 0:
          text = "\\";
          break;
        case 1:
          text = "/";
          break;
        case 2:
          text = " ";
          break;
        case 3:
          text = std::string(1, static_cast<char>('a' + Pick(26))) + "." +
                 static_cast<char>('a' + Pick(26));
          break;
        case 4:
          for (int back = Pick(3); back > 0 && typed > 0; --back, --typed)
            PostKey(w_.path_box, VK_BACK, L'\b');
          break;
        default:
          for (int n = 1 + Pick(3); n > 0; --n) text += static_cast<char>('a' + Pick(26));
      }
      for (char c : text) {
        const WORD vk = c == '\\'  ? VK_OEM_5
                        : c == '/' ? VK_OEM_2
                        : c == '.' ? VK_OEM_PERIOD
                        : c == ' ' ? VK_SPACE
                                   : static_cast<WORD>(c - 'a' + 'A');
        PostKey(w_.path_box, vk, static_cast<wchar_t>(c));
        ++typed;
      }
    }
  }

  std::string SomeFolder() {
    const std::string folder = Gbk(kFolders[Pick(std::size(kFolders))]);
    return folder.empty() ? TreeDir() : TreeDir() + "\\" + folder;
  }

  void TypeKeys() {
    if (Reachable(w_.path_box)) Keys();
  }
  void PostKeys() { Keys(); }
  // A whole path typed over the box's text (all of it selected first).
  void TypePath() {
    if (!Reachable(w_.path_box)) return;
    Post(w_.path_box, EM_SETSEL, 0, -1);
    TypeCharacters(w_.path_box, SomeFolder());
  }
  // A whole path set into the box as a tool sets it, whatever the box's state.
  void SetText() {
    const std::wstring text = Wide(SomeFolder());
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w_.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, 200, &result);
  }

  // A click with the pointer on a button a person can reach; a dialog it opens is waited for.
  void ClickButton(HWND button, bool opens_dialog) {
    if (!Reachable(button)) return;
    ClickWindow(button);
    if (opens_dialog) WaitUntil([&] { return FindDialog(s_.ProcessId()) != nullptr; }, 3000);
  }
  void ClickStart() { ClickButton(w_.start, false); }
  void ClickSave() { ClickButton(w_.save, true); }
  void ClickChoose() { ClickButton(w_.choose, true); }
  void ClickCheck() {
    if (!Reachable(w_.sub_folders)) return;
    RECT r = {};
    GetClientRect(w_.sub_folders, &r);
    ClickAt(OnScreen(w_.sub_folders, 6, r.bottom / 2));
  }
  // A click posted to a button whatever its window's state, as a message or as the button's
  // own press.
  void PostClick() {
    const HWND buttons[] = {w_.start, w_.save, w_.choose, w_.sub_folders};
    HWND button = buttons[Pick(4)];
    if (Chance(50)) {
      Post(button, BM_CLICK);
    } else {
      Post(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      Post(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
  }

  HWND SomeList() { return Chance(50) ? w_.file_list : w_.digest_list; }
  void ClickRow() {
    HWND list = SomeList();
    if (!Reachable(list)) return;
    RECT r = {};
    GetClientRect(list, &r);
    ClickAt(OnScreen(list, 4 + Pick(std::max<int>(1, r.right - 8)),
                     2 + Pick(std::max<int>(1, r.bottom - 4))));
  }
  void ListKeys() {
    HWND list = SomeList();
    if (!Reachable(list)) return;
    for (int n = 1 + Pick(3); n > 0; --n) PostKey(list, Chance(50) ? VK_NEXT : VK_DOWN, 0);
  }
  // The pointer moved somewhere over or beside the window (moving it is always in reach).
  void Move() {
    RECT r = {};
    GetWindowRect(w_.form, &r);
    MovePointer(
        POINT{r.left - 20 + Pick(r.right - r.left + 40), r.top - 20 + Pick(r.bottom - r.top + 40)},
        10);
  }

  Session& s_;
  const MainWindow& w_;
  unsigned seed_;
  std::string out_;
  std::mt19937 random_;
  int steps_ = 0;
  std::map<std::string, int> taken_;
  std::deque<std::string> trail_;
  std::vector<HWND> dialogs_;
  std::map<HWND, Open> open_;
  std::set<HWND> nested_;
};

class InputStorm : public ::testing::TestWithParam<unsigned> {
 protected:
  // A program that faults is reported by the platform's debugger on the output, with its
  // backtrace, rather than held open behind a crash dialog that nobody answers.
  static void SetUpTestSuite() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    const DWORD no = 0;
    RegSetValueExA(key, "ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&no),
                   sizeof no);
    RegCloseKey(key);
  }
};

TEST_P(InputStorm, ProgramStaysUpAndDigestsTheTreeAfterwards) {
  const unsigned seed = GetParam();
  const std::string tree = TreeDir();
  const std::map<std::string, std::string> md5sums =
      Md5sums(BinaryDir() + "\\storm-files\\tree.md5");
  ASSERT_GT(md5sums.size(), 200u) << "no md5sum digests of the storm's tree";
  WorkFolder out("storm");
  // Started in the output folder: the file dialog opens there, never in the tree.
  Session session(out.Root());
  ASSERT_TRUE(session.Ready());
  const MainWindow& w = session.Window();
  // The box holds a folder of the tree before any key is typed into it.
  Ask(w.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(tree).c_str()));

  Storm storm(session, seed, out.Root());
  std::string fault = storm.Run(StormMs());
  if (fault.empty()) fault = storm.Settle();
  printf("[storm] seed %u kinds %s: %d steps (%s )%s\n", seed, PersonOnly() ? "person" : "all",
         storm.Steps(), storm.Taken().c_str(), fault.empty() ? "" : " FAILED");
  fflush(stdout);
  if (!fault.empty()) FAIL() << fault << "\nreplay with VORLUND_STORM_SEED=" << seed;

  // Afterwards: the tree listed with its sub-folders and digested, row for row md5sum's digest.
  // The storm may have dragged the window partly off the screen: it is dragged back first, as a
  // person would before reaching for its buttons. Where the system stops the drag short, the
  // checks below still say whether the buttons were reached.
  session.DragOnScreen();
  if (!session.SubFoldersTicked()) session.ClickSubFolders();
  ASSERT_TRUE(WaitUntil([&] { return session.SubFoldersTicked(); })) << "seed " << seed;
  const std::vector<std::string> rows = ExpectedRows(tree, true);
  // Set again while the storm's last texts and keys, still on their way, change it.
  auto listed = [&] {
    return RowCount(w.file_list) == static_cast<int>(rows.size()) && session.Idle();
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    Ask(w.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Ask(w.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(tree).c_str()), 60000);
    if (WaitUntil(listed, 60000)) Sleep(2000);
    if (session.PathBox() == tree && listed()) break;
  }
  ASSERT_TRUE(listed()) << "seed " << seed << ": the tree's listing after the storm";
  ASSERT_EQ(session.Files(), rows) << "seed " << seed;
  // The digest list emptied from here first, so that only this run's rows count. The run is
  // started with the pointer, and clicked again when the click found the program still busy.
  Ask(w.digest_list, LB_RESETCONTENT);
  for (int click = 0; click < 3 && RowCount(w.digest_list) <= 0; ++click) {
    session.StartRun();
    WaitUntil([&] { return RowCount(w.digest_list) > 0; }, 10000);
  }
  const bool ended = session.WaitForRunEnd(180000);
  EXPECT_TRUE(ended) << "seed " << seed << ": the run after the storm gave "
                     << RowCount(w.digest_list) << " of " << rows.size()
                     << " digests; the display: "
                     << SaveScreenshot("storm-" + std::to_string(seed) + "-run");
  EXPECT_EQ(session.Digests(), ExpectedDigests(rows, tree, md5sums)) << "seed " << seed;
  EXPECT_EQ(session.Close(), 0u) << "seed " << seed;
}

INSTANTIATE_TEST_SUITE_P(Seeds, InputStorm, ::testing::ValuesIn(Seeds()));

}  // namespace
}  // namespace vorlund::testing
