#include "dialog_driver.h"

namespace vorlund::testing {

// Text in a code page as wide text, and back, converted by the system.
std::wstring FromCodePage(const std::string& text, UINT code_page) {
  const int len =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(len), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), len);
  return wide;
}

std::string ToCodePage(const std::wstring& wide, UINT code_page) {
  const int len = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), out.data(), len,
                      nullptr, nullptr);
  return out;
}

std::string Ansi(const std::wstring& wide) { return ToCodePage(wide, CP_ACP); }
std::wstring Wide(const std::string& ansi) { return FromCodePage(ansi, CP_ACP); }
std::string Gbk(const std::string& utf8) { return ToCodePage(FromCodePage(utf8, CP_UTF8), 936); }
std::string Utf8(const std::string& ansi) { return ToCodePage(Wide(ansi), CP_UTF8); }

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms, DWORD step_ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeout_ms) return done();
    Sleep(step_ms);
  }
  return true;
}

void DispatchWaiting() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT timeout_ms) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, timeout_ms, &result))
    return -1;
  return static_cast<LRESULT>(result);
}

std::string WindowTextOf(HWND window) {
  const LRESULT len = Ask(window, WM_GETTEXTLENGTH);
  if (len <= 0) return std::string();
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Ansi(text);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool operator==(const ListState& a, const ListState& b) {
  auto same = [](int x, int y) { return x == y || x == ListState::kAny || y == ListState::kAny; };
  return same(a.count, b.count) && same(a.top, b.top) && same(a.selected, b.selected) &&
         same(a.caret, b.caret);
}

void PrintTo(const ListState& state, std::ostream* os) {
  auto field = [os](const char* name, int value) {
    *os << name << " ";
    if (value == ListState::kAny)
      *os << "any";
    else
      *os << value;
  };
  *os << "{";
  field("count", state.count);
  field(", top", state.top);
  field(", selected", state.selected);
  field(", caret", state.caret);
  *os << "}";
}

ListState ListStateOf(HWND list) {
  return {RowCount(list), static_cast<int>(Ask(list, LB_GETTOPINDEX)),
          static_cast<int>(Ask(list, LB_GETCURSEL)), static_cast<int>(Ask(list, LB_GETCARETINDEX))};
}

int RowCount(HWND list) { return static_cast<int>(Ask(list, LB_GETCOUNT)); }

std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  const LRESULT count = Ask(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT len = Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
    std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    len = Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len > 0 ? len : 0));
    rows.push_back(Ansi(text));
  }
  return rows;
}

int PageRows(HWND list) {
  RECT r = {};
  GetClientRect(list, &r);
  return r.bottom / static_cast<int>(Ask(list, LB_GETITEMHEIGHT));
}

namespace {

std::string ClassOf(HWND window) {
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  return cls;
}

struct Search {
  DWORD process;
  const char* window_class;
  HWND found;
  std::vector<HWND>* all = nullptr;  // every one, when given
};

BOOL CALLBACK FindOne(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && ClassOf(window) == search->window_class &&
      IsWindowVisible(window)) {
    search->found = window;
    if (!search->all) return FALSE;
    search->all->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM lparam) {
  auto* seen = reinterpret_cast<DialogSeen*>(lparam);
  if (GetParent(child) != seen->dialog) return TRUE;  // controls of the dialog itself only
  const std::string cls = ClassOf(child);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(cls.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      seen->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else {
      seen->statics.push_back(WindowTextOf(child));
      if (GetDlgCtrlID(child) == 0xFFFF) seen->text = seen->statics.back();
    }
  } else if (_stricmp(cls.c_str(), "Button") == 0 && IsWindowVisible(child)) {
    seen->button_texts.push_back(WindowTextOf(child));
    if (seen->buttons++ == 0) seen->first_button = seen->button_texts.back();
  }
  return TRUE;
}

BOOL CALLBACK CountEnabled(HWND window, LPARAM lparam) {
  auto* seen = reinterpret_cast<DialogSeen*>(lparam);
  DWORD process = 0, dialog_process = 0;
  GetWindowThreadProcessId(window, &process);
  GetWindowThreadProcessId(seen->dialog, &dialog_process);
  if (process == dialog_process && window != seen->dialog && IsWindowVisible(window) &&
      IsWindowEnabled(window))
    ++seen->enabled_windows;
  return TRUE;
}

}  // namespace

HWND FindProgramWindow(DWORD process, const char* window_class) {
  Search search{process, window_class, nullptr};
  EnumWindows(FindOne, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProgramWindow(DWORD process, const char* window_class, DWORD timeout_ms) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindProgramWindow(process, window_class)) != nullptr; },
            timeout_ms);
  return window;
}

