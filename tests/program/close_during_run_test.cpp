// Closing Vorlund.exe while it digests the listed files, by the main window's close box or
// through its task-bar entry: the run goes on to its last row with the window shown, then the
// program ends with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_driver.h"
#include "windows/collect_testing.h"

namespace vorlund::testing {
namespace {

TEST(Program, ClosedWhileDigestingEndsWithCodeZeroAfterTheLastRowEachWay) {
  // 16 k + 1 files: the run's last pump comes after its last row, so the last count the
  // program answers is the whole list.
  const int kFiles = 16 * 60 + 1;
  collect_testing::TempTree tree("close-run");
  const std::string& root = tree.Root();
  const std::string block(20000, 'x');
  for (int f = 0; f < kFiles; ++f) {
    HANDLE file = CreateFileA((root + "\\f" + std::to_string(f) + ".txt").c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    CloseHandle(file);
  }

  // The ways to close: the main window's close box, the task-bar entry's Close window, and
  // ending the task, which closes the entry (the application's window, the main one's owner).
  struct Case {
    const char* way;
    bool to_entry;
    UINT message;
    WPARAM wparam;
  } cases[] = {
      {"the close box", false, WM_CLOSE, 0},
      {"the entry's Close window", true, WM_SYSCOMMAND, SC_CLOSE},
      {"ending the task", true, WM_CLOSE, 0},
  };
  bool made_large = false;
  for (const Case& way : cases) {
    SCOPED_TRACE(way.way);
    Program program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow();
    ASSERT_NE(window, nullptr);
    MainWindow c = FindMainWindow(window);
    ASSERT_TRUE(c.path_box && c.file_list && c.digest_list && c.start);
    HWND entry = GetWindow(window, GW_OWNER);
    ASSERT_NE(entry, nullptr);
    SendMessageA(c.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
    WaitUntil([&] { return RowCount(c.file_list) == kFiles; }, 10000, 50);
    ASSERT_EQ(RowCount(c.file_list), kFiles);

    // The last row's file made large: while the run digests it, a count is surely waiting for
    // the pump that follows it, even when this process is slow to send its next one.
    if (!made_large) {
      wchar_t last_row[MAX_PATH] = {};
      ASSERT_GT(
          SendMessageW(c.file_list, LB_GETTEXT, kFiles - 1, reinterpret_cast<LPARAM>(last_row)), 0);
      HANDLE large =
          CreateFileW(last_row, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
      ASSERT_NE(large, INVALID_HANDLE_VALUE);
      const std::string chunk(1 << 20, 'y');
      for (int i = 0; i < 128; ++i) {
        DWORD written = 0;
        WriteFile(large, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr);
      }
      CloseHandle(large);
      made_large = true;
    }

    // The click starts the run; the close request waits in the queue for its first pump.
    PostMessageA(c.start, BM_CLICK, 0, 0);
    PostMessageA(way.to_entry ? entry : window, way.message, way.wparam, 0);

    // Each count is answered at one of the run's pumps; one is always waiting for the next.
    LRESULT last = 0;
    int increases = 0;
    bool shown_throughout = true;
    while (IsWindow(window)) {
      const int rows = RowCount(c.digest_list);
      if (rows < 0) continue;
      if (rows > last) ++increases;
      last = rows;
      if (IsWindow(window) && !IsWindowVisible(window)) shown_throughout = false;
    }
    EXPECT_GT(increases, 1) << "the run went on after the close request";
    EXPECT_EQ(last, kFiles) << "the run did not reach its last row";
    EXPECT_TRUE(shown_throughout);
    EXPECT_EQ(program.WaitForExit(), 0u);
  }
}

}  // namespace
}  // namespace vorlund::testing
