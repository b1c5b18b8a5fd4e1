// Drives a running Vorlund.exe from another process the way a user reaches it: the real pointer
// (SetCursorPos and SendInput) on its buttons, rows and check box, keys and characters to the
// control that holds its focus, its folder picker, file dialog and message boxes answered, and
// what it shows read back: rows, texts, and colours from a picture of the display.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
//
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "program_driver.h"
#include "windows/collect_testing.h"
#include "windows/dialog_driver.h"
#include "windows/system_oracles.h"

namespace vorlund::testing {

// ---------------------------------------------------------------------------------------------
// Files

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// ---------------------------------------------------------------------------------------------
// Memory in the program's process, for messages that carry a pointer

class RemoteBlock {
 public:
  RemoteBlock(DWORD process, size_t size) : size_(size) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (process_)
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool Valid() const { return address_ != nullptr; }
  void* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(Address(offset)); }
  bool Write(const void* data, size_t size, size_t offset = 0) const {
    SIZE_T done = 0;
    return offset + size <= size_ &&
           WriteProcessMemory(process_, Address(offset), data, size, &done) && done == size;
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    SIZE_T done = 0;
    return offset + size <= size_ &&
           ReadProcessMemory(process_, Address(offset), data, size, &done) && done == size;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

// ---------------------------------------------------------------------------------------------
// The display: Unix commands on the test's display, pictures and colours

// Runs a shell command line on the Linux side (the display is the test's DISPLAY); its exit
// code, or -1 when it could not be started or did not end within 30 s. The platform does not
// follow a Linux process it starts (its handle is signalled at once), so the command leaves its
// exit code in a file of its own when it is done.
inline int RunUnix(const std::string& command) {
  static int runs = 0;
  const std::string done =
      BinaryDirUnix() + "/acceptance-run-" + ProcessTag() + "-" + std::to_string(++runs);
  std::string line = "Z:\\bin\\sh -c \"" + command + "; echo $? >" + done + ".part && mv " + done +
                     ".part " + done + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const std::string done_file = WindowsPath(done);
  if (!WaitUntil([&] { return GetFileAttributesA(done_file.c_str()) != INVALID_FILE_ATTRIBUTES; },
                 30000, 5))
    return -1;
  const int code = atoi(ReadWholeFile(done_file).c_str());
  DeleteFileA(done_file.c_str());
  return code;
}

// A picture of part of the display, in screen coordinates.
struct Picture {
  RECT area = {};
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool Valid() const { return width > 0 && height > 0; }
  // The colour at a screen point as 0x00BBGGRR, or CLR_INVALID outside the picture.
  COLORREF At(int x, int y) const {
    x -= area.left;
    y -= area.top;
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
  }
};

// The display's frame buffer, which the runner's Xvfb keeps in a file (its -fbdir) named by
// VORLUND_SCREEN: an X window dump whose pixels are the screen's, live. Reading it takes no
// process and no round trip to the display, so a picture neither fails nor lags under load, and
// the screen's size comes from the display itself rather than from the platform's metrics (which
// Wine can report as 0 x 0 for a while after another program's dialog).
class ScreenFile {
 public:
  ScreenFile() {
    const char* unix_path = std::getenv("VORLUND_SCREEN");
    if (!unix_path || !*unix_path) return;
    file_ = CreateFileA(WindowsPath(unix_path).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    // The header's fields are 32-bit big-endian words; those read here, by index.
    unsigned char header[100];
    if (file_ == INVALID_HANDLE_VALUE || !ReadAt(0, header, sizeof header)) return;
    auto word = [&](int i) {
      const unsigned char* p = header + 4 * i;
      return static_cast<DWORD>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    };
    enum { kHeaderSize = 0, kVersion = 1, kFormat = 2, kWidth = 4, kHeight = 5, kByteOrder = 7 };
    enum { kBitsPerPixel = 11, kLineBytes = 12, kRedMask = 14, kBlueMask = 16, kColours = 19 };
    // Version 7, a Z pixmap of 32-bit pixels, blue in the lowest byte, lowest byte first: what
    // Xvfb keeps at a depth of 24.
    if (word(kVersion) != 7 || word(kFormat) != 2 || word(kBitsPerPixel) != 32 ||
        word(kByteOrder) != 0 || word(kRedMask) != 0xFF0000 || word(kBlueMask) != 0xFF)
      return;
    width_ = static_cast<int>(word(kWidth));
    height_ = static_cast<int>(word(kHeight));
    line_bytes_ = word(kLineBytes);
    pixels_at_ = word(kHeaderSize) + word(kColours) * 12;  // each colour map entry is 12 bytes
  }
  ~ScreenFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  ScreenFile(const ScreenFile&) = delete;
  ScreenFile& operator=(const ScreenFile&) = delete;

  bool Valid() const { return width_ > 0 && height_ > 0; }
  RECT Area() const { return RECT{0, 0, width_, height_}; }

  // The pixels of an area of the screen (inside Area()), row by row, as R, G, B bytes.
  bool Read(const RECT& area, std::vector<unsigned char>& rgb) const {
    const int width = area.right - area.left;
    std::vector<unsigned char> line(static_cast<size_t>(width) * 4);
    rgb.clear();
    for (int y = area.top; y < area.bottom; ++y) {
      const ULONGLONG at = pixels_at_ + static_cast<ULONGLONG>(y) * line_bytes_ + area.left * 4;
      if (!ReadAt(at, line.data(), static_cast<DWORD>(line.size()))) return false;
      for (int x = 0; x < width; ++x) {
        const unsigned char* bgrx = &line[static_cast<size_t>(x) * 4];
        rgb.insert(rgb.end(), {bgrx[2], bgrx[1], bgrx[0]});
      }
    }
    return true;
  }

 private:
  bool ReadAt(ULONGLONG offset, void* data, DWORD size) const {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    DWORD done = 0;
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) &&
           ReadFile(file_, data, size, &done, nullptr) && done == size;
  }

  HANDLE file_ = INVALID_HANDLE_VALUE;
  int width_ = 0, height_ = 0;
  DWORD line_bytes_ = 0, pixels_at_ = 0;
};

// The screen's size as the display has it.
inline RECT ScreenArea() { return ScreenFile().Area(); }

// Takes a picture of an area of the display (cut to the screen); an invalid one when the
// display keeps no frame buffer file.
inline Picture Capture(RECT area) {
  const ScreenFile screen;
  const RECT whole = screen.Area();
  IntersectRect(&area, &area, &whole);
  Picture picture;
  picture.area = area;
  if (IsRectEmpty(&area) || !screen.Read(area, picture.rgb)) return picture;
  picture.width = area.right - area.left;
  picture.height = area.bottom - area.top;
  return picture;
}

// Saves a picture of the whole display as build-folder/screenshots/NAME.png; its Windows path.
inline std::string SaveScreenshot(const std::string& name) {
  const std::string dir = BinaryDirUnix() + "/screenshots";
  const std::string file = dir + "/" + name + ".png";
  RunUnix("mkdir -p " + dir + " && import -window root " + file);
  return WindowsPath(file);
}

// ---------------------------------------------------------------------------------------------
// The real pointer and keyboard

inline void SendMouse(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

// Moves the pointer to a screen point and lets the program's ticks see it there.
inline void MovePointer(POINT screen, DWORD settle_ms = 60) {
  SetCursorPos(screen.x, screen.y);
  SendMouse(MOUSEEVENTF_MOVE);  // a move of no distance: the program hears where the pointer is
  Sleep(settle_ms);
}

// Presses and releases the left button at a screen point.
inline void ClickAt(POINT screen) {
  MovePointer(screen);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(20);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

// A point of a window, given in its client coordinates, on the screen.
inline POINT OnScreen(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

inline POINT CentreOf(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  return OnScreen(window, r.right / 2, r.bottom / 2);
}

// Clicks a window at its centre.
inline void ClickWindow(HWND window) { ClickAt(CentreOf(window)); }

// A key pressed and released, as the keyboard sends it to the program's focused window.
inline void PressKey(WORD vk) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof keys[0]);
}

// Characters typed into a control, each as the keyboard's translation delivers it.
inline void TypeCharacters(HWND control, const std::string& text) {
  for (wchar_t c : Wide(text)) PostMessageW(control, WM_CHAR, c, 1);
}

// ---------------------------------------------------------------------------------------------
// The main window, as a user sees it

// The colours of the gauge's interior, from a picture of the display: at its left end (where
// the share done is drawn) and in its right half (the rest of the bar), clear of the
// percentage in the middle.
struct GaugeColours {
  COLORREF left = CLR_INVALID;
  COLORREF right = CLR_INVALID;
};

inline GaugeColours ReadGauge(HWND gauge) {
  RECT r = {};
  GetWindowRect(gauge, &r);
  Picture picture = Capture(r);
  const int y = (r.top + r.bottom) / 2;
  // The screen may end before the gauge does: the rest of the bar is read where it shows.
  const int right = std::min<int>(r.right, picture.area.right) - 3;
  const int width = r.right - r.left;
  const int rest_x = std::max<int>(r.left + width * 3 / 4, r.left + 3);
  return GaugeColours{picture.At(r.left + 2, y), picture.At(std::min(rest_x, right), y)};
}

inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 128, 0);
inline constexpr COLORREF kSilver = RGB(192, 192, 192);

// ---------------------------------------------------------------------------------------------
// What a label shows on the screen, against the same text drawn here by a label of the
// platform's own with the window's font

// The pixels of a picture that are ink (dark), row by row.
inline std::vector<bool> Ink(const Picture& p) {
  std::vector<bool> ink;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const COLORREF c = p.At(p.area.left + x, p.area.top + y);
      ink.push_back(GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128);
    }
  return ink;
}

// The number of pixels in which the label's picture differs from the text drawn by a static
// control of this process of the label's size in the font "宋体", height -12 (the window's); -1
// when either picture could not be taken. The reference is shown where the program's window
// is not, without taking the activation.
inline int LabelDifference(HWND label, const std::string& text) {
  RECT shown = {};
  GetWindowRect(label, &shown);
  const int width = shown.right - shown.left, height = shown.bottom - shown.top;
  const RECT screen = ScreenArea();
  const int left = 8, top = screen.bottom - height - 8;
  HWND reference = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, "STATIC",
                                   text.c_str(), WS_POPUP | SS_LEFT | SS_NOPREFIX, left, top, width,
                                   height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!reference) return -1;
  const std::string face = Gbk("宋体");
  HFONT font =
      CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  SendMessageA(reference, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ShowWindow(reference, SW_SHOWNOACTIVATE);
  UpdateWindow(reference);
  for (int i = 0; i < 10; ++i) {
    DispatchWaiting();
    Sleep(10);
  }
  const Picture expected = Capture(RECT{left, top, left + width, top + height});
  const Picture seen = Capture(shown);
  DestroyWindow(reference);
  DispatchWaiting();
  DeleteObject(font);
  if (!expected.Valid() || !seen.Valid() || expected.width != seen.width ||
      expected.height != seen.height)
    return -1;
  const std::vector<bool> a = Ink(expected), b = Ink(seen);
  int differ = 0;
  for (size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i];
  return differ;
}

// Chooses a folder path in an open folder picker of the program's process as a person does:
// its drive is selected by the path of the drive (sent again until the tree, which the picker
// fills meanwhile, shows it), the folders below it are opened one by one by their names in the
// tree, and the last one is selected. A path sent whole would not do: the picker matches it
// against its tree's items byte for byte, and an item keeps the change and access stamps its
// folder had when the item was made, so a folder on the way that changed since (the build
// folder, the folder for temporary files) could never be matched again. Empty when the tree
// shows item_text selected, else what failed.
inline std::string SelectInPicker(DWORD process, HWND picker, const std::string& path,
                                  const std::string& item_text, int attempts = 100) {
  HWND tree = nullptr;
  WaitUntil([&] { return (tree = FindWindowExA(picker, nullptr, "SysTreeView32", nullptr)); },
            5000);
  if (!tree) return "the picker has no tree";
  RemoteBlock remote(process, 4096);
  if (!remote.Valid()) return "no memory in the program's process";
  const size_t item_at = 1024, text_at = 2048;
  auto text_of = [&](LPARAM handle) {
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(handle);
    item.pszText = static_cast<wchar_t*>(remote.Address(text_at));
    item.cchTextMax = MAX_PATH;
    const wchar_t none = 0;
    remote.Write(&none, sizeof none, text_at);
    remote.Write(&item, sizeof item, item_at);
    Ask(tree, TVM_GETITEMW, 0, remote.Param(item_at));
    wchar_t text[MAX_PATH + 1] = {};
    remote.Read(text, MAX_PATH * sizeof(wchar_t), text_at);
    return Ansi(text);
  };
  // An item's handle, or 0 when there is none (or the tree did not answer).
  auto next = [&](WPARAM which, LPARAM from) {
    const LRESULT item = Ask(tree, TVM_GETNEXTITEM, which, from);
    return item == -1 ? 0 : static_cast<LPARAM>(item);
  };
  auto caret = [&] { return next(TVGN_CARET, 0); };

  // A drive's item holds only its letter: it matches whatever changed on it.
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return "not a drive's path: " + path;
  const std::string drive = path.substr(0, 3), letter = path.substr(0, 2);
  remote.Write(drive.c_str(), drive.size() + 1);
  LPARAM at = 0;  // the item reached so far
  for (int attempt = 0; !at && attempt < attempts; ++attempt) {
    if (!IsWindow(picker)) return "the picker went";
    SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, remote.Param());
    const LPARAM shown = caret();
    if (shown && text_of(shown).find(letter) != std::string::npos)
      at = shown;
    else
      Sleep(100);
  }
  if (!at) return "the picker's selection never read " + letter;