HWND FindDialog(DWORD process) { return FindProgramWindow(process, "#32770"); }

std::vector<HWND> FindDialogs(DWORD process) {
  std::vector<HWND> dialogs;
  Search search{process, "#32770", nullptr, &dialogs};
  EnumWindows(FindOne, reinterpret_cast<LPARAM>(&search));
  return dialogs;
}

HWND WaitForDialog(DWORD process, DWORD timeout_ms) {
  return WaitForProgramWindow(process, "#32770", timeout_ms);
}

DialogSeen ReadDialog(HWND dialog) {
  DialogSeen seen;
  seen.dialog = dialog;
  seen.owner = GetWindow(dialog, GW_OWNER);
  seen.caption = WindowTextOf(dialog);
  EnumChildWindows(dialog, ReadChild, reinterpret_cast<LPARAM>(&seen));
  EnumWindows(CountEnabled, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

bool PressDialogButton(HWND dialog, int id, DWORD timeout_ms) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeout_ms, 10);
}

namespace {

struct NameBoxes {
  HWND combo = nullptr;
  HWND edit = nullptr;
  HWND combo_edit = nullptr;  // an edit inside the combo box, however deeply it is nested
};

BOOL CALLBACK FindNameBox(HWND child, LPARAM lparam) {
  auto* f = reinterpret_cast<NameBoxes*>(lparam);
  if (GetDlgCtrlID(child) == 0x47C && !f->combo) f->combo = child;
  // Wine 8 nests it as ComboBoxEx32 > ComboBox > Edit, every one numbered 0x47C.
  if (f->combo && !f->combo_edit && _stricmp(ClassOf(child).c_str(), "Edit") == 0 &&
      IsChild(f->combo, child))
    f->combo_edit = child;
  if (GetDlgCtrlID(child) == 0x480 && _stricmp(ClassOf(child).c_str(), "Edit") == 0)
    f->edit = child;
  return TRUE;
}

}  // namespace

HWND FileNameBox(HWND dialog) {
  // An explorer-style dialog's controls may lie in a child dialog of its own: look deep.
  NameBoxes found;
  EnumChildWindows(dialog, FindNameBox, reinterpret_cast<LPARAM>(&found));
  if (found.combo_edit) return found.combo_edit;
  if (found.combo) {
    if (_stricmp(ClassOf(found.combo).c_str(), "Edit") == 0) return found.combo;
    if (HWND edit = FindWindowExA(found.combo, nullptr, "Edit", nullptr)) return edit;
  }
  return found.edit;
}

HWND WaitForFileNameBox(HWND dialog, DWORD timeout_ms) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FileNameBox(dialog)) != nullptr; }, timeout_ms, 10);
  return box;
}

bool TypeFileName(HWND dialog, const std::string& name) {
  HWND box = WaitForFileNameBox(dialog);
  if (!box) return false;
  const std::wstring wide = Wide(name);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return WindowTextOf(box) == name;
}

DialogDriver::DialogDriver(Step step, DWORD process, int limit, DWORD appear_timeout_ms)
    : step_(std::move(step)),
      process_(process),
      limit_(limit),
      appear_timeout_ms_(appear_timeout_ms) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogDriver::DialogDriver(int press_id, int limit)
    : DialogDriver([press_id](HWND, const DialogSeen&) { return press_id; }, GetCurrentProcessId(),
                   limit) {}

DialogDriver::~DialogDriver() { Join(); }

void DialogDriver::Join() {
  if (!thread_) return;
  stop_ = true;
  WaitForSingleObject(thread_, 30000);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI DialogDriver::Run(void* self) {
  static_cast<DialogDriver*>(self)->Drive();
  return 0;
}

void DialogDriver::Drive() {
  DWORD waiting_since = GetTickCount();
  while (count_ < limit_) {
    // Once told to stop, look a last time: a dialog may be just showing.
    const bool last = stop_;
    HWND dialog = FindDialog(process_);
    if (!dialog) {
      if (last) return;
      if (appear_timeout_ms_ != INFINITE && GetTickCount() - waiting_since >= appear_timeout_ms_) {
        timed_out_ = true;
        return;
      }
      Sleep(10);
      continue;
    }
    Sleep(50);  // let the dialog finish laying itself out
    DialogSeen seen = ReadDialog(dialog);
    if (count_ == 0) first_ = seen;
    const int press = step_(dialog, seen);
    count_ = count_ + 1;
    if (press != 0) {
      if (!PressDialogButton(dialog, press)) closed_ = false;
    } else {
      // Left to whoever drives it: wait for it to go before looking for another.
      while (!stop_ && IsWindow(dialog) && IsWindowVisible(dialog)) Sleep(10);
    }
    waiting_since = GetTickCount();
  }
}

}  // namespace vorlund::testing
