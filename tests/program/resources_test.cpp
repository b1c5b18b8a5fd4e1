// What the shipped Vorlund.exe carries for the system that starts it, read back from the program
// file as Windows reads it: its application manifest (resource 1 of type 24), byte for byte the
// source's, and its version resource, whose texts stand in the Chinese (PRC) block of code page
// 936.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/version.h"
#include "program_driver.h"

namespace vorlund::testing {
namespace {

// A file of the source tree, read whole.
std::string SourceFile(const std::string& relative) {
  const char* dir = std::getenv("VORLUND_SOURCE_DIR");
  std::ifstream in(WindowsPath(std::string(dir ? dir : ".") + "/" + relative), std::ios::binary);
  EXPECT_TRUE(in) << relative;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProgramResources, TheManifestIsTheSourcesByteForByte) {
  HMODULE program = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr) << "error " << GetLastError();
  // The manifest the loader reads for a program: id 1 (CREATEPROCESS_MANIFEST_RESOURCE_ID) of
  // type 24 (RT_MANIFEST).
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr) << "no manifest, error " << GetLastError();
  const void* bytes = LockResource(LoadResource(program, found));
  ASSERT_NE(bytes, nullptr);
  const std::string embedded(static_cast<const char*>(bytes), SizeofResource(program, found));
  EXPECT_EQ(embedded, SourceFile("app/vorlund.manifest"));
  FreeLibrary(program);
}

// The program file's version resource, as the system's version functions read it.
class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource, error " << GetLastError();
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block_.data()));
  }
  // The value at name, or nullptr with its size 0.
  const void* Value(const char* name, UINT* size) {
    void* value = nullptr;
    *size = 0;
    if (!VerQueryValueA(block_.data(), name, &value, size)) return nullptr;
    return value;
  }
  std::vector<char> block_;
};

TEST_F(VersionResource, NamesTheProgramInTheChineseBlock) {
  // clang-format off
  struct Case {
    const char* name;
    std::string expected;
  } cases[] = {
      // iconv -f UTF-8 -t GBK of "文件MD5值生成工具"
      {"FileDescription",  "\xce\xc4\xbc\xfe" "MD5" "\xd6\xb5\xc9\xfa\xb3\xc9\xb9\xa4\xbe\xdf"},
      {"ProductName",      "Vorlund"},
      {"InternalName",     "Vorlund"},
      {"OriginalFilename", "Vorlund.exe"},
      {"FileVersion",      VORLUND_VERSION_TEXT},
      {"ProductVersion",   VORLUND_VERSION_TEXT},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string("\\StringFileInfo\\080403a8\\") + c.name;
    UINT size = 0;
    const void* value = Value(name.c_str(), &size);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(value)), c.expected);
  }
}

TEST_F(VersionResource, IsChinesePrcInCodePage936) {
  UINT size = 0;
  const auto* translation = static_cast<const WORD*>(Value("\\VarFileInfo\\Translation", &size));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(size, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x0804);  // Chinese (PRC)
  EXPECT_EQ(translation[1], 936);
}

TEST_F(VersionResource, NumbersAreTheVersionText) {
  unsigned major = 0, minor = 0, patch = 0, build = 0;
  ASSERT_EQ(std::sscanf(VORLUND_VERSION_TEXT, "%u.%u.%u.%u", &major, &minor, &patch, &build), 4);
  UINT size = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Value("\\", &size));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(build, patch));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(minor, major));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(build, patch));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
}  // namespace vorlund::testing
