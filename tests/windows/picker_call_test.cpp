// What the choose-folder button hands the shell's folder picker, seen at the picker's own entry.
#include <gtest/gtest.h>
#include <windows.h>
//
#include <shlobj.h>

#include <string>

#include "form_fixture.h"
#include "tests/support/import_slot.h"

extern "C" LPITEMIDLIST(WINAPI* BrowseSlot)(LPBROWSEINFOA)
    VORLUND_IMPORT_SLOT(SHBrowseForFolderA, 4);

namespace vorlund::testing {
namespace {

// While it lives, the picker is not shown: its call is recorded and answered as a Cancel.
class PickerCall {
 public:
  PickerCall() : replaced_(BrowseSlot, Record) { calls_ = 0; }
  static inline int calls_ = 0;
  static inline BROWSEINFOA info_ = {};
  static inline std::string title_;

 private:
  static LPITEMIDLIST WINAPI Record(LPBROWSEINFOA info) {
    ++calls_;
    info_ = *info;
    title_ = info->lpszTitle ? info->lpszTitle : "";
    return nullptr;
  }
  ReplacedImport<decltype(BrowseSlot)> replaced_;
};

using PickerCallTest = FormTest;

TEST_F(PickerCallTest, Button2AsksForFileSystemFoldersOnlyWithItsTitleAndOwner) {
  PickerCall call;
  SendMessageA(Form1->Button2->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(PickerCall::calls_, 1);
  EXPECT_EQ(PickerCall::info_.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(PickerCall::info_.ulFlags, 1u);
  EXPECT_EQ(PickerCall::info_.hwndOwner, Form1->Handle());
  EXPECT_EQ(PickerCall::info_.pidlRoot, nullptr) << "the picker starts at the desktop";
  EXPECT_EQ(PickerCall::title_, Gbk("请选择你要处理的文件夹"));
  // A cancelled picker lists nothing.
  EXPECT_EQ(Form1->FileListBox1->Items().Count(), 0);
}

}  // namespace
}  // namespace vorlund::testing
