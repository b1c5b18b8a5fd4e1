// The tick's focus decision at the design size and at a wider window, and how a list answers a
// row it lacks.
#include "app/tick_rules.h"

#include <gtest/gtest.h>

#include "ui/list_rules.h"

namespace tick {
namespace {

// The window at its design size: the digest list's panel at the top 33, the bottom strip at 560,
// the file list from x = 25, 447 wide; so the band is 53 < y < 560 and the split line x = 672.
constexpr Geometry kDesign{33, 560, 25, 447};
// Maximized on a wider screen: the file list takes the extra width, the strip moves down.
constexpr Geometry kWide{33, 700, 25, 655};

constexpr List kNone = List::kNone;
constexpr List kFiles = List::kFiles;
constexpr List kDigests = List::kDigests;

struct Case {
  const char* what;
  Geometry geometry;
  int x, y;
  List focused;
  List expected;
  bool pointer_known = true;
  bool active = true;
};

const Case kCases[] = {
    {"top edge of the band is outside", kDesign, 100, 53, kNone, kNone},
    {"one pixel below the top edge", kDesign, 100, 54, kNone, kFiles},
    {"lists' first rows are outside", kDesign, 100, 33, kNone, kNone},
    {"bottom strip's top is outside", kDesign, 100, 560, kNone, kNone},
    {"one pixel above the bottom strip", kDesign, 100, 559, kNone, kFiles},
    {"below the window", kDesign, 100, 700, kDigests, kNone},
    {"above the window", kDesign, 700, -40, kFiles, kNone},
    {"on the split line", kDesign, 672, 300, kFiles, kNone},
    {"on the split line, nothing focused", kDesign, 672, 300, kNone, kNone},
    {"one left of the split line", kDesign, 671, 300, kDigests, kFiles},
    {"one right of the split line", kDesign, 673, 300, kFiles, kDigests},
    {"over the digest list left of the split line", kDesign, 472, 300, kDigests, kFiles},
    {"left of the window", kDesign, -300, 300, kNone, kFiles},
    {"right of the window", kDesign, 3000, 300, kNone, kDigests},
    {"file list has the focus already", kDesign, 100, 300, kFiles, kNone},
    {"digest list has the focus already", kDesign, 700, 300, kDigests, kNone},
    {"pointer unknown", kDesign, 100, 300, kNone, kNone, false},
    {"window not active", kDesign, 100, 300, kNone, kNone, true, false},
    {"window not active, digest side", kDesign, 700, 300, kFiles, kNone, true, false},
    {"wide: old split line is on the file list's side", kWide, 673, 300, kDigests, kFiles},
    {"wide: split line moved with the file list", kWide, 880, 300, kDigests, kNone},
    {"wide: one right of the split line", kWide, 881, 300, kFiles, kDigests},
    {"wide: the band reaches the lower strip", kWide, 100, 699, kNone, kFiles},
    {"wide: lower strip's top is outside", kWide, 100, 700, kNone, kNone},
};

TEST(TickRules, FocusGoesToTheListOnThePointersSideInsideTheBand) {
  for (const Case& c : kCases) {
    FocusInput input;
    input.pointer_known = c.pointer_known;
    input.x = c.x;
    input.y = c.y;
    input.window_active = c.active;
    input.focused = c.focused;
    EXPECT_EQ(FocusTarget(c.geometry, input), c.expected) << c.what;
  }
}

TEST(ListRules, ARowTheListLacksLeavesNoSelection) {
  struct {
    int requested, count, expected;
  } cases[] = {
      {-1, 10, -1}, {0, 10, 0}, {9, 10, 9}, {10, 10, -1}, {40, 30, -1}, {0, 0, -1}, {-5, 10, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::SelectionFor(c.requested, c.count), c.expected)
        << c.requested << " of " << c.count;
}

TEST(ListRules, ATopRowBeyondTheEndScrollsAsFarAsTheListCan) {
  struct {
    int requested, count, page, expected;
  } cases[] = {
      {0, 100, 43, 0},    {40, 100, 43, 40}, {57, 100, 43, 57}, {58, 100, 43, 57},
      {500, 100, 43, 57}, {10, 30, 43, 0},   {0, 0, 43, 0},     {-3, 100, 43, 0},
      {5, 10, 0, 5},      {99, 100, 1, 99},  {100, 100, 1, 99},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::TopRowFor(c.requested, c.count, c.page), c.expected)
        << c.requested << " of " << c.count << " by " << c.page;
}

}  // namespace
}  // namespace tick
