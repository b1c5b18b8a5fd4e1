// The program's task-bar entry, as a task bar finds it: the one visible top-level window of the
// program that no window owns, captioned with the application title; activating it, as a click
// on the entry does, brings the main window back, and closing it ends the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "program_driver.h"
#include "windows/dialog_driver.h"

namespace vorlund::testing {
namespace {

// The windows a task bar lists for a process: visible, top-level, owned by no window, and not
// tool windows (or marked as application windows).
struct EntrySearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK AddEntry(HWND window, LPARAM lparam) {
  auto* s = reinterpret_cast<EntrySearch*>(lparam);
  DWORD owner_process = 0;
  GetWindowThreadProcessId(window, &owner_process);
  const LONG_PTR ex_style = GetWindowLongPtrA(window, GWL_EXSTYLE);
  const bool listed = (ex_style & WS_EX_APPWINDOW) ||
                      (!GetWindow(window, GW_OWNER) && !(ex_style & WS_EX_TOOLWINDOW));
  if (owner_process == s->process && IsWindowVisible(window) && listed) s->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TaskBarEntries(DWORD process) {
  EntrySearch search{process, {}};
  EnumWindows(AddEntry, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Program, HasOneTaskBarEntryWithTheTitleThatBringsTheWindowBack) {
  Program program;
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr);
  std::vector<HWND> entries = TaskBarEntries(program.ProcessId());
  ASSERT_EQ(entries.size(), 1u);
  HWND entry = entries.front();
  EXPECT_EQ(WindowTextOf(entry), "Vorlund");  // the title of Vorlund.exe
  EXPECT_EQ(GetWindow(window, GW_OWNER), entry) << "the main window has no entry of its own";

  // Minimized, then the entry activated as a task bar does on a click.
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }));
  EXPECT_EQ(TaskBarEntries(program.ProcessId()), entries) << "still the one entry";
  SetForegroundWindow(entry);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }));

  // A task bar minimizes and restores through its entry's system commands.
  PostMessageA(entry, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }));
  PostMessageA(entry, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// The ways a task bar and a task list close the program through its entry: each ends it as the
// main window's close box does, with exit code 0.
TEST(Program, ClosedThroughItsTaskBarEntryEndsWithCodeZero) {
  struct Case {
    const char* way;
    UINT message;
    WPARAM wparam;
  } cases[] = {
      {"the entry's Close window", WM_SYSCOMMAND, SC_CLOSE},
      {"ending the task", WM_CLOSE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.way);
    Program program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow();
    ASSERT_NE(window, nullptr);
    HWND entry = GetWindow(window, GW_OWNER);
    ASSERT_NE(entry, nullptr);
    PostMessageA(entry, c.message, c.wparam, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
  }
}

}  // namespace
}  // namespace vorlund::testing
