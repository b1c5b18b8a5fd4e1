// Finds a dialog or message box of the program (in this process or another), reads what it
// shows and presses its buttons. The folder picker's driver, the open-file dialog's driver and
// the error-box checks all go through it, as do the tests' readings of windows of any thread or
// process: texts, list rows and list states, the focus, and waits for what should come.
#pragma once

#include <windows.h>

#include <atomic>
#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace vorlund::testing {

// Text in a code page as wide text, and back, converted by the system.
std::wstring FromCodePage(const std::string& text, UINT code_page);
std::string ToCodePage(const std::wstring& wide, UINT code_page);
// An ANSI (code page 936) text as wide text and back, converted by the system.
std::wstring Wide(const std::string& ansi);
std::string Ansi(const std::wstring& wide);
// The GBK (code page 936) bytes of a UTF-8 text, and the UTF-8 spelling of an ANSI text, converted
// by the system.
std::string Gbk(const std::string& utf8);
std::string Utf8(const std::string& ansi);

// Waits until done() holds, asking again every step_ms; false when it still does not after
// timeout_ms.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms = 10000, DWORD step_ms = 20);
// Dispatches the messages waiting for this thread's windows.
void DispatchWaiting();

// A message sent to a window of any thread or process, never waiting for ever on a busy one:
// its answer, or -1 when none came within timeout_ms.
LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
            UINT timeout_ms = 15000);

// A window's text as its ANSI (code page 936) bytes, asked of the window itself as wide text:
// exact across threads and processes (an ANSI read of another process's window can lose bytes,
// and an edit of another process keeps its text where GetWindowText does not look).
std::string WindowTextOf(HWND window);

// The window of window's thread that holds the keyboard focus.
HWND FocusOf(HWND window);

// A list box's state, read from the list itself (of any thread or process). In an expected
// state, a field left at kAny matches any value.
struct ListState {
  static constexpr int kAny = INT_MIN;
  int count = kAny;
  int top = kAny;       // the top row
  int selected = kAny;  // the selected row, -1 for none
  int caret = kAny;     // the row with the focus rectangle
};
bool operator==(const ListState& a, const ListState& b);
void PrintTo(const ListState& state, std::ostream* os);
ListState ListStateOf(HWND list);
int RowCount(HWND list);
// A list's rows, read as wide text and given back in the system code page: exact for a list of
// another process too.
std::vector<std::string> ListRows(HWND list);
// The rows that fit into the list's height, as the list scrolls by them.
int PageRows(HWND list);

// What a dialog shows.
struct DialogSeen {
  HWND dialog = nullptr;
  HWND owner = nullptr;
  std::string caption;
  std::string text;                  // a message box's text (its static control 0xFFFF)
  std::vector<std::string> statics;  // the texts of its static controls, in child order
  HICON icon = nullptr;              // the icon it shows, null for none
  int buttons = 0;                   // its visible buttons
  std::string first_button;          // the first visible button's text
  std::vector<std::string> button_texts;
  // The process's other visible top-level windows that could still be used meanwhile.
  int enabled_windows = 0;
};

// A visible top-level window of the given class of the process (the program's main window,
// say), or null.
HWND FindProgramWindow(DWORD process, const char* window_class);
// Waits for one; null after timeout_ms.
HWND WaitForProgramWindow(DWORD process, const char* window_class, DWORD timeout_ms);

// A visible dialog window (class #32770) of the process, or null.
HWND FindDialog(DWORD process = GetCurrentProcessId());
// Every visible top-level dialog window of the process, in z-order.
std::vector<HWND> FindDialogs(DWORD process);
// Waits for one; null after timeout_ms.
HWND WaitForDialog(DWORD process = GetCurrentProcessId(), DWORD timeout_ms = 30000);
DialogSeen ReadDialog(HWND dialog);

// Presses a button of the dialog as a click would; true once the dialog has gone.
bool PressDialogButton(HWND dialog, int id, DWORD timeout_ms = 10000);

// The name box of an open-file dialog (the edit inside its combo box 0x47C, or the edit 0x480).
HWND FileNameBox(HWND dialog);
// Waits for it while the dialog makes its controls; null after timeout_ms.
HWND WaitForFileNameBox(HWND dialog, DWORD timeout_ms = 5000);
// Types a name into the open-file dialog's name box.
bool TypeFileName(HWND dialog, const std::string& name);

// Runs a step, on a thread of its own, against each dialog of the process that appears, for
// tests whose own thread sits in the dialog's modal loop. The step reads or drives the dialog
// and returns the button to press, or 0 to press none. The driver stops after `limit` dialogs,
// when it is joined, or when no dialog has appeared for appear_timeout_ms.
class DialogDriver {
 public:
  using Step = std::function<int(HWND dialog, const DialogSeen& seen)>;
  explicit DialogDriver(Step step, DWORD process = GetCurrentProcessId(), int limit = 1,
                        DWORD appear_timeout_ms = INFINITE);
  // Presses the button with the given id of every dialog that appears.
  explicit DialogDriver(int press_id, int limit = 1000);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Stops watching for more dialogs and waits for the driver's thread.
  void Join();
  // What the first dialog showed when it appeared.
  const DialogSeen& Seen() const { return first_; }
  int Count() const { return count_; }
  bool Answered() const { return count_ > 0; }
  // True when every dialog pressed went away.
  bool Closed() const { return closed_; }
  // True when it stopped because no dialog appeared in time.
  bool TimedOut() const { return timed_out_; }

 private:
  static DWORD WINAPI Run(void* self);
  void Drive();

  Step step_;
  DWORD process_;
  int limit_;
  DWORD appear_timeout_ms_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> count_{0};
  std::atomic<bool> closed_{true};
  std::atomic<bool> timed_out_{false};
  DialogSeen first_;
};

// The error-box checks: presses press_id in every box that appears while it lives.
class MessageBoxWatcher : public DialogDriver {
 public:
  explicit MessageBoxWatcher(int press_id = IDOK) : DialogDriver(press_id) {}
};
using MessageBoxSeen = DialogSeen;

}  // namespace vorlund::testing
