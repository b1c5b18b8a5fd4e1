#include "digest/file_digest.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/errors.h"
#include "system_oracles.h"
#include "tests/support/import_slot.h"

// The file digest takes its buffers from the heap with HeapAlloc and releases them with
// HeapFree. This program replaces both in its import slots, to watch the buffers: which are
// taken and released, and a hook that runs before each is taken and may refuse it or act on the
// file meanwhile.
extern "C" LPVOID(WINAPI* HeapAllocSlot)(HANDLE, DWORD, SIZE_T) VORLUND_IMPORT_SLOT(HeapAlloc, 12);
extern "C" BOOL(WINAPI* HeapFreeSlot)(HANDLE, DWORD, LPVOID) VORLUND_IMPORT_SLOT(HeapFree, 12);

namespace heap_watch {
std::function<bool(size_t size)> before_take;  // false: the heap refuses the block
std::vector<void*> live;                       // taken and not yet released
decltype(HeapAllocSlot) take = nullptr;
decltype(HeapFreeSlot) release = nullptr;

LPVOID WINAPI Take(HANDLE heap, DWORD flags, SIZE_T size) {
  if (before_take && !before_take(size)) return nullptr;
  void* block = take(heap, flags, size);
  if (block) live.push_back(block);
  return block;
}

BOOL WINAPI Release(HANDLE heap, DWORD flags, LPVOID block) {
  live.erase(std::remove(live.begin(), live.end(), block), live.end());
  return release(heap, flags, block);
}
}  // namespace heap_watch

// The import slot of ReadFile in this program, through which the file digest reads.
extern "C" BOOL(WINAPI* ReadFileSlot)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED)
    VORLUND_IMPORT_SLOT(ReadFile, 20);

namespace vorlund {
namespace {

using testing::BinaryDir;
using testing::FullPath;
using testing::SystemText;

// While it lives, every ReadFile of the program is recorded (the size asked for) and passed on.
class ReadWatch {
 public:
  ReadWatch() : replaced_(ReadFileSlot, Record) {
    sizes_.clear();
    forward_ = replaced_.Original();
  }
  const std::vector<DWORD>& Sizes() const { return sizes_; }

 private:
  static BOOL WINAPI Record(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done,
                            LPOVERLAPPED overlapped) {
    sizes_.push_back(size);
    return forward_(file, buffer, size, done, overlapped);
  }
  static inline std::vector<DWORD> sizes_;
  static inline decltype(ReadFileSlot) forward_ = nullptr;
  testing::ReplacedImport<decltype(ReadFileSlot)> replaced_;
};

std::string FilesDir() { return BinaryDir() + "\\digest-files"; }

// md5sum's digests of the fixture files, by file name.
std::map<std::string, std::string> Md5sums() { return testing::Md5sums(FilesDir() + ".md5"); }

std::string Md5sumOf(const std::string& name) {
  const std::map<std::string, std::string> digests = Md5sums();
  auto it = digests.find(name);
  if (it != digests.end()) return it->second;
  ADD_FAILURE() << "md5sum gave no digest for " << name;
  return {};
}

std::string OpenErrorText(const std::string& path, DWORD code) {
  return "Cannot open file \"" + FullPath(path) + "\". " + SystemText(code);
}

std::string ReadErrorText(const std::string& path, DWORD code) {
  return "Cannot read file \"" + FullPath(path) + "\". " + SystemText(code);
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// True when nobody holds the file open: an open that shares nothing succeeds.
bool NobodyHolds(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class FileDigestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("VORLUND_BINARY_DIR"), nullptr) << "VORLUND_BINARY_DIR is not set";
    heap_watch::live.clear();
    heap_watch::before_take = nullptr;
    heap_watch::take = take_.Original();
    heap_watch::release = release_.Original();
  }
  void TearDown() override {
    heap_watch::before_take = nullptr;
    EXPECT_TRUE(heap_watch::live.empty()) << heap_watch::live.size() << " buffers not released";
  }
  testing::ReplacedImport<decltype(HeapAllocSlot)> take_{HeapAllocSlot, heap_watch::Take};
  testing::ReplacedImport<decltype(HeapFreeSlot)> release_{HeapFreeSlot, heap_watch::Release};

  // Counts the staging buffers taken: one per read handed to MD5UpdateStaged.
  void CountStages(int* stages) {
    heap_watch::before_take = [stages](size_t size) {
      if (size == MD5StageSize) ++*stages;
      return true;
    };
  }

