#include "test_window.h"

namespace vorlund::testing {
namespace {

constexpr char kClass[] = "VorlundTestWindow";
constexpr UINT kAction = WM_APP + 0x100;
constexpr UINT kDestroy = WM_APP + 0x101;  // to a window of its own thread: destroy and end

}  // namespace

TestWindow::TestWindow(std::function<void()> action) : TestWindow(TestWindowOptions{}, action) {}

TestWindow::TestWindow(const TestWindowOptions& options, std::function<void()> action)
    : options_(options), action_(std::move(action)) {
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
  if (!options_.own_thread) {
    Create();
    return;
  }
  created_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
  if (thread_) WaitForSingleObject(created_, 10000);
}

void TestWindow::Create() {
  DWORD style = 0;
  HWND parent = options_.parent;
  if (options_.message_only) {
    parent = HWND_MESSAGE;
  } else {
    style = options_.parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
    if (options_.visible) style |= WS_VISIBLE;
    if (!options_.enabled) style |= WS_DISABLED;
  }
  handle_ =
      CreateWindowExA(0, kClass, options_.title, style, options_.left, options_.top, options_.width,
                      options_.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

DWORD WINAPI TestWindow::Serve(void* data) {
  auto* self = static_cast<TestWindow*>(data);
  self->Create();
  const bool made = self->handle_ != nullptr;
  SetEvent(self->created_);
  if (!made) return 0;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

TestWindow::~TestWindow() {
  Destroy();
  if (created_) CloseHandle(created_);
}

void TestWindow::Destroy() {
  if (thread_) {
    // A window is destroyed by its own thread, which then ends.
    if (handle_) PostMessageA(handle_, kDestroy, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    thread_ = nullptr;
  } else if (handle_) {
    DestroyWindow(handle_);
  }
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
  if (message == kDestroy) {
    DestroyWindow(window);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace vorlund::testing
