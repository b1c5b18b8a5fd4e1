// Helpers of the folder listing tests: real folders made by the test, an independent listing of
// them, and a driver for the shell's folder picker, built on the dialog driver, that runs on a
// thread of its own while the test's thread sits in the picker's modal loop.
#pragma once

#include <windows.h>
//
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "form_fixture.h"

namespace vorlund::collect_testing {

// The code page 936 bytes of a UTF-8 text, converted by the system.
using vorlund::testing::Gbk;

// Code page conversions, window texts and waits, from the dialog driver; a list's rows.
using vorlund::testing::Ansi;
using vorlund::testing::Rows;
using vorlund::testing::WaitUntil;
using vorlund::testing::Wide;
using vorlund::testing::WindowTextOf;

// A folder made for one test under the temporary folder, removed with all it holds at the end.
class TempTree {
 public:
  explicit TempTree(const std::string& tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    char full[MAX_PATH] = {};
    GetLongPathNameA(temp, full, sizeof full);
    root_ = std::string(full) + "vorlund-" + tag + "-" + std::to_string(GetCurrentProcessId());
    RemoveAll(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
    Settle(root_.substr(0, root_.rfind('\\')));  // the folder for temporary files
    Settle(root_);
  }
  ~TempTree() { RemoveAll(root_); }
  // Removes the whole tree now; false when something stayed (a folder still open, say).
  bool Remove() const {
    RemoveAll(root_);
    return GetFileAttributesA(root_.c_str()) == INVALID_FILE_ATTRIBUTES;
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "\\" + relative;
  }
  // Makes a folder (its parent must exist); relative is below the root, "\"-separated.
  void Folder(const std::string& relative, DWORD attributes = 0) const {
    CreateDirectoryA(Path(relative).c_str(), nullptr);
    if (attributes) SetFileAttributesA(Path(relative).c_str(), attributes);
    Settle(Parent(relative));
    Settle(Path(relative));
  }
  // Makes a file holding its own name.
  void File(const std::string& relative, DWORD attributes = 0) const {
    HANDLE file = CreateFileA(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, relative.data(), static_cast<DWORD>(relative.size()), &written, nullptr);
      CloseHandle(file);
    }
    if (attributes) SetFileAttributesA(Path(relative).c_str(), attributes);
    Settle(Parent(relative));
  }

  static void RemoveAll(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(),
                       FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());
      return;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") RemoveAll(path + "\\" + name);
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  }

 private:
  std::string Parent(const std::string& relative) const {
    const size_t slash = relative.rfind('\\');
    return Path(slash == std::string::npos ? "" : relative.substr(0, slash));
  }
  // Lists a folder once, so that its last-access stamp is newer than its last change. Linux
  // (relatime) moves that stamp at the first listing after a change, and Wine's picker compares
  // the item IDs of a selection with those of its root and tree byte for byte, stamps included: a
  // folder first listed by the picker would read, from then on, as another folder than the one
  // parsed before, and a selection below it could never be made.
  static void Settle(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
  }

  std::string root_;
};

