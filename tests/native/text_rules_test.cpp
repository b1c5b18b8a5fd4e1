#include "common/text_rules.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace vorlund {
namespace {

TEST(TrimSystemText, RemovesTrailingControlsBlanksAndFullStops) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"The system cannot find the file specified.\r\n",
       "The system cannot find the file specified"},
      {"Access is denied. . .\t\n", "Access is denied"},
      {"  inner. kept\x01", "  inner. kept"},
      {"...", ""},
      {"", ""},
      // GBK text ending in the ideographic full stop (0xA1 0xA3) keeps it: only "." goes.
      {"\xce\xc4\xbc\xfe\xa1\xa3\r\n", "\xce\xc4\xbc\xfe\xa1\xa3"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimSystemText(c.in), c.out) << c.in;
}

TEST(ErrorDisplayText, AddsFullStopOnlyAfterCharactersAboveIt) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"Stream write error", "Stream write error."},
      {"ends in stop.", "ends in stop."},
      {"ends in dash-", "ends in dash-"},  // '-' (0x2D) is below '.'
      {"ends in comma,", "ends in comma,"},
      {"ends in slash/", "ends in slash/."},  // '/' (0x2F) is above '.'
      {"ends in blank ", "ends in blank "},
      {"number 7", "number 7."},
      {"high byte \xFF", "high byte \xFF."},  // unsigned comparison
      // A double-byte last character (GBK) compares by its lead byte: always above '.'.
      {"\xce\xc4\xbc\xfe", "\xce\xc4\xbc\xfe."},
      // A trail byte that looks like '-' or '.' in ASCII terms does not count alone.
      {"\xce\x2e", "\xce\x2e."},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorDisplayText(c.in), c.out) << c.in;
}

TEST(ApplicationTitle, NameWithoutFolderAndExtensionFirstCharacterKept) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Program Files\\Vorlund\\Vorlund.exe", "Vorlund"},
      {"C:\\tools\\VORLUND.EXE", "Vorlund"},
      {"D:\\x\\my.tool.v2.exe", "my"},
      {"md5TOOL", "md5tool"},
      {"\\\\server\\share\\ABC.exe", "Abc"},
      {"C:vorlund.exe", "vorlund"},
      {"C:\\dir.d\\app", "app"},
      // "工具" is B9 A4 BE DF: kept as it is. 0xC9 0x5C ("蓕"), whose trail byte is '\',
      // is not a separator; 0xC4 0x41 has the trail byte 'A', which must stay upper case.
      {"C:\\\xb9\xa4\xbe\xdfX.exe", "\xb9\xa4\xbe\xdfx"},
      {"C:\\a\xc9\x5c"
       "b.exe",
       "a\xc9\x5c"
       "b"},
      {"C:\\Q\xc4\x41Z.exe", "Q\xc4\x41z"},
      // The code page's own capitals are lowered too: full-width "ＡＢＣ" becomes "Ａｂｃ",
      // Greek "ΑΒ" "Αβ", Cyrillic "АБ" "Аб", Roman numerals "ⅠⅡ" "Ⅰⅱ"; "Ⅺ" has no
      // lower-case form in the code page and stays, and the first character is never lowered.
      {"C:\\\xa3\xc1\xa3\xc2\xa3\xc3.exe", "\xa3\xc1\xa3\xe2\xa3\xe3"},
      {"\xa6\xa1\xa6\xa2", "\xa6\xa1\xa6\xc2"},
      {"\xa7\xa1\xa7\xa2\xa7\xc1", "\xa7\xa1\xa7\xd2\xa7\xf1"},
      {"\xa2\xf1\xa2\xf2\xa2\xfa\xa2\xfb", "\xa2\xf1\xa2\xa2\xa2\xaa\xa2\xfb"},
      {"X\xa3\xda\xa3\xdb", "X\xa3\xfa\xa3\xdb"},  // Ｚ is lowered, ［ (after it) is not
      {".exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ApplicationTitleFromPath(c.path), c.title);
  }
}

TEST(FileErrorText, FillsPathAndSystemTextLiterally) {
  EXPECT_EQ(FormatFileError(kOpenFileError, "C:\\100%s\\a.txt", "Access is denied"),
            "Cannot open file \"C:\\100%s\\a.txt\". Access is denied");
  EXPECT_EQ(FormatFileError(kCreateFileError, "Z:\\x", ""), "Cannot create file \"Z:\\x\". ");
  EXPECT_EQ(FormatIntError(kValueRangeError, 1, 2147483647),
            "Value must be between 1 and 2147483647");
  EXPECT_EQ(FormatIntError(kListIndexError, -1), "List index out of bounds (-1)");
}

}  // namespace
}  // namespace vorlund
