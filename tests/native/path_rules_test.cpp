#include "collect/path_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vorlund {
namespace {

// "乗" in GBK is 0x81 0x5C: its trail byte is the byte of "\".
const std::string kTrail5C = "\x81\x5c";
// "目录" in GBK.
const std::string kMulu = "\xc4\xbf\xc2\xbc";

TEST(TrimBoxText, RemovesCodesUpTo32AtBothEndsOnly) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"C:\\dir", "C:\\dir"},
      {"  C:\\dir  ", "C:\\dir"},
      {"\t\r\n\x01\x1f C:\\dir \x7f", "C:\\dir \x7f"},  // 127 is above 32: it stays
      {std::string("\0C:\\dir\0", 8), "C:\\dir"},
      {"C:\\my  dir\\x\ty", "C:\\my  dir\\x\ty"},  // inner blanks and controls stay
      {"   ", ""},
      {"\x20\x09\x0a\x0b\x0c\x0d", ""},
      {"", ""},
      {"!", "!"},  // 33 is the first code kept
      // The full-width blank of code page 936 (0xA1 0xA1) is a character above 32.
      {"\xa1\xa1" + kMulu + "\xa1\xa1", "\xa1\xa1" + kMulu + "\xa1\xa1"},
      {" C:\\" + kTrail5C + " ", "C:\\" + kTrail5C},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimBoxText(c.in), c.out) << c.in;
}

TEST(TrimmedBoxPlace, MovesLeftByWhatGoesInFrontAndStaysInTheTextThatStays) {
  struct Case {
    std::string text;
    std::size_t length;  // in the unit the places count
    std::size_t place;
    std::size_t kept;
  } cases[] = {
      {"C:\\dir", 6, 6, 6},  // nothing trimmed: every place stays
      {"C:\\dir", 6, 3, 3},
      {"C:\\dir", 6, 0, 0},
      {"\\a ", 3, 3, 2},  // a blank typed at the end: the caret behind it is at the new end
      {"\\a ", 3, 2, 2},
      {"\\a b", 4, 3, 3},     // an inner blank stays, and so does the place
      {" C:\\dir", 7, 1, 0},  // a blank typed in front: the caret behind it goes to the start
      {" C:\\dir", 7, 4, 3},
      {"  Z C:\\dir", 10, 3, 1},     // two blanks in front go: the place moves left by two
      {"  Z C:\\dir  ", 12, 12, 8},  // and from inside the trailing blanks to the new end
      {"  Z C:\\dir  ", 12, 11, 8},
      {"  Z C:\\dir  ", 12, 0, 0},   // inside the leading blanks: the start
      {"\t\r\n C:\\dir", 10, 5, 1},  // control characters count as blanks
      {"   ", 3, 2, 0},
      {"", 0, 0, 0},
      // Places counted in the UTF-16 units of an edit control: a GBK pair is one unit there.
      {" " + kMulu + " ", 4, 4, 2},
      {" " + kMulu + " ", 4, 2, 1},
      {kMulu + " ", 3, 1, 1},
      // ... and in bytes.
      {" " + kMulu + " ", 6, 6, 4},
      {" " + kMulu + " ", 6, 3, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimmedBoxPlace(c.text, c.length, c.place), c.kept)
        << "'" << c.text << "' at " << c.place;
  }
}

TEST(BoxFolderText, FollowsThePathBoxTable) {
  struct Case {
    std::string box;
    std::optional<std::string> folder;
  } cases[] = {
      {"C:\\dir", "C:\\dir"},
      {"C:\\dir\\", "C:\\dir/"},
      {"C:\\dir\\\\\\", "C:\\dir/"},
      {"C:\\a/b\\", "C:\\ab/"},
      {"C:/dir\\", "C:dir/"},
      {"C:\\", "C:/"},
      {"\\", "/"},
      {"\\\\\\", "/"},
      {"/\\", "/"},
      {"C:", "C:"},
      {"C:/dir", std::nullopt},
      {"C:\\dir/", std::nullopt},
      {"/", std::nullopt},
      {"", std::nullopt},
      {"relative", "relative"},
      // A slash inside the trailing run ends the run: the backslash before it stays.
      {"C:\\dir\\/\\", "C:\\dir\\/"},
      {"C:\\dir\\//\\\\", "C:\\dir\\/"},
  };
  for (const Case& c : cases) EXPECT_EQ(BoxFolderText(c.box), c.folder) << c.box;
}