// The rows a listing of folder should give, made independently of the scanner: the platform's
// own entry order, files as folder + "\" + name, sub-folders entered in place when recursive.
// entries, when given, gets for each folder entered the number of rows listed before it.
inline void ExpectedListing(const std::string& folder, bool recursive,
                            std::vector<std::string>& rows,
                            std::vector<size_t>* entries = nullptr) {
  if (entries) entries->push_back(rows.size());
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recursive && name != "." && name != "..") {
        ExpectedListing(folder + "\\" + name, recursive, rows, entries);
      }
    } else {
      rows.push_back(folder + "\\" + name);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

inline std::vector<std::string> ExpectedListing(const std::string& folder, bool recursive) {
  std::vector<std::string> rows;
  ExpectedListing(folder, recursive, rows);
  return rows;
}

// The names of the files (not folders) directly in folder, in the platform's order.
inline std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

// What a picker driver saw of the picker while it was open.
struct PickerSeen {
  bool appeared = false;
  bool pressed = false;
  HWND dialog = nullptr;
  HWND owner = nullptr;
  std::vector<std::string> statics;  // the texts of the dialog's static controls
  std::string root_item;             // the text of the tree's first root item
  std::string caret_item;            // the text of the tree's selected item when pressed
  std::string failure;               // what went wrong, empty when nothing did
};

// What a driver does with the picker it finds.
struct PickerPlan {
  // The path to select with BFFM_SETSELECTIONA, sent again until the tree's selected item reads
  // select_item (the picker fills its tree asynchronously and drops early selections).
  std::string select;
  // The selected item's text to wait for before pressing (also without select: a selection
  // that the picker was given otherwise). Empty: press at once.
  std::string select_item;
  // The text of an item just below the tree's root to select directly, as a click would
  // (for items that no path names). Empty: none.
  std::string select_root_child;
  int press = IDOK;
  // Runs on the driver's thread while the picker is open, before the selection.
  std::function<void(HWND dialog)> while_open;
  DWORD appear_timeout_ms = 30000;
  DWORD select_timeout_ms = 30000;
};

// The text of a tree item, read across threads as wide text.
inline std::string TreeItemText(HWND tree, HTREEITEM item) {
  if (!tree || !item) return std::string();
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return Ansi(text);
}

// Drives the first folder picker that appears, on a thread of its own, following a plan.
class PickerDriver {
 public:
  explicit PickerDriver(PickerPlan plan)
      : plan_(std::move(plan)),
        driver_(
            [this](HWND dialog, const testing::DialogSeen& seen) { return Drive(dialog, seen); },
            GetCurrentProcessId(), 1, plan_.appear_timeout_ms) {}
  PickerDriver(const PickerDriver&) = delete;
  PickerDriver& operator=(const PickerDriver&) = delete;

  // Waits for the driver to finish; what it saw.
  const PickerSeen& Join() {
    driver_.Join();
    if (driver_.TimedOut()) seen_.failure = "no picker appeared";
    seen_.pressed = driver_.Answered() && driver_.Closed();
    if (driver_.Answered() && !driver_.Closed() && seen_.failure.empty())
      seen_.failure = "the picker did not close";
    return seen_;
  }

 private:
  // Reads and drives the picker; the button to press.
  int Drive(HWND dialog, const testing::DialogSeen& seen) {
    seen_.appeared = true;
    seen_.dialog = dialog;
    seen_.owner = seen.owner;
    HWND tree = nullptr;  // made as the picker initialises
    WaitUntil([&] { return (tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)); },
              5000, 10);
    seen_.statics = testing::ReadDialog(dialog).statics;
    if (plan_.while_open) plan_.while_open(dialog);

    if (!plan_.select_root_child.empty()) {
      const bool selected = WaitUntil(
          [&] {
            HTREEITEM root =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            HTREEITEM child = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
            for (; child; child = reinterpret_cast<HTREEITEM>(SendMessageW(
                              tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
              if (TreeItemText(tree, child) == plan_.select_root_child) {
                SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
                return true;
              }
            }
            return false;
          },
          plan_.select_timeout_ms, 100);
      if (!selected) seen_.failure = "no item " + plan_.select_root_child + " below the root";
    }
    if (!plan_.select_item.empty()) {
      // The selection is sent again until the tree's selected item reads it.
      const bool matched = WaitUntil(
          [&] {
            if (!plan_.select.empty()) {
              SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                           reinterpret_cast<LPARAM>(plan_.select.c_str()));
            }
            Sleep(100);
            HTREEITEM caret =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            return TreeItemText(tree, caret) == plan_.select_item;
          },
          plan_.select_timeout_ms, 0);
      if (!matched) seen_.failure = "the picker's selection never read " + plan_.select_item;
    }
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    seen_.root_item = TreeItemText(tree, root);
    HTREEITEM caret =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    seen_.caret_item = TreeItemText(tree, caret);
    return seen_.failure.empty() ? plan_.press : IDCANCEL;
  }

  PickerPlan plan_;
  PickerSeen seen_;
  testing::DialogDriver driver_;  // last: its thread starts once the plan is in place
};

}  // namespace vorlund::collect_testing
