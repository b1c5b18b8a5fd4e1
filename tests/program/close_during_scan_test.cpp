// Closing Vorlund.exe while it lists a folder: the listing runs to its end with the window
// shown, then the program ends with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_driver.h"

namespace vorlund::testing {
namespace {

struct Controls {
  HWND path_box = nullptr;
  HWND sub_folders = nullptr;
  HWND file_list = nullptr;
};

BOOL CALLBACK NoteControl(HWND w, LPARAM p) {
  auto* c = reinterpret_cast<Controls*>(p);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  LONG style = GetWindowLongA(w, GWL_STYLE);
  if (_stricmp(cls, "Edit") == 0 && !(style & ES_READONLY)) c->path_box = w;
  if (_stricmp(cls, "Button") == 0 && (style & 0xF) == BS_AUTOCHECKBOX) c->sub_folders = w;
  // The file list lies on the window itself; the digest list inside a panel.
  if (_stricmp(cls, "ListBox") == 0 && GetParent(w) == GetAncestor(w, GA_ROOT)) c->file_list = w;
  return TRUE;
}

Controls FindControls(HWND form) {
  Controls c;
  EnumChildWindows(form, NoteControl, reinterpret_cast<LPARAM>(&c));
  return c;
}

// A tree of folders, each with a few files, under the temporary folder.
std::string MakeTree(int folders, int files_per_folder) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string root = std::string(temp) + "vorlund-close-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d < folders; ++d) {
    std::string dir = root + "\\d" + std::to_string(d);
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int f = 0; f < files_per_folder; ++f) {
      std::string file = dir + "\\f" + std::to_string(f) + ".txt";
      CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
  }
  return root;
}

void RemoveTree(const std::string& root, int folders, int files_per_folder) {
  for (int d = 0; d < folders; ++d) {
    std::string dir = root + "\\d" + std::to_string(d);
    for (int f = 0; f < files_per_folder; ++f)
      DeleteFileA((dir + "\\f" + std::to_string(f) + ".txt").c_str());
    RemoveDirectoryA(dir.c_str());
  }
  RemoveDirectoryA(root.c_str());
}

TEST(Program, ClosedWhileListingEndsWithCodeZeroAfterTheListing) {
  const int kFolders = 150, kFiles = 4;
  const std::string root = MakeTree(kFolders, kFiles);
  Program program;
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(window, nullptr);
  Controls c = FindControls(window);
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
    Sleep(200);
  }
  EXPECT_GT(increases, 1) << "the listing went on after the close request";
  EXPECT_EQ(program.WaitForExit(), 0u);
  RemoveTree(root, kFolders, kFiles);
}

}  // namespace
}  // namespace vorlund::testing
