#include "dialog_driver.h"

namespace vorlund::testing {

std::string Ansi(const std::wstring& wide) {
  int len = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), len,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& ansi) {
  int len = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(len), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), len);
  return wide;
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

std::string WindowTextOf(HWND window) {
  int len = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  len = GetWindowTextW(window, text.data(), len + 1);
  text.resize(static_cast<size_t>(len > 0 ? len : 0));
  return Ansi(text);
}

std::string ControlTextOf(HWND control) {
  const LRESULT len = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
  const LRESULT got =
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Ansi(text);
}

HWND FindProgramWindow(DWORD process, const char* window_class) {
  Search search{process, window_class, nullptr};
  EnumWindows(FindOne, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProgramWindow(DWORD process, const char* window_class, DWORD timeout_ms) {
  for (DWORD waited = 0;; waited += 20) {
    if (HWND window = FindProgramWindow(process, window_class)) return window;
    if (waited >= timeout_ms) return nullptr;
    Sleep(20);
  }
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
  for (DWORD waited = 0; waited < timeout_ms; waited += 10) {
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
    Sleep(10);
  }
  return !IsWindow(dialog) || !IsWindowVisible(dialog);
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

bool TypeFileName(HWND dialog, const std::string& name) {
  HWND box = nullptr;
  for (int i = 0; i < 500 && !box; ++i) {  // the controls are made as the dialog initialises
    box = FileNameBox(dialog);
    if (!box) Sleep(10);
  }
  if (!box) return false;
  const std::wstring wide = Wide(name);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return ControlTextOf(box) == name;
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
