// The folder picker and the disabling of the program's windows around it, with the real shell
// picker driven from a second thread.
#include "collect/browse_folder.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <memory>
#include <set>

#include "collect_testing.h"
#include "common/texts.h"
#include "message_recorder.h"
#include "test_window.h"
#include "ui/application.h"
#include "ui/task_windows.h"

namespace vorlund {
namespace {

using collect_testing::Gbk;
using collect_testing::PickerDriver;
using collect_testing::PickerPlan;
using collect_testing::PickerSeen;
using collect_testing::TempTree;
using testing::Wide;

// Windows of the test's thread (and one of another thread).
using testing::MessageRecorder;
using testing::TestWindow;
using testing::TestWindowOptions;
const TestWindowOptions kShown = TestWindowOptions::TopLevel();
const TestWindowOptions kHidden = TestWindowOptions::TopLevel(false);
const TestWindowOptions kDisabled = TestWindowOptions::TopLevel(true, false);

class BrowseTest : public ::testing::Test {
 protected:
  // COM for the shell, and the application's hidden window.
  static void SetUpTestSuite() { testing::TestApplication(); }
};

// --- disabling the task windows -----------------------------------------------------------

TEST_F(BrowseTest, TaskWindowsDisablesVisibleEnabledTopLevelWindowsOnly) {
  TestWindow shown(kShown), other_shown(kShown), hidden(kHidden), disabled(kDisabled);
  TestWindow child(TestWindowOptions::Child(shown.Handle()));
  TestWindowOptions of_other_thread = kShown;
  of_other_thread.own_thread = true;
  TestWindow other_thread(of_other_thread);
  HWND other_thread_window = other_thread.Handle();
  ASSERT_NE(other_thread_window, nullptr);

  std::vector<HWND> windows = ui::TaskWindows();
  std::set<HWND> listed(windows.begin(), windows.end());
  EXPECT_EQ(listed, (std::set<HWND>{shown.Handle(), other_shown.Handle()}));
  auto disabled_scope = std::make_unique<ui::WindowsDisabled>(windows);
  EXPECT_FALSE(IsWindowEnabled(shown.Handle()));
  EXPECT_FALSE(IsWindowEnabled(other_shown.Handle()));
  EXPECT_TRUE(IsWindowEnabled(hidden.Handle()));
  EXPECT_TRUE(IsWindowEnabled(child.Handle()));  // not top-level: left as it is
  EXPECT_TRUE(IsWindowEnabled(other_thread_window));
  EXPECT_FALSE(IsWindowEnabled(disabled.Handle()));

  // One of them goes meanwhile: the rest are enabled again, the one disabled before stays so.
  other_shown.Destroy();
  disabled_scope.reset();
  EXPECT_TRUE(IsWindowEnabled(shown.Handle()));
  EXPECT_FALSE(IsWindowEnabled(disabled.Handle()));
  EXPECT_TRUE(IsWindowEnabled(hidden.Handle()));
  EXPECT_TRUE(IsWindowEnabled(other_thread_window));
}

TEST_F(BrowseTest, TaskWindowsAreEnabledAgainWhenAnErrorPasses) {
  TestWindow shown(kShown);
  try {
    ui::TaskWindowsDisabled disabled;
    EXPECT_FALSE(IsWindowEnabled(shown.Handle()));
    throw std::runtime_error("passing through");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(IsWindowEnabled(shown.Handle()));
}

// --- the callback -----------------------------------------------------------------------

TEST_F(BrowseTest, CallbackSelectsThePathOnceThePickerIsReady) {
  TestWindow dialog(kHidden);  // stands for the picker's dialog
  HWND window = dialog.Handle();
  ASSERT_NE(window, nullptr);
  static const char kPath[] = "C:\\windows";
  LPARAM data = reinterpret_cast<LPARAM>(kPath);
  struct Case {
    UINT message;
    LPARAM data;
    bool sends;
  } cases[] = {
      {BFFM_INITIALIZED, data, true}, {BFFM_INITIALIZED, 0, false},
      {BFFM_SELCHANGED, data, false}, {BFFM_VALIDATEFAILEDA, data, false},
      {BFFM_IUNKNOWN, data, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    // The messages the window is sent in the BFFM_ range.
    MessageRecorder recorder({window});
    EXPECT_EQ(BrowseCallback(window, c.message, 12345, c.data), 0);
    std::vector<testing::RecordedMessage> recorded;
    for (const auto& m : recorder.Messages())
      if (m.message >= WM_USER) recorded.push_back(m);
    if (c.sends) {
      ASSERT_EQ(recorded.size(), 1u);
      EXPECT_EQ(recorded[0].message, 1126u);  // BFFM_SETSELECTIONA
      EXPECT_EQ(recorded[0].wparam, 1u);      // the data is a path text
      EXPECT_EQ(recorded[0].lparam, data);
    } else {
      EXPECT_TRUE(recorded.empty());
    }
  }
}

// --- the picker -------------------------------------------------------------------------

// The picker's tree item for a folder shows the folder's own name.
std::string LastName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

TEST_F(BrowseTest, ConfirmedPickGivesThePathWithOtherWindowsDisabledMeanwhile) {
  TempTree tree("browse-pick");
  // "乗" (0x81 0x5C) ends in the byte of "\": the picked path must come back whole.
  std::string folder_name = Gbk("乗 目录");
  tree.Folder(folder_name);
  std::string folder = tree.Path(folder_name);
  TestWindow owner(kShown), other(kShown), hidden(kHidden), disabled(kDisabled);
  bool owner_enabled = true, other_enabled = true, hidden_enabled = false, disabled_enabled = true;

  PickerPlan plan;
  plan.select = folder;
  plan.select_item = folder_name;
  plan.while_open = [&](HWND dialog) {
    owner_enabled = IsWindowEnabled(owner.Handle());
    other_enabled = IsWindowEnabled(other.Handle());
    hidden_enabled = IsWindowEnabled(hidden.Handle());
    disabled_enabled = IsWindowEnabled(disabled.Handle());
    EXPECT_TRUE(IsWindowEnabled(dialog));
  };
  PickerDriver driver(plan);
  std::string path;
  bool picked =
      BrowseForFolder(texts::kPickerTitle, L"", path, owner.Handle(), BIF_RETURNONLYFSDIRS);
  const PickerSeen& seen = driver.Join();
  EXPECT_EQ(seen.failure, "");
  EXPECT_TRUE(picked);
  EXPECT_EQ(path, folder);
  EXPECT_EQ(seen.owner, owner.Handle());
  EXPECT_NE(std::find(seen.statics.begin(), seen.statics.end(), texts::kPickerTitle),
            seen.statics.end());
  EXPECT_FALSE(owner_enabled);
  EXPECT_FALSE(other_enabled);
  EXPECT_TRUE(hidden_enabled);
  EXPECT_FALSE(disabled_enabled);
  // Afterwards: enabled again, except the one that was disabled before.
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
  EXPECT_FALSE(IsWindowEnabled(disabled.Handle()));
}

TEST_F(BrowseTest, CancelledPickKeepsAnExistingEntryPathPreselected) {
  TempTree tree("browse-cancel");
  std::string folder_name = "entry " + Gbk("文件夹");
  tree.Folder(folder_name);
  std::string folder = tree.Path(folder_name);
  TestWindow owner(kShown);
  PickerPlan plan;
  plan.select_item = folder_name;  // the callback's preselection, nothing sent by the driver
  plan.press = IDCANCEL;
  PickerDriver driver(plan);
  std::string path = folder;
  EXPECT_FALSE(BrowseForFolder("t", L"", path, owner.Handle(), BIF_RETURNONLYFSDIRS));
  const PickerSeen& seen = driver.Join();
  EXPECT_EQ(seen.failure, "");
  EXPECT_TRUE(seen.appeared);
  EXPECT_EQ(path, folder);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(BrowseTest, CancelledPickEmptiesAnEntryPathThatIsNoFolder) {
  TempTree tree("browse-nofolder");
  tree.File("file.txt");
  TestWindow owner(kShown);
  for (const std::string& entry : {tree.Path("no such folder"), tree.Path("file.txt")}) {
    SCOPED_TRACE(entry);
    PickerPlan plan;
    plan.press = IDCANCEL;
    PickerDriver driver(plan);
    std::string path = entry;
    EXPECT_FALSE(BrowseForFolder("t", L"", path, owner.Handle(), BIF_RETURNONLYFSDIRS));
    EXPECT_TRUE(driver.Join().appeared);
    EXPECT_EQ(path, "");
  }
}

TEST_F(BrowseTest, RootTextRootsTheTreeAndAnUnparsableOneFallsBackToTheDesktop) {
  TempTree tree("browse-root");
  tree.Folder("inner");
  TestWindow owner(kShown);
  auto root_item = [&](const std::wstring& root, std::string& path) {
    PickerPlan plan;
    plan.press = IDCANCEL;
    PickerDriver driver(plan);
    path.clear();
    EXPECT_FALSE(BrowseForFolder("t", root, path, owner.Handle(), BIF_RETURNONLYFSDIRS));
    return driver.Join().root_item;
  };
  std::string path;
  std::string desktop = root_item(L"", path);
  EXPECT_FALSE(desktop.empty());
  EXPECT_EQ(root_item(Wide(tree.Root()), path), LastName(tree.Root()));
  EXPECT_EQ(root_item(L"Q:\\no such\\folder <>|", path), desktop);

  // A pick below a root gives the full path all the same.
  PickerPlan plan;
  plan.select = tree.Path("inner");
  plan.select_item = "inner";
  PickerDriver driver(plan);
  EXPECT_TRUE(BrowseForFolder("t", Wide(tree.Root()), path, owner.Handle(), 0));
  EXPECT_EQ(driver.Join().failure, "");
  EXPECT_EQ(path, tree.Path("inner"));
}

TEST_F(BrowseTest, AConfirmedItemWithoutAFileSystemPathGivesNoFolder) {
  // The computer's item has no file-system path; without BIF_RETURNONLYFSDIRS it can be
  // confirmed all the same.
  LPITEMIDLIST computer = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
  SHFILEINFOA info = {};
  SHGetFileInfoA(reinterpret_cast<const char*>(computer), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME);
  CoTaskMemFree(computer);
  std::string name = info.szDisplayName;
  ASSERT_FALSE(name.empty());
  TempTree tree("browse-virtual");
  TestWindow owner(kShown);
  for (const std::string& entry : {tree.Root(), std::string()}) {
    SCOPED_TRACE("entry '" + entry + "'");
    PickerPlan plan;
    plan.select_root_child = name;
    plan.select_item = name;
    PickerDriver driver(plan);
    std::string path = entry;
    EXPECT_FALSE(BrowseForFolder("t", L"", path, owner.Handle(), 0));
    EXPECT_EQ(driver.Join().failure, "");
    EXPECT_EQ(path, entry) << "not the item's display name";
  }
}

// An allocator that hands every call on to the shell's own and counts what passes.
class CountingMalloc : public IMalloc {
 public:
  explicit CountingMalloc(IMalloc* real, bool fail_alloc = false)
      : real_(real), fail_alloc_(fail_alloc) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (id == IID_IUnknown || id == IID_IMalloc) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
  void* STDMETHODCALLTYPE Alloc(SIZE_T size) override {
    sizes.push_back(size);
    if (fail_alloc_) return nullptr;
    void* block = real_->Alloc(size);
    allocated.push_back(block);
    return block;
  }
  void* STDMETHODCALLTYPE Realloc(void* block, SIZE_T size) override {
    return real_->Realloc(block, size);
  }
  void STDMETHODCALLTYPE Free(void* block) override {
    freed.push_back(block);
    real_->Free(block);
  }
  SIZE_T STDMETHODCALLTYPE GetSize(void* block) override { return real_->GetSize(block); }
  int STDMETHODCALLTYPE DidAlloc(void* block) override { return real_->DidAlloc(block); }
  void STDMETHODCALLTYPE HeapMinimize() override { real_->HeapMinimize(); }

  long references = 1;
  std::vector<SIZE_T> sizes;
  std::vector<void*> allocated;
  std::vector<void*> freed;

 private:
  IMalloc* real_;
  bool fail_alloc_;
};

class BrowseAllocatorTest : public BrowseTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(SHGetMalloc(&real_))); }
  void TearDown() override { real_->Release(); }
  IMalloc* real_ = nullptr;
};

TEST_F(BrowseAllocatorTest, EveryBlockAndItemListIsGivenBackOnEveryWayOut) {
  TempTree tree("browse-alloc");
  tree.Folder("inner");
  TestWindow owner(kShown);
  struct Case {
    bool with_root;
    int press;
    size_t frees;  // the name buffer, the root list, the chosen list
  } cases[] = {{true, IDOK, 3}, {true, IDCANCEL, 2}, {false, IDOK, 2}, {false, IDCANCEL, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.with_root ? "with a root, " : "no root, ")
                                      << (c.press == IDOK ? "confirmed" : "cancelled"));
    CountingMalloc counting(real_);
    PickerPlan plan;
    plan.select = tree.Path("inner");
    plan.select_item = "inner";
    plan.press = c.press;
    PickerDriver driver(plan);
    std::string path;
    bool picked = detail::BrowseForFolderWith(&counting, "t", c.with_root ? Wide(tree.Root()) : L"",
                                              path, owner.Handle(), 0);
    EXPECT_EQ(driver.Join().failure, "");
    EXPECT_EQ(picked, c.press == IDOK);
    EXPECT_EQ(path, c.press == IDOK ? tree.Path("inner") : "");
    ASSERT_EQ(counting.sizes, std::vector<SIZE_T>{260}) << "one name buffer of 260 bytes";
    EXPECT_EQ(counting.freed.size(), c.frees);
    EXPECT_EQ(std::count(counting.freed.begin(), counting.freed.end(), counting.allocated[0]), 1);
    EXPECT_EQ(std::set<void*>(counting.freed.begin(), counting.freed.end()).size(),
              counting.freed.size())
        << "a block given back twice";
    EXPECT_EQ(counting.references, 1) << "references taken and not released";
  }
}

TEST_F(BrowseAllocatorTest, NoNameBufferOrNoAllocatorShowsNoPicker) {
  TempTree tree("browse-noalloc");
  TestWindow owner(kShown);
  for (bool have_allocator : {true, false}) {
    for (const std::string& entry : {tree.Root(), tree.Path("missing")}) {
      SCOPED_TRACE(::testing::Message() << (have_allocator ? "no name buffer, " : "no allocator, ")
                                        << "entry " << entry);
      CountingMalloc failing(real_, true);
      PickerPlan plan;
      plan.press = IDCANCEL;
      PickerDriver driver(plan);
      std::string path = entry;
      bool picked = detail::BrowseForFolderWith(have_allocator ? &failing : nullptr, "t", L"", path,
                                                owner.Handle(), 0);
      EXPECT_FALSE(picked);
      EXPECT_FALSE(driver.Join().appeared);
      EXPECT_EQ(path, entry == tree.Root() ? entry : "");
      EXPECT_TRUE(failing.freed.empty());
      EXPECT_EQ(failing.references, 1);
      EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
  }
}

}  // namespace
}  // namespace vorlund
