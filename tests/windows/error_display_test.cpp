// Errors that escape event handlers and ticks reach the default error display, and the message
// loop goes on.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/text_rules.h"
#include "form_fixture.h"

// The next allocation of the window's thread fails once this names it: memory that runs out
// while the error display makes its box.
static std::atomic<DWORD> fail_next_new_on_thread{0};

void* operator new(size_t size) {
  DWORD thread = GetCurrentThreadId();
  if (fail_next_new_on_thread.compare_exchange_strong(thread, 0)) throw std::bad_alloc();
  if (void* p = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace vorlund::testing {
namespace {

// The title of this test program by the application title rule.
const char kTitle[] = "windows_error_display_test";

class ErrorDisplay : public FormTest {};

TEST_F(ErrorDisplay, TitleComesFromTheProgramName) {
  EXPECT_EQ(ui::Application->Title(), kTitle);
  EXPECT_EQ(WindowTextOf(ui::Application->Handle()), kTitle);
}

TEST_F(ErrorDisplay, HandlerErrorShowsInAnErrorBoxAndTheLoopGoesOn) {
  struct Case {
    std::string thrown;
    std::string shown;
  } cases[] = {
      {"Stream write error", "Stream write error."},
      {"already ends.", "already ends."},
      {"", ""},
      {Gbk("文件保存成功"), Gbk("文件保存成功") + "."},
      {"ends in a blank ", "ends in a blank "},
  };
  int clicks = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("thrown '" + c.thrown + "'");
    Form1->Button1->OnClick = [&](ui::TObject*) {
      ++clicks;
      throw EWriteError(c.thrown);
    };
    MessageBoxWatcher watcher(IDOK);
    // A real click: the button's own messages, then the loop dispatches them.
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return watcher.Answered(); }));
    Pump(50);
    EXPECT_EQ(watcher.Seen().text, c.shown);
    EXPECT_EQ(watcher.Seen().caption, kTitle);
    EXPECT_EQ(watcher.Seen().icon, LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(watcher.Seen().buttons, 1);
    EXPECT_EQ(watcher.Count(), 1);
    EXPECT_EQ(watcher.Seen().enabled_windows, 0) << "the window is disabled under the box";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle())) << "and enabled again after it";
  }
  EXPECT_EQ(clicks, 5);
  // The window still answers.
  Form1->Edit1->SetText("still alive");
  EXPECT_EQ(Form1->Edit1->Text(), "still alive");
}

TEST_F(ErrorDisplay, MemoryThatRanOutShowsTheOneOutOfMemoryText) {
  // The platform's own error, and memory that ran out in the language's strings and lists.
  const std::function<void()> ways[] = {
      [] { throw EOutOfMemory(); },
      [] { throw std::bad_alloc(); },
      // As long as the language allows, which no address space of either width can hold (a
      // fixed share of the address space, such as 2^28 bytes, is there to be had on 32 bits).
      [] {
        volatile size_t huge = std::string().max_size();
        std::string text(huge, 'x');
      },
      [] {
        std::vector<std::string> rows;
        rows.reserve(rows.max_size());
      },
  };
  const std::string expected = ErrorDisplayText(EOutOfMemory().what());
  ASSERT_NE(expected, "");
  for (size_t i = 0; i < std::size(ways); ++i) {
    SCOPED_TRACE(i);
    Form1->Button1->OnClick = [&](ui::TObject*) { ways[i](); };
    MessageBoxWatcher watcher(IDOK);
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return watcher.Answered(); }));
    EXPECT_EQ(watcher.Seen().text, expected);
    EXPECT_EQ(watcher.Seen().icon, LoadIconA(nullptr, IDI_ERROR));
  }
}

// What the display shows when making the box fails too, or the error is none of the language's:
// nothing escapes into the system, and the loop goes on.
TEST_F(ErrorDisplay, AnErrorWhileShowingAnErrorStillShowsAndStopsThere) {
  const std::string out_of_memory = ErrorDisplayText(EOutOfMemory().what());
  struct Case {
    const char* what;
    std::function<void()> raise;
    std::string shown;
  } cases[] = {
      {"memory runs out while the box is made",
       [] {
         std::runtime_error error("Stream write error");  // copied without memory
         fail_next_new_on_thread = GetCurrentThreadId();
         throw error;
       },
       out_of_memory},
      {"an error that is no std::exception", [] { throw 42; }, "Unknown error."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form1->Button1->OnClick = [&](ui::TObject*) { c.raise(); };
    MessageBoxWatcher watcher(IDOK);
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Form1->Button1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return watcher.Answered(); }));
    fail_next_new_on_thread = 0;
    EXPECT_EQ(watcher.Seen().text, c.shown);
    EXPECT_EQ(watcher.Seen().caption, kTitle);
    EXPECT_EQ(watcher.Seen().icon, LoadIconA(nullptr, IDI_ERROR));
  }
  Form1->Edit1->SetText("still alive");
  EXPECT_EQ(Form1->Edit1->Text(), "still alive");
}

TEST_F(ErrorDisplay, TickErrorShowsAndTheTimerKeepsTicking) {
  int ticks = 0;
  Form1->tmr1->OnTimer = [&](ui::TObject*) {
    if (++ticks == 1) throw EListError(FormatIntError(kListIndexError, 7));
  };
  EnableTicks();
  MessageBoxWatcher watcher(IDOK);
  ASSERT_TRUE(PumpUntil([&] { return watcher.Answered(); }));
  // ')' sorts below '.': nothing is added.
  EXPECT_EQ(watcher.Seen().text, "List index out of bounds (7)");
  int after = ticks;
  ASSERT_TRUE(PumpUntil([&] { return ticks > after + 3; }));
  EXPECT_EQ(watcher.Count(), 1);
}

TEST(NoTimers, FormCreateShowsTheErrorAndTheWindowRunsWithoutTicks) {
  TestApplication();
  {
    MessageBoxWatcher watcher(IDOK);
    {
      RefuseTimers refuse;
      ui::Application->CreateForm(Form1);
    }
    ASSERT_TRUE(watcher.Answered());
    EXPECT_EQ(watcher.Seen().text, "Not enough timers available.");
  }
  ASSERT_NE(Form1, nullptr);
  EXPECT_FALSE(Form1->tmr1->Enabled());
  Form1->Show(SW_SHOWNORMAL);
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  // No ticks: the window keeps a size below the smallest one.
  RECT before;
  GetWindowRect(Form1->Handle(), &before);
  SetWindowPos(Form1->Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  Pump(200);
  RECT after;
  GetWindowRect(Form1->Handle(), &after);
  EXPECT_EQ(after.right - after.left, 700);
  ui::Application->DestroyForms();
}

}  // namespace
}  // namespace vorlund::testing
