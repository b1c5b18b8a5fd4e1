// The path box rules over many random texts, from a fixed seed so that every run sees the same
// texts; scripts/fuzz.sh checks the same properties under libFuzzer.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "collect/fuzz/path_rules_invariants.h"

namespace vorlund {
namespace {

// Texts drawn mostly from the bytes the rules care about: blanks and controls, "\" and "/",
// GBK lead bytes and a trail byte equal to "\", and a few plain letters.
std::string RandomText(std::mt19937& random) {
  static const char kBytes[] = {' ',    '\t',   '\0',   '\r',   '\\',   '\\',   '/',
                                '/',    'C',    ':',    'a',    '.',    '\x81', '\xce',
                                '\x5c', '\xa1', '\xbc', '\x7f', '\xff', '\x20', '\x21'};
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> pick(0, sizeof kBytes - 1);
  std::string text;
  for (int n = length(random); n > 0; --n) text += kBytes[pick(random)];
  return text;
}

TEST(PathRulesProperties, HoldForRandomTexts) {
  std::mt19937 random(20240611);
  int with_folder_from_backslash = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string text = RandomText(random);
    std::string failure = fuzz::CheckPathRules(text);
    ASSERT_EQ(failure, "") << "text bytes: " << ::testing::PrintToString(text);
    with_folder_from_backslash += fuzz::LastIsBackslash(TrimBoxText(text));
  }
  // The generator must reach the rewriting branch often, not by luck.
  EXPECT_GT(with_folder_from_backslash, 20000);
}

}  // namespace
}  // namespace vorlund
