#include "common/staging_name.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace vorlund {
namespace {

TEST(StagingFileName, NamesOfTheShortFormNoLongerThanTheRoom) {
  struct Case {
    std::size_t room;
    std::uint32_t attempt;
    std::string name;
  } cases[] = {
      {12, 0, "~VL00000.TMP"},
      {12, 1, "~VL00001.TMP"},
      {12, 0xABCDE, "~VLABCDE.TMP"},
      {12, 0xFFFFF, "~VLFFFFF.TMP"},
      {12, 0x100000, ""},  // beyond five digits
      {200, 0x2A, "~VL0002A.TMP"},
      {11, 0, "~0000000"},  // shorter rooms: no extension, up to eight characters
      {11, 0xFFFFFFF, "~FFFFFFF"},
      {11, 0x10000000, ""},
      {8, 0x1234567, "~1234567"},
      {5, 0xBEEF, "~BEEF"},  // "a.txt"
      {5, 0x10000, ""},
      {4, 0, "~000"},  // ".txt"
      {4, 0xFFF, "~FFF"},
      {4, 0x1000, ""},
      {2, 0xF, "~F"},
      {2, 0x10, ""},
      {1, 0, ""},
      {0, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StagingFileName(c.room, c.attempt), c.name)
        << "room " << c.room << " attempt " << c.attempt;
  }
}

// Every name of a room is of the 8.3 form and fits it, and the attempts give distinct names.
TEST(StagingFileName, EachAttemptGivesAnotherNameOfTheShortForm) {
  for (std::size_t room : {2u, 3u, 4u, 9u, 12u, 40u}) {
    std::set<std::string> seen;
    for (std::uint32_t attempt = 0; attempt < 16; ++attempt) {
      const std::string name = StagingFileName(room, attempt);
      SCOPED_TRACE(name);
      ASSERT_FALSE(name.empty());
      EXPECT_LE(name.size(), room);
      const std::size_t dot = name.find('.');
      const std::string base = name.substr(0, dot);
      const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
      EXPECT_LE(base.size(), 8u);
      EXPECT_LE(extension.size(), 3u);
      for (char c : name) EXPECT_TRUE(c == '~' || c == '.' || std::isupper(c) || std::isdigit(c));
      EXPECT_TRUE(seen.insert(name).second);
    }
  }
}

}  // namespace
}  // namespace vorlund
