// Vorlund.exe saves its (empty) digest list as a user does it: Button3, a name typed into the
// open-file dialog, OK, the confirmation captioned with the program's title; a second save
// offers the name again and asks before replacing the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_driver.h"
#include "windows/dialog_driver.h"

namespace vorlund::testing {
namespace {

void Click(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

DWORD FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return MAXDWORD;
  return data.nFileSizeLow;
}

TEST(Program, SavesTheDigestListAndConfirmsWithItsTitle) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string name =
      std::string(temp) + "vorlund-program-export-" + std::to_string(GetCurrentProcessId());
  const std::string target = name + ".txt";
  DeleteFileA(target.c_str());

  Program program;
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr);
  HWND save = FindMainWindow(window).save;
  ASSERT_NE(save, nullptr);
  const DWORD pid = program.ProcessId();

  Click(save);
  HWND dialog = WaitForDialog(pid);
  ASSERT_NE(dialog, nullptr);
  Sleep(300);  // let the dialog finish laying itself out
  ASSERT_TRUE(TypeFileName(dialog, name));
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  HWND box = WaitForDialog(pid);
  ASSERT_NE(box, nullptr);
  DialogSeen seen = ReadDialog(box);
  // "文件保存成功", CR LF, the path.
  EXPECT_EQ(seen.text, "\xce\xc4\xbc\xfe\xb1\xa3\xb4\xe6\xb3\xc9\xb9\xa6\r\n" + target);
  EXPECT_EQ(seen.caption, "Vorlund");
  EXPECT_EQ(seen.button_texts, std::vector<std::string>{"OK"});
  EXPECT_EQ(seen.icon, nullptr);
  EXPECT_EQ(seen.enabled_windows, 0);
  ASSERT_TRUE(PressDialogButton(box, IDOK));
  // As a person does, the next click waits until the box is gone and the window takes input
  // again: a click that comes while the box still closes is refused as a disabled window's.
  ASSERT_TRUE(WaitUntil([&] { return !FindDialog(pid) && IsWindowEnabled(window); }));
  EXPECT_EQ(FileSize(target), 0u);

  // Again: the name is offered, the file exists, the answer is No.
  {
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "keep", 4, &written, nullptr);
    CloseHandle(file);
  }
  Click(save);
  dialog = WaitForDialog(pid);
  ASSERT_NE(dialog, nullptr);
  Sleep(300);
  HWND name_box = WaitForFileNameBox(dialog);
  ASSERT_NE(name_box, nullptr);
  const std::string offered = WindowTextOf(name_box);
  EXPECT_EQ(offered, name.substr(name.rfind('\\') + 1));
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  HWND question = WaitForDialog(pid);
  ASSERT_NE(question, nullptr);
  seen = ReadDialog(question);
  // "该文件已存在，是否需要覆盖？", captioned "警告"
  EXPECT_EQ(seen.text,
            "\xb8\xc3\xce\xc4\xbc\xfe\xd2\xd1\xb4\xe6\xd4\xda\xa3\xac\xca\xc7\xb7\xf1\xd0\xe8\xd2"
            "\xaa\xb8\xb2\xb8\xc7\xa3\xbf");
  EXPECT_EQ(seen.caption, "\xbe\xaf\xb8\xe6");
  ASSERT_TRUE(PressDialogButton(question, IDNO));
  Sleep(300);
  EXPECT_EQ(FindDialog(pid), nullptr) << "nothing follows a No";
  EXPECT_EQ(FileSize(target), 4u);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  DeleteFileA(target.c_str());
}

}  // namespace
}  // namespace vorlund::testing