  // A copy of a fixture file in a scratch folder, which a test may change.
  std::string ScratchCopy(const std::string& name) {
    std::string dir = BinaryDir() + "\\digest-scratch";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "\\" + name;
    EXPECT_TRUE(CopyFileA((FilesDir() + "\\" + name).c_str(), path.c_str(), FALSE)) << path;
    return path;
  }
};

bool IsDigestText(const std::string& s) {
  return s.size() == 32 && std::all_of(s.begin(), s.end(), [](char ch) {
           return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
         });
}

TEST_F(FileDigestTest, FilesOfEverySizeGiveMd5sumsDigestReadInBlocksAndARest) {
  const std::map<std::string, std::string> files = Md5sums();
  ASSERT_GE(files.size(), 19u) << "the fixture files are missing";
  for (const auto& [name, md5sum] : files) {
    if (name == "large.bin") continue;
    SCOPED_TRACE(name);
    const std::string path = FilesDir() + "\\" + name;
    ReadWatch reads;
    std::string digest = FileMD5Hex(path);
    EXPECT_TRUE(IsDigestText(digest)) << digest;
    EXPECT_EQ(digest, md5sum);
    // One read per whole block of 102400 bytes and one for the rest: no read at all for an
    // empty file.
    const uint64_t size = FileSize(path);
    std::vector<DWORD> expected(size / 102400, 102400);
    if (size % 102400 != 0) expected.push_back(static_cast<DWORD>(size % 102400));
    EXPECT_EQ(reads.Sizes(), expected);
    EXPECT_TRUE(NobodyHolds(path));
  }
}

TEST_F(FileDigestTest, AFileBeyond4GiBIsDigestedOverAllItsBytes) {
  const std::string path = FilesDir() + "\\large.bin";
  ASSERT_GT(FileSize(path), uint64_t{4} << 30);
  EXPECT_EQ(FileMD5Hex(path), Md5sumOf("large.bin"));
}

TEST_F(FileDigestTest, APathInGbkNamesItsFile) {
  // "数据 文件.bin" in code page 936.
  const std::string name = "\xCA\xFD\xBE\xDD \xCE\xC4\xBC\xFE.bin";
  EXPECT_EQ(FileMD5Hex(FilesDir() + "\\" + name), Md5sumOf(name));
}

TEST_F(FileDigestTest, OpenErrorNamesTheAbsolutePathAndTheSystemsText) {
  const std::string held = FilesDir() + "\\size_1.bin";
  // clang-format off
  struct Case {
    const char* what;
    std::string path;
    DWORD code;
    DWORD hold_access;  // another handle on held, with no read sharing; 0 for none
  } cases[] = {
      {"absent file", FilesDir() + "\\absent.bin", ERROR_FILE_NOT_FOUND, 0},
      {"absent, relative", "absent-here.bin", ERROR_FILE_NOT_FOUND, 0},
      {"absent folder", FilesDir() + "\\absent\\x.bin", ERROR_PATH_NOT_FOUND, 0},
      {"a folder", FilesDir(), ERROR_ACCESS_DENIED, 0},
      {"a folder, relative with dots", FilesDir() + "\\..\\digest-files\\.", ERROR_ACCESS_DENIED, 0},
      {"held for reading", held, ERROR_SHARING_VIOLATION, GENERIC_READ},
      {"held for writing", held, ERROR_SHARING_VIOLATION, GENERIC_WRITE},
      {"NUL in the name", held + std::string("\0.txt", 5), ERROR_INVALID_NAME, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HANDLE other = INVALID_HANDLE_VALUE;
    if (c.hold_access) {
      DWORD share = c.hold_access == GENERIC_WRITE ? FILE_SHARE_WRITE : 0;
      other = CreateFileA(held.c_str(), c.hold_access, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(other, INVALID_HANDLE_VALUE);
    }
    try {
      FileMD5Hex(c.path);
      ADD_FAILURE() << "no error";
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.Message(), OpenErrorText(c.path.substr(0, c.path.find('\0')), c.code));
    }
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  }
}

TEST_F(FileDigestTest, AFileOthersHoldOpenForWritingWithReadSharingIsDigested) {
  const std::string path = FilesDir() + "\\size_102401.bin";
  for (DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    SCOPED_TRACE(::testing::Message() << "share " << share);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileMD5Hex(path), Md5sumOf("size_102401.bin"));
    CloseHandle(writer);
  }
}

TEST_F(FileDigestTest, MD5UpdateStagedHasTheEffectOfOneMD5Update) {
  std::vector<uint8_t> data(3 * 102400);
  uint32_t x = 12345;
  for (uint8_t& b : data) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);
  for (int32_t length : {0, 1, 16383, 16384, 16385, 32768, 49157, 102400, 102401, 307200}) {
    SCOPED_TRACE(::testing::Message() << length << " bytes");
    TMD5State staged, direct;
    MD5Init(staged);
    MD5Init(direct);
    // Seven bytes waiting first, so the pieces do not fall on block boundaries.
    MD5Update(staged, "prefix!", 7);
    MD5Update(direct, "prefix!", 7);
    int stages = 0;
    CountStages(&stages);
    MD5UpdateStaged(staged, data.data(), length);
    heap_watch::before_take = nullptr;
    MD5Update(direct, data.data(), length);
    EXPECT_EQ(std::memcmp(&staged, &direct, sizeof staged), 0);
    EXPECT_EQ(stages, 1) << "one staging buffer per call, also for no bytes";
    EXPECT_TRUE(heap_watch::live.empty());
  }
}

