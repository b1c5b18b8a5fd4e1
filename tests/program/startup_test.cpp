// Vorlund.exe started as a user starts it: its window, its smallest size, and its end.
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

#include <string>

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
  WaitUntil(
      [&] {
        GetWindowRect(window, &r);
        return r.right - r.left >= 832 && r.bottom - r.top >= 665;
      },
      2000);
  EXPECT_EQ(r.left, 506);
  EXPECT_EQ(r.top, 171);
  EXPECT_EQ(r.right - r.left, 832);
  EXPECT_EQ(r.bottom - r.top, 665);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

// What a process runs, read from outside it: the image's path, the machine type and optional
// header kind in the PE header of its main module (read from its memory), and whether the system
// runs it under WoW64.
struct RunningImage {
  std::string path;
  WORD machine = 0;
  WORD magic = 0;
  BOOL wow64 = TRUE;
};

RunningImage ReadRunningImage(HANDLE process) {
  RunningImage image;
  char path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (QueryFullProcessImageNameA(process, 0, path, &length)) image.path = path;
  IsWow64Process(process, &image.wow64);
  HMODULE main_module = nullptr;
  DWORD needed = 0;
  if (!EnumProcessModules(process, &main_module, sizeof main_module, &needed)) return image;
  IMAGE_DOS_HEADER dos = {};
  IMAGE_NT_HEADERS headers = {};
  const BYTE* base = reinterpret_cast<const BYTE*>(main_module);
  if (ReadProcessMemory(process, base, &dos, sizeof dos, nullptr) &&
      ReadProcessMemory(process, base + dos.e_lfanew, &headers, sizeof headers, nullptr)) {
    image.machine = headers.FileHeader.Machine;
    image.magic = headers.OptionalHeader.Magic;
  }
  return image;
}

// The whole-program tests drive the build's own Vorlund.exe, of the build's width: in the 32-bit
// build the shipped PE32 program, on a 32-bit system (no WoW64), like this test program itself.
TEST(Program, RunsAsTheBuildsOwnWidthOnASystemOfThatWidth) {
#if defined(_WIN64)
  const WORD machine = IMAGE_FILE_MACHINE_AMD64, magic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
  const WORD machine = IMAGE_FILE_MACHINE_I386, magic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif
  Program program;
  ASSERT_TRUE(program.Started());
  ASSERT_NE(program.WaitForWindow(), nullptr);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const struct {
    const char* who;
    HANDLE process;
    std::string path;
  } cases[] = {
      {"Vorlund.exe", program.Process(), ProgramPath()},
      {"this test program", GetCurrentProcess(), self},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.who);
    const RunningImage image = ReadRunningImage(c.process);
    EXPECT_EQ(_stricmp(image.path.c_str(), c.path.c_str()), 0) << image.path << " vs " << c.path;
    EXPECT_EQ(image.machine, machine);
    EXPECT_EQ(image.magic, magic);
    EXPECT_FALSE(image.wow64);
  }
  PostMessageA(program.WaitForWindow(), WM_CLOSE, 0, 0);
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
