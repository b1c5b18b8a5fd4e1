// Closing Vorlund.exe while it lists a folder: the listing runs to its end with the window
// shown, then the program ends with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_driver.h"
#include "windows/collect_testing.h"

namespace vorlund::testing {
namespace {

TEST(Program, ClosedWhileListingEndsWithCodeZeroAfterTheListing) {
  // Enough folders (one pump each) that the listing lasts a good many polls below.
  const int kFolders = 800, kFiles = 8;
  collect_testing::TempTree tree("close");
  for (int d = 0; d < kFolders; ++d) {
    tree.Folder("d" + std::to_string(d));
    for (int f = 0; f < kFiles; ++f)
      tree.File("d" + std::to_string(d) + "\\f" + std::to_string(f) + ".txt");
  }
  const std::string& root = tree.Root();
  Program program;
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr);
  MainWindow c = FindMainWindow(window);
  ASSERT_TRUE(c.path_box && c.sub_folders && c.file_list);
  SendMessageA(c.sub_folders, BM_CLICK, 0, 0);
  ASSERT_EQ(SendMessageA(c.sub_folders, BM_GETCHECK, 0, 0), BST_CHECKED);

  // All but the last character first (names no folder: nothing listed), then the last one
  // typed: its listing runs, pumping once per folder, and the close request comes meanwhile.
  const std::string almost = root.substr(0, root.size() - 1);
  SendMessageA(c.path_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(almost.c_str()));
  SendMessageA(c.path_box, EM_SETSEL, almost.size(), almost.size());
  PostMessageA(c.path_box, WM_CHAR, static_cast<unsigned char>(root.back()), 1);
  PostMessageA(window, WM_CLOSE, 0, 0);

  // The window stays while the listing grows, until the listing is whole.
  LRESULT last = 0;
  int increases = 0;
  while (IsWindow(window)) {
    LRESULT rows =
        SendMessageTimeoutA(c.file_list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr)
            ? SendMessageA(c.file_list, LB_GETCOUNT, 0, 0)
            : last;
    if (rows > last) ++increases;
    if (rows >= 0 && IsWindow(window)) last = rows;
    Sleep(5);
  }
  EXPECT_GT(increases, 1) << "the listing went on after the close request";
  EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
}  // namespace vorlund::testing
