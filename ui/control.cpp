#include "ui/control.h"

#include <algorithm>
#include <set>
#include <string>

#include "common/errors.h"
#include "common/system_text.h"
#include "ui/application.h"

namespace ui {
namespace {

std::set<std::string>& OwnClasses() {
  static std::set<std::string> classes;
  return classes;
}

// Input as a person gives it: keys, the pointer over the window and its frame, a button's click.
bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == BM_CLICK;
}

// A change of a window's text, as an edit box takes it from outside (typing aside).
bool IsTextChange(UINT message) {
  switch (message) {
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
      return true;
  }
  return false;
}

// Whether a person could reach the window now: it and every window it lies in are enabled
// (a modal window of the program disables the main window; a run disables the path box).
bool ReachableByUser(HWND window) {
  for (HWND w = window; w && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT)) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

}  // namespace

TWinControl::TWinControl(TWinControl* parent, const TPlacement& placement,
                         TWinControlOptions options)
    : parent_(parent),
      name_(placement.name),
      align_(placement.align),
      design_bounds_(placement.bounds),
      tab_order_(placement.tab_order),
      tab_stop_(options.tab_stop) {
  if (parent_) parent_->children_.push_back(this);
}

TWinControl::~TWinControl() {
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (TWinControl* child : children_) child->parent_ = nullptr;
  if (handle_) {
    // Detach first: the window's last messages must not reach a half-destroyed object.
    HWND window = handle_;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (standard_proc_)
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standard_proc_));
    handle_ = nullptr;
    DestroyWindow(window);
  }
}

void TWinControl::RegisterOwnClass(const char* window_class, UINT class_style, HBRUSH background,
                                   HICON icon) {
  if (!OwnClasses().insert(window_class).second) return;
  WNDCLASSA wc = {};
  wc.style = class_style;
  wc.lpfnWndProc = DispatchProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = window_class;
  if (!RegisterClassA(&wc)) {
    OwnClasses().erase(window_class);
    throw vorlund::Exception(vorlund::SystemErrorText(GetLastError()));
  }
}

void TWinControl::CreateHandle(const char* window_class, DWORD style, DWORD ex_style,
                               const char* text, HWND parent_window) {
  const bool own = OwnClasses().count(window_class) != 0;
  const bool child = (style & WS_CHILD) != 0;
  const TBounds& b = design_bounds_;
  HWND window =
      CreateWindowExA(ex_style, window_class, text, style, b.left, b.top, b.width, b.height,
                      parent_window, nullptr, GetModuleHandleA(nullptr), own ? this : nullptr);
  if (!window) {
    DWORD code = GetLastError();
    throw vorlund::Exception(std::string("Cannot create window ") + window_class + ". " +
                             vorlund::SystemErrorText(code));
  }
  if (!own) {
    handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    standard_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DispatchProc)));
  }
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  if (child) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetOwnText(const std::string& text) {
  const bool outer = setting_text_;  // the text's change handler may set texts too
  setting_text_ = true;
  SetWindowTextA(handle_, text.c_str());
  setting_text_ = outer;
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (proc != DispatchProc) return nullptr;  // not one of ours
  return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK TWinControl::DispatchProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    if (self) {
      self->handle_ = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    LRESULT result = self->DefaultProc(message, wparam, lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return result;
  }
  // Input that no person could give now is refused as the disabled window refuses a person's:
  // automation tools can post keys and clicks, or set a text, to a control under a dialog or to
  // a disabled control. The program's own texts are set whatever the state.
  if ((IsUserInput(message) || (IsTextChange(message) && !self->setting_text_)) &&
      !ReachableByUser(window))
    return 0;
  // The one place where an event handler's exception stops: it goes to the application's
  // default error display and the message loop goes on.
  return CalledBySystem(LRESULT{0}, [&] { return self->WndProc(message, wparam, lparam); });
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (standard_proc_) return CallWindowProcA(standard_proc_, handle_, message, wparam, lparam);
  return DefWindowProcA(handle_, message, wparam, lparam);
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lparam))) {
        // A click or selection that a control no person can reach reports is refused with the
        // input that would have made it. A text change is not: the box holds the new text
        // already, and what follows it takes the same guarded way as typing.
        if (HIWORD(wparam) == EN_CHANGE || ReachableByUser(child->Handle()))
          child->CommandNotify(HIWORD(wparam));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lparam))) {
        if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wparam)))
          return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SIZE:
      if (!children_.empty()) Realign();
      break;
  }
  return DefaultProc(message, wparam, lparam);
}

TBounds TWinControl::Bounds() const {
  if (!handle_) return design_bounds_;
  RECT r;
  GetWindowRect(handle_, &r);
  if (parent_ && parent_->handle_)
    MapWindowPoints(nullptr, parent_->handle_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TBounds wanted{left, top, width, height};
  if (wanted == Bounds()) return;
  design_bounds_ = wanted;
  if (handle_)
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TWinControl::CanFocus() const {
  return tab_stop_ && handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_);
}

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

HFONT TWinControl::Font() const {
  if (font_) return font_;
  if (parent_) return parent_->Font();
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TWinControl::SetFont(HFONT font) {
  font_ = font;
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

TBounds TWinControl::AlignArea() const {
  if (!handle_) return {0, 0, design_bounds_.width, design_bounds_.height};
  RECT r;
  GetClientRect(handle_, &r);
  return {0, 0, r.right, r.bottom};
}

void TWinControl::Realign() {
  std::vector<TAlignItem> items;
  std::vector<TWinControl*> aligned;
  for (TWinControl* child : children_) {
    if (child->align_ == TAlign::alNone) continue;
    items.push_back({child->align_, child->Bounds()});
    aligned.push_back(child);
  }
  if (items.empty()) return;
  ArrangeAligned(AlignArea(), items);
  for (size_t i = 0; i < items.size(); ++i) {
    const TBounds& b = items[i].bounds;
    aligned[i]->SetBounds(b.left, b.top, b.width, b.height);
  }
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  AddTabList(list);
  return list;
}

void TWinControl::AddTabList(std::vector<TWinControl*>& list) const {
  std::vector<TWinControl*> ordered = children_;
  std::stable_sort(ordered.begin(), ordered.end(), [](const TWinControl* a, const TWinControl* b) {
    return a->tab_order_ < b->tab_order_;
  });
  for (TWinControl* child : ordered) {
    if (child->CanFocus()) list.push_back(child);
    child->AddTabList(list);
  }
}

}  // namespace ui