// Reads of a file that shrinks while it is digested: 323584 bytes are three blocks and a rest
// of 16384. After the given number of reads another handle cuts the file to a new size; the
// read that then falls short raises the read error instead of giving a digest of bytes that
// were never read.
TEST_F(FileDigestTest, AFileShortenedWhileItIsReadRaisesTheReadError) {
  struct Case {
    int after_reads;
    LONG new_size;
  } cases[] = {{1, 150000}, {1, 102400}, {1, 0}, {2, 204801}, {3, 310000}, {3, 307200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "cut to " << c.new_size << " after " << c.after_reads << " reads");
    const std::string path = ScratchCopy("size_323584.bin");
    HANDLE cutter =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(cutter, INVALID_HANDLE_VALUE);
    int reads = 0;
    heap_watch::before_take = [&](size_t size) {
      if (size == MD5StageSize && ++reads == c.after_reads) {
        EXPECT_NE(SetFilePointer(cutter, c.new_size, nullptr, FILE_BEGIN),
                  INVALID_SET_FILE_POINTER);
        EXPECT_TRUE(SetEndOfFile(cutter));
      }
      return true;
    };
    try {
      std::string digest = FileMD5Hex(path);
      ADD_FAILURE() << "a digest: " << digest;
    } catch (const EFReadError& e) {
      EXPECT_EQ(e.Message(), ReadErrorText(path, ERROR_HANDLE_EOF));
    }
    heap_watch::before_take = nullptr;
    CloseHandle(cutter);
    EXPECT_TRUE(NobodyHolds(path));
    EXPECT_TRUE(heap_watch::live.empty());
  }
}

TEST_F(FileDigestTest, BytesAddedWhileAFileIsReadAreNotDigested) {
  const std::string path = ScratchCopy("size_323584.bin");
  HANDLE appender = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(appender, INVALID_HANDLE_VALUE);
  int reads = 0;
  heap_watch::before_take = [&](size_t size) {
    if (size == MD5StageSize && ++reads == 1) {
      static const char more[5000] = {'x'};
      DWORD done = 0;
      EXPECT_TRUE(WriteFile(appender, more, sizeof more, &done, nullptr));
    }
    return true;
  };
  EXPECT_EQ(FileMD5Hex(path), Md5sumOf("size_323584.bin"));
  heap_watch::before_take = nullptr;
  CloseHandle(appender);
  EXPECT_EQ(FileSize(path), 323584u + 5000u);
}

TEST_F(FileDigestTest, OutOfMemoryRaisesTheErrorAndReleasesEverything) {
  struct Case {
    size_t size;  // the buffer the heap refuses
    int nth;      // its nth request
  } cases[] = {{MD5FileBlockSize, 1}, {MD5StageSize, 1}, {MD5StageSize, 3}};
  const std::string path = FilesDir() + "\\size_323584.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "request " << c.nth << " of " << c.size << " bytes refused");
    int requests = 0;
    heap_watch::before_take = [&](size_t size) { return size != c.size || ++requests != c.nth; };
    EXPECT_THROW(FileMD5Hex(path), EOutOfMemory);
    heap_watch::before_take = nullptr;
    EXPECT_EQ(requests, c.nth);
    EXPECT_TRUE(NobodyHolds(path));
    EXPECT_TRUE(heap_watch::live.empty());
  }
}

}  // namespace
}  // namespace vorlund
