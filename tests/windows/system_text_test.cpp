#include "common/system_text.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "system_oracles.h"

namespace vorlund {
namespace {

TEST(Platform, RunsInCodePage936) { EXPECT_EQ(GetACP(), 936u); }

TEST(SystemErrorText, IsTheSystemsTextWithoutTrailingBlanksAndFullStops) {
  for (DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION}) {
    SCOPED_TRACE(code);
    const std::string expected = testing::SystemText(code);
    EXPECT_EQ(SystemErrorText(code), expected);
    EXPECT_FALSE(expected.empty());
  }
}

TEST(FullPathName, MakesARelativePathAbsolute) {
  char cwd[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
  ASSERT_GT(n, 0u);
  std::string dir(cwd, n);
  if (dir.back() != '\\') dir += '\\';
  EXPECT_EQ(FullPathName("some.txt"), dir + "some.txt");
  EXPECT_EQ(FullPathName("C:\\a\\..\\b.txt"), "C:\\b.txt");
  EXPECT_EQ(FileErrorText(kOpenFileError, "C:\\a\\..\\b.txt", ERROR_FILE_NOT_FOUND),
            "Cannot open file \"C:\\b.txt\". " + SystemErrorText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace vorlund
