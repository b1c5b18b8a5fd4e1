// Windows of the test itself: a message window whose posted messages run an action in whatever
// pump takes them (as a handler of the program would run), or a top-level window standing for
// another window of the program or of another program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vorlund::testing {

struct TestWindowOptions {
  bool message_only = true;  // a window of HWND_MESSAGE, never seen
  bool visible = false;      // shown (top-level windows)
  bool enabled = true;
  HWND parent = nullptr;  // a child of this window, or null for a top-level window
  const char* title = "test";
  int left = 20, top = 20, width = 200, height = 100;
  // Made, served and destroyed by a thread of its own (a window of another thread of the
  // program); its action then runs on that thread.
  bool own_thread = false;

  // A top-level window of the test, shown or hidden, enabled or disabled.
  static TestWindowOptions TopLevel(bool visible = true, bool enabled = true) {
    TestWindowOptions options;
    options.message_only = false;
    options.visible = visible;
    options.enabled = enabled;
    return options;
  }
  // A shown top-level window of the test with a title, at a place of the screen.
  static TestWindowOptions TopLevelAt(const char* title, int left, int top, int width, int height) {
    TestWindowOptions options = TopLevel();
    options.title = title;
    options.left = left;
    options.top = top;
    options.width = width;
    options.height = height;
    return options;
  }
  // A shown child window of parent.
  static TestWindowOptions Child(HWND parent) {
    TestWindowOptions options = TopLevel();
    options.parent = parent;
    return options;
  }
};

class TestWindow {
 public:
  // A message window that runs action for each message Post() sent it.
  explicit TestWindow(std::function<void()> action);
  explicit TestWindow(const TestWindowOptions& options, std::function<void()> action = {});
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return handle_; }
  // Posts one message; the action runs when a message loop takes it (with own_thread, the
  // window's own loop).
  void Post();
  // Posts one unless one is waiting already.
  void PostOnce();
  // How often the action has run.
  int Runs() const { return runs_; }
  void Destroy();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static DWORD WINAPI Serve(void* self);
  void Create();
  TestWindowOptions options_;
  std::function<void()> action_;
  HWND handle_ = nullptr;
  HANDLE thread_ = nullptr;
  HANDLE created_ = nullptr;
  bool pending_ = false;
  int runs_ = 0;
};

}  // namespace vorlund::testing