TEST(BoxFolderText, TakesGbkCharactersWhole) {
  struct Case {
    std::string box;
    std::optional<std::string> folder;
  } cases[] = {
      // Ends in the trail byte 0x5C of a character, not in "\": the text is used as it is.
      {"C:\\" + kTrail5C, "C:\\" + kTrail5C},
      {"C:\\" + kTrail5C + kTrail5C, "C:\\" + kTrail5C + kTrail5C},
      // A real "\" after such a character: only the real one is rewritten.
      {"C:\\" + kTrail5C + "\\", "C:\\" + kTrail5C + "/"},
      {"C:\\" + kTrail5C + "\\\\", "C:\\" + kTrail5C + "/"},
      {"C:\\" + kMulu + "\\" + kTrail5C + "\\", "C:\\" + kMulu + "\\" + kTrail5C + "/"},
      {"C:\\" + kMulu + "/x\\", "C:\\" + kMulu + "x/"},
      {"C:\\" + kTrail5C + "/x", std::nullopt},
      // A lead byte takes the byte after it along, as the platform does, even a "/".
      {"C:\\\xce/", "C:\\\xce/"},
      {"C:\\\xce/\\", "C:\\\xce//"},
      // A lead byte at the very end stands alone.
      {"C:\\dir\xce", "C:\\dir\xce"},
  };
  for (const Case& c : cases) EXPECT_EQ(BoxFolderText(c.box), c.folder) << c.box;
}

TEST(ScanForms, PatternAndRowAddExactlyOneSeparator) {
  struct Case {
    std::string folder;
    std::string pattern;
    std::string row;  // for the entry "a.txt"
  } cases[] = {
      {"C:\\dir", "C:\\dir\\*.*", "C:\\dir\\a.txt"},
      {"C:\\", "C:\\\\*.*", "C:\\\\a.txt"},
      {"C:\\dir/", "C:\\dir/\\*.*", "C:\\dir/\\a.txt"},
      {"C:/", "C:/\\*.*", "C:/\\a.txt"},
      {"/", "/\\*.*", "/\\a.txt"},
      {"C:", "C:\\*.*", "C:\\a.txt"},
      {"", "\\*.*", "\\a.txt"},
      {"C:\\" + kTrail5C, "C:\\" + kTrail5C + "\\*.*", "C:\\" + kTrail5C + "\\a.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("folder '" + c.folder + "'");
    EXPECT_EQ(ScanPattern(c.folder), c.pattern);
    EXPECT_EQ(ScanRow(c.folder, "a.txt"), c.row);
  }
  // Sub-folder rows nest the same way.
  EXPECT_EQ(ScanRow(ScanRow("D:\\p", "sub"), "x.bin"), "D:\\p\\sub\\x.bin");
  EXPECT_EQ(ScanRow(ScanRow("D:\\p/", kMulu), kTrail5C), "D:\\p/\\" + kMulu + "\\" + kTrail5C);
}

TEST(EntryName, EndsAtTheFirstNulOrTheField) {
  char field[260];
  std::fill(std::begin(field), std::end(field), 'x');
  EXPECT_EQ(EntryName(field, sizeof field), std::string(260, 'x'));  // no NUL: whole field
  field[5] = '\0';
  field[9] = '\0';
  EXPECT_EQ(EntryName(field, sizeof field), "xxxxx");
  field[0] = '\0';
  EXPECT_EQ(EntryName(field, sizeof field), "");
  const char gbk[8] = "\x81\x5c.txt";
  EXPECT_EQ(EntryName(gbk, sizeof gbk), kTrail5C + ".txt");
}

TEST(IsDotEntry, OnlyTheExactNamesDotAndDotDot) {
  for (const char* name : {".", ".."}) EXPECT_TRUE(IsDotEntry(name)) << name;
  for (const char* name : {"...", ".cache", "..a", ". ", "", "a.", "x"}) {
    EXPECT_FALSE(IsDotEntry(name)) << name;
  }
}

}  // namespace
}  // namespace vorlund