  for (size_t from = 3; from < path.size();) {
    const size_t slash = std::min(path.find('\\', from), path.size());
    const std::string name = path.substr(from, slash - from);
    from = slash + 1;
    if (name.empty()) continue;
    Ask(tree, TVM_EXPAND, TVE_EXPAND, at);  // the picker fills the folder's items now
    LPARAM child = next(TVGN_CHILD, at);
    while (child && text_of(child) != name) child = next(TVGN_NEXT, child);
    if (!child) return "the picker's tree has no folder " + name + " in " + path;
    at = child;
  }
  Ask(tree, TVM_SELECTITEM, TVGN_CARET, at);
  const LPARAM chosen = caret();
  if (chosen && text_of(chosen) == item_text) return std::string();
  return "the picker's selection never read " + item_text;
}

// ---------------------------------------------------------------------------------------------
// One session of the program: started, its window found, driven, closed

class Session {
 public:
  // The program started in the given current folder (this process's when none is given).
  explicit Session(const std::string& folder = std::string()) : program_(folder) {
    if (!program_.Started()) return;
    HWND form = program_.WaitForWindow();
    if (!form) return;
    window_ = FindMainWindow(form);
    // Let the first ticks bring the window to its smallest size and settle.
    WaitUntil(
        [&] {
          RECT r = {};
          GetWindowRect(form, &r);
          return r.right - r.left >= 832 && r.bottom - r.top >= 665;
        },
        5000);
    // Dragged by its title bar to where the whole of it shows on the screen (at its stored
    // place its right end lies beyond a screen 1280 pixels wide).
    dragged_ = DragWindowTo(POINT{100, 60});
  }
  ~Session() {
    // A box left open (a failed test) is closed, so that the window can close.
    for (int i = 0; i < 5; ++i) {
      HWND dialog = FindDialog(program_.ProcessId());
      if (!dialog) break;
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      Sleep(100);
    }
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Ready() const { return window_.Complete() && dragged_; }

  // Drags the window by its title bar with the pointer until its top-left corner is at a
  // screen point.
  bool DragWindowTo(POINT top_left) {
    auto there = [&] {
      RECT now = {};
      GetWindowRect(window_.form, &now);
      return now.left == top_left.x && now.top == top_left.y;
    };
    for (int attempt = 0; attempt < 3 && !there(); ++attempt) {
      RECT r = {};
      GetWindowRect(window_.form, &r);
      const POINT grip{r.left + 200, r.top + 10};
      MovePointer(grip, 200);
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      Sleep(100);
      for (int step = 1; step <= 10; ++step) {
        SetCursorPos(grip.x + (top_left.x - r.left) * step / 10,
                     grip.y + (top_left.y - r.top) * step / 10);
        SendMouse(MOUSEEVENTF_MOVE);
        Sleep(30);
      }
      SendMouse(MOUSEEVENTF_LEFTUP);
      WaitUntil(there, 1000);
    }
    return there();
  }

  const MainWindow& Window() const { return window_; }
  DWORD ProcessId() const { return program_.ProcessId(); }
  bool Running() const { return program_.Running(); }
  // The exit code once the program has ended, or STILL_ACTIVE after timeout_ms.
  DWORD WaitForExit(DWORD timeout_ms) { return program_.WaitForExit(timeout_ms); }

  std::vector<std::string> Files() const { return ListRows(window_.file_list); }
  std::vector<std::string> Digests() const { return ListRows(window_.digest_list); }
  std::string Position() const { return WindowTextOf(window_.position); }
  std::string PathBox() const { return WindowTextOf(window_.path_box); }
  std::string DigestBox() const { return WindowTextOf(window_.digest_box); }
  bool SubFoldersTicked() const { return Ask(window_.sub_folders, BM_GETCHECK) == BST_CHECKED; }
  GaugeColours Gauge() const { return ReadGauge(window_.gauge); }
  // The pixels in which the position label on the screen differs from its text drawn anew.
  int PositionDrawnDifference() const { return LabelDifference(window_.position, Position()); }

  // A dialog or message box of the program, once one shows; null after timeout_ms.
  HWND WaitForBox(DWORD timeout_ms = 10000) const {
    return WaitForDialog(program_.ProcessId(), timeout_ms);
  }
  HWND OpenBox() const { return FindDialog(program_.ProcessId()); }

  // Ticks the check box with the pointer.
  void ClickSubFolders() {
    RECT r = {};
    GetClientRect(window_.sub_folders, &r);
    ClickAt(OnScreen(window_.sub_folders, 6, r.bottom / 2));  // on the box itself
  }

  // Types a path over the path box's text, character by character, after a click into it.
  void TypePath(const std::string& path) {
    ClickWindow(window_.path_box);
    Ask(window_.path_box, EM_SETSEL, 0, -1);  // all of it selected: the first key replaces it
    TypeCharacters(window_.path_box, path);
  }
  // Waits until the path box shows text and no keystroke is waiting.
  bool WaitForPathBox(const std::string& text) const {
    return WaitUntil([&] { return PathBox() == text; }) && Ask(window_.form, WM_NULL) == 0;
  }

  // The folder picker opened with the choose-folder button; the folder path chosen in it and
  // OK pressed. Empty when all went well, else what failed.
  std::string PickFolder(const std::string& path, const std::string& item_text,
                         const std::function<void()>& after_ok = nullptr) {
    ClickWindow(window_.choose);
    HWND picker = WaitForBox();
    if (!picker) return "no folder picker appeared";
    picker_ = ReadDialog(picker);
    const std::string failure = SelectInPicker(program_.ProcessId(), picker, path, item_text);
    if (!failure.empty()) {
      PressDialogButton(picker, IDCANCEL);
      return failure;
    }
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(picker, IDOK)));
    if (after_ok) after_ok();
    if (!WaitUntil([&] { return !IsWindow(picker) || !IsWindowVisible(picker); }))
      return "the picker did not close";
    return std::string();
  }
  // What the picker showed when it appeared.
  const DialogSeen& PickerSeen() const { return picker_; }

  // Waits until a listing is shown whole: the label shows 0 and a row count equal to the list's.
  bool WaitForListing(int rows, DWORD timeout_ms = 10000) const {
    return WaitUntil(
        [&] { return RowCount(window_.file_list) == rows && Position() == PositionText(0, rows); },
        timeout_ms);
  }

  // Starts a digest run with the pointer.
  void StartRun() { ClickWindow(window_.start); }
  // Waits until a run has given a digest for every listed file and the program is idle again.
  bool WaitForRunEnd(DWORD timeout_ms = 15000) const {
    const int files = RowCount(window_.file_list);
    return WaitUntil([&] { return RowCount(window_.digest_list) == files && !OpenBox() && Idle(); },
                     timeout_ms, 50);
  }
  // True when the program answers at once: no handler is running between its pumps.
  bool Idle() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window_.form, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) != 0;
  }

  // Clicks a row of a list with the pointer, x pixels into the list (its middle when x < 0).
  void ClickRow(HWND list, int row, int x = -1) {
    RECT r = {};
    GetClientRect(list, &r);
    const int height = static_cast<int>(Ask(list, LB_GETITEMHEIGHT, 0));
    const int top = ListStateOf(list).top;
    ClickAt(OnScreen(list, x < 0 ? r.right / 2 : x, (row - top) * height + height / 2));
  }

  // Closes the window with a click on its close box; the exit code once the program has ended.
  // Drags the window by a point of its title bar that is on the screen, by dx and dy pixels (the
  // system may stop it short); false when no such point was found or the window did not move.
  bool DragTitleBar(int dx, int dy) {
    RECT r = {};
    GetWindowRect(window_.form, &r);
    const RECT screen = ScreenArea();
    POINT grip{-1, r.top + 10};
    for (LONG x = std::max(r.left, screen.left) + 8; x < std::min(r.right, screen.right); x += 8)
      if (Ask(window_.form, WM_NCHITTEST, 0, MAKELPARAM(x, grip.y)) == HTCAPTION) {
        grip.x = x;
        break;
      }
    if (grip.x < 0 || !PtInRect(&screen, grip)) return false;
    MovePointer(grip);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 5; ++step)
      MovePointer(POINT{grip.x + dx * step / 5, grip.y + dy * step / 5}, 30);
    SendMouse(MOUSEEVENTF_LEFTUP);
    return WaitUntil(
        [&] {
          RECT now = {};
          GetWindowRect(window_.form, &now);
          return now.left != r.left || now.top != r.top;
        },
        2000);
  }

  // Drags the window by its title bar until all of it is on the screen (its top left corner,
  // when it is larger); true when it is there.
  bool DragOnScreen() {
    for (int attempt = 0; attempt < 3; ++attempt)
      if (DragOnScreenOnce()) return true;
    return false;
  }

  DWORD Close(DWORD timeout_ms = 20000) {
    // The close box: the point of the title bar, nearest its right end, that the window itself
    // calls the close box. A window dragged so far that its close box left the screen is first
    // dragged back by its title bar, as a person would.
    POINT box{-1, -1};
    for (int attempt = 0; attempt < 20 && box.x < 0; ++attempt) {
      if (attempt > 0) Sleep(100);  // the window may still be busy with the last step
      RECT r = {};
      GetWindowRect(window_.form, &r);
      for (int y = r.top + 2; y < r.top + 30 && box.x < 0; y += 2)
        for (int x = r.right - 2; x > r.right - 60 && box.x < 0; x -= 2)
          if (Ask(window_.form, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            box = POINT{x - 4, y + 4};
      if (box.x >= 0 && Ask(window_.form, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)) != HTCLOSE)
        box = POINT{-1, -1};
      const RECT screen = ScreenArea();
      if (box.x >= 0 && !PtInRect(&screen, box)) {
        DragOnScreen();
        box = POINT{-1, -1};
      }
    }
    if (box.x < 0) {
      ADD_FAILURE() << "no close box found on the title bar";
      return STILL_ACTIVE;
    }
    ClickAt(box);
    return program_.WaitForExit(timeout_ms);
  }

 private:
  // One drag towards the screen; true when the window is (then) all on it.
  bool DragOnScreenOnce() {
    RECT r = {};
    GetWindowRect(window_.form, &r);
    const RECT screen = ScreenArea();
    const LONG dx = r.left < screen.left ? screen.left - r.left
                    : r.right > screen.right
                        ? std::max(screen.right - r.right, screen.left - r.left)
                        : 0;
    const LONG dy = r.top < screen.top ? screen.top - r.top
                    : r.bottom > screen.bottom
                        ? std::max(screen.bottom - r.bottom, screen.top - r.top)
                        : 0;
    if (dx == 0 && dy == 0) return true;
    DragTitleBar(dx, dy);
    GetWindowRect(window_.form, &r);
    return r.left >= screen.left && r.top >= screen.top &&
           (r.right <= screen.right || r.left == screen.left) &&
           (r.bottom <= screen.bottom || r.top == screen.top);
  }

  Program program_;
  MainWindow window_;
  bool dragged_ = false;
  DialogSeen picker_;
};

