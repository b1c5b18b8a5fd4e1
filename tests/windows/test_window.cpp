#include "test_window.h"

namespace vorlund::testing {
namespace {

constexpr char kClass[] = "VorlundTestWindow";
constexpr UINT kAction = WM_APP + 0x100;

}  // namespace

TestWindow::TestWindow(std::function<void()> action) : TestWindow(TestWindowOptions{}, action) {}

TestWindow::TestWindow(const TestWindowOptions& options, std::function<void()> action)
    : action_(std::move(action)) {
  static const bool registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return;
  DWORD style = 0;
  HWND parent = options.parent;
  if (options.message_only) {
    parent = HWND_MESSAGE;
  } else {
    style = options.parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
    if (options.visible) style |= WS_VISIBLE;
    if (!options.enabled) style |= WS_DISABLED;
  }
  handle_ =
      CreateWindowExA(0, kClass, options.title, style, options.left, options.top, options.width,
                      options.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TestWindow::Post() {
  pending_ = true;
  PostMessageA(handle_, kAction, 0, 0);
}

void TestWindow::PostOnce() {
  if (!pending_) Post();
}

LRESULT CALLBACK TestWindow::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == kAction && self) {
    self->pending_ = false;
    ++self->runs_;
    if (self->action_) self->action_();
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace vorlund::testing
