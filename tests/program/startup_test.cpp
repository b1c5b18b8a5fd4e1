// Vorlund.exe started as a user starts it: its window, its smallest size, and its end.
#include <gtest/gtest.h>
#include <windows.h>

#include "program_driver.h"

namespace vorlund::testing {
namespace {

TEST(Program, StartsIntoItsWindowAndEndsWithCodeZeroWhenClosed) {
  Program program;
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowTextOf(window), "Vorlund");
  // The first ticks bring the window to its smallest outer size, 832 x 665, from its stored
  // place (506, 171).
  RECT r = {};
  for (int i = 0; i < 100; ++i) {
    GetWindowRect(window, &r);
    if (r.right - r.left >= 832 && r.bottom - r.top >= 665) break;
    Sleep(20);
  }
  EXPECT_EQ(r.left, 506);
  EXPECT_EQ(r.top, 171);
  EXPECT_EQ(r.right - r.left, 832);
  EXPECT_EQ(r.bottom - r.top, 665);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(Program, CarriesItsIconResource) {
  HMODULE file = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  HRSRC group = FindResourceA(file, "MAINICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(file, group)));
  ASSERT_NE(dir, nullptr);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(dir + 4), 1);  // one picture
  EXPECT_EQ(dir[6], 32);
  EXPECT_EQ(dir[7], 32);
  EXPECT_EQ(dir[8], 16);  // colours
  FreeLibrary(file);
}

}  // namespace
}  // namespace vorlund::testing
