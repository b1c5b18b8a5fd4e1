#include "collect/entry_name.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlund {
namespace {

TEST(ListedName, TheShortNameStandsInOnlyForALongNameWithAQuestionMark) {
  // GBK bytes: "中文" (a name the code page carries) and "乗" (0x81 0x5C), whose trail byte is
  // that of "\"; 0x3F is no trail byte, so "?" after a lead byte is a character of its own.
  const std::string zhongwen = "\xd6\xd0\xce\xc4";
  struct Case {
    std::string long_name;
    std::string short_name;
    std::string listed;
  } cases[] = {
      // Names the code page carried: the long name, short name or none.
      {"plain.txt", "", "plain.txt"},
      {"a long name.txt", "ALONGN~1.TXT", "a long name.txt"},
      {zhongwen + ".txt", "__~~~KE3.TXT", zhongwen + ".txt"},
      {"\x81\x5c.txt", "_~1.TXT", "\x81\x5c.txt"},
      {".", "", "."},
      {"..", "", ".."},
      // A "?" anywhere in the long name, with a short name: the short name.
      {"ni?o.txt", "NI_O~51Z.TXT", "NI_O~51Z.TXT"},
      {"emoji??.bin", "EMOJ~RZJ.BIN", "EMOJ~RZJ.BIN"},
      {"???.txt", "___~~IJE.TXT", "___~~IJE.TXT"},
      {"????", "____~YAI", "____~YAI"},
      {"?", "_~1", "_~1"},
      {"name?", "NAME_~1", "NAME_~1"},
      {zhongwen + "?" + zhongwen, "____~1", "____~1"},
      {"\x81?.txt", "_~2.TXT", "_~2.TXT"},  // a lone lead byte before the "?"
      // No short name, or one that names nothing either: the long name, as it came.
      {"ni?o.txt", "", "ni?o.txt"},
      {"????", "", "????"},
      {"ni?o.txt", "NI?O~1.TXT", "ni?o.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListedName(c.long_name, c.short_name), c.listed)
        << "long '" << c.long_name << "' short '" << c.short_name << "'";
  }
}

}  // namespace
}  // namespace vorlund