// A message box's text, whichever static control shows it.
inline bool BoxShows(const DialogSeen& seen, const std::string& text) {
  if (seen.text == text) return true;
  for (const std::string& s : seen.statics)
    if (s == text) return true;
  return false;
}

// Types a name into an open-file dialog's name box over what it offers, and presses its OK
// button with the pointer; false when the dialog had no name box or did not take the name.
// offered, when given, gets the name the box offered before.
inline bool NameAndAccept(HWND dialog, const std::string& name, std::string* offered = nullptr) {
  HWND box = WaitForFileNameBox(dialog);
  if (!box) return false;
  if (offered) *offered = WindowTextOf(box);
  ClickWindow(box);
  Ask(box, EM_SETSEL, 0, -1);  // all of it selected: the first key replaces it
  TypeCharacters(box, name);
  if (!WaitUntil([&] { return WindowTextOf(box) == name; }, 5000)) return false;
  ClickWindow(GetDlgItem(dialog, IDOK));
  return true;
}

// A folder of the test's own under the build folder, removed with all it holds at the end.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& tag)
      : root_(BinaryDir() + "\\acceptance-work\\" + tag + "-" + ProcessTag()) {
    CreateDirectoryA((BinaryDir() + "\\acceptance-work").c_str(), nullptr);
    RemoveAll(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
  }
  ~WorkFolder() { RemoveAll(root_); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }

  static void RemoveAll(const std::string& path) { collect_testing::TempTree::RemoveAll(path); }

 private:
  std::string root_;
};

// The rows a listing of a folder should give, made independently of the program (the
// platform's own entry order, sub-folders entered in place), from the listing tests' helpers.
inline std::vector<std::string> ExpectedRows(const std::string& folder, bool recursive) {
  return collect_testing::ExpectedListing(folder, recursive);
}

}  // namespace vorlund::testing
