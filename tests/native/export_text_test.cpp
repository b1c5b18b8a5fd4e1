#include "batch/export_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlund {
namespace {

TEST(ChosenExportName, LosesBlanksAndControlCharactersAtBothEndsOnly) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"C:\\out\\list", "C:\\out\\list"},
      {"  C:\\out\\list  ", "C:\\out\\list"},
      {"\t\r\n\x01\x1f C:\\a b\\c d \x7f\x20\x0b", "C:\\a b\\c d \x7f"},  // 0x7F is kept
      {std::string("\0C:\\x\0", 6), "C:\\x"},
      {"!x!", "!x!"},  // 0x21 is the first byte kept
      {"\x80\xa1\xa1", "\x80\xa1\xa1"},
      {"C:\\\xce\xc4\xbc\xfe ", "C:\\\xce\xc4\xbc\xfe"},  // GBK name, trailing blank
      {" \t ", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChosenExportName(c.in), c.out) << c.in;
}

TEST(ExportTargetPath, AppendsTxtUnlessTheNameEndsInItInAnyCase) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\out\\list", "C:\\out\\list.txt"},
      {"a", "a.txt"},
      {"a.txt", "a.txt"},
      {"A.TXT", "A.TXT"},
      {"a.TxT", "a.TxT"},
      {"a.csv", "a.csv.txt"},
      {"a.txt.csv", "a.txt.csv.txt"},
      {"a.tx", "a.tx.txt"},
      {"atxt", "atxt.txt"},
      {"a.txt ", "a.txt .txt"},  // the name comes trimmed; a blank is part of it here
      {"a_txt", "a_txt.txt"},
      {".txt", ".txt"},
      {"txt", "txt.txt"},
      {"C:\\dir.txt\\list", "C:\\dir.txt\\list.txt"},
      {"C:\\\xce\xc4\xbc\xfe", "C:\\\xce\xc4\xbc\xfe.txt"},
      {"C:\\\xce\xc4.TXT", "C:\\\xce\xc4.TXT"},
      {"", ".txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExportTargetPath(c.in), c.out) << c.in;
}

TEST(ExportText, IsEachRowFollowedByCrLf) {
  const std::string digest = "D41D8CD98F00B204E9800998ECF8427E";
  struct Case {
    std::vector<std::string> rows;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{digest}, digest + "\r\n"},
      {{"a", "", "b c"}, "a\r\n\r\nb c\r\n"},
      {{"\xce\xc4\xbc\xfe"}, "\xce\xc4\xbc\xfe\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExportText(c.rows), c.text);
}

TEST(ExportText, ThreeDigestRowsMake102Bytes) {
  const std::vector<std::string> rows = {"D41D8CD98F00B204E9800998ECF8427E",
                                         "0CC175B9C0F1B6A831C399E269772661",
                                         "900150983CD24FB0D6963F7D28E17F72"};
  const std::string text = ExportText(rows);
  ASSERT_EQ(text.size(), 102u);
  EXPECT_EQ(text.substr(100), "\r\n");
  EXPECT_EQ(text.substr(34, 34), rows[1] + "\r\n");
}

}  // namespace
}  // namespace vorlund
