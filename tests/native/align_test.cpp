#include "ui/align.h"

#include <gtest/gtest.h>

#include <vector>

namespace ui {
namespace {

using A = TAlign;

// The window's middle band and strips, as stored: pnl1, pnl2, pnl4, pnl5, FileListBox1, pnl6,
// pnl3 in creation order.
std::vector<TAlignItem> WindowChildren() {
  return {
      {A::alRight, {472, 33, 319, 527}},  // pnl1
      {A::alLeft, {0, 33, 25, 527}},      // pnl2
      {A::alTop, {0, 0, 816, 33}},        // pnl4
      {A::alNone, {112, 33, 360, 527}},   // pnl5
      {A::alClient, {25, 33, 447, 527}},  // FileListBox1
      {A::alRight, {791, 33, 25, 527}},   // pnl6
      {A::alBottom, {0, 560, 816, 52}},   // pnl3
  };
}

TEST(ArrangeAligned, KeepsTheDesignLayoutAtTheDesignSize) {
  auto items = WindowChildren();
  const auto before = items;
  ArrangeAligned({0, 0, 816, 612}, items);
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].bounds, before[i].bounds) << i;
}

TEST(ArrangeAligned, GivesTheExtraSizeToTheClientChild) {
  auto items = WindowChildren();
  ArrangeAligned({0, 0, 1280, 950}, items);
  EXPECT_EQ(items[0].bounds, (TBounds{1280 - 25 - 319, 33, 319, 950 - 85}));  // pnl1
  EXPECT_EQ(items[1].bounds, (TBounds{0, 33, 25, 950 - 85}));                 // pnl2
  EXPECT_EQ(items[2].bounds, (TBounds{0, 0, 1280, 33}));                      // pnl4
  EXPECT_EQ(items[3].bounds, (TBounds{112, 33, 360, 527}));                   // pnl5 untouched
  EXPECT_EQ(items[4].bounds, (TBounds{25, 33, 1280 - 25 - 25 - 319, 950 - 85}));
  EXPECT_EQ(items[5].bounds, (TBounds{1280 - 25, 33, 25, 950 - 85}));  // pnl6 outermost
  EXPECT_EQ(items[6].bounds, (TBounds{0, 950 - 52, 1280, 52}));        // pnl3
}

TEST(ArrangeAligned, OrdersEachSideByNearnessToItsEdge) {
  // Created innermost first; placed outermost first on every side.
  std::vector<TAlignItem> items = {
      {A::alTop, {0, 20, 10, 5}},    {A::alTop, {0, 0, 10, 7}},    {A::alBottom, {0, 50, 10, 4}},
      {A::alBottom, {0, 90, 10, 6}}, {A::alLeft, {30, 0, 8, 10}},  {A::alLeft, {0, 0, 9, 10}},
      {A::alRight, {50, 0, 3, 10}},  {A::alRight, {97, 0, 2, 10}},
  };
  ArrangeAligned({0, 0, 100, 100}, items);
  EXPECT_EQ(items[1].bounds, (TBounds{0, 0, 100, 7}));
  EXPECT_EQ(items[0].bounds, (TBounds{0, 7, 100, 5}));
  EXPECT_EQ(items[3].bounds, (TBounds{0, 94, 100, 6}));
  EXPECT_EQ(items[2].bounds, (TBounds{0, 90, 100, 4}));
  EXPECT_EQ(items[5].bounds, (TBounds{0, 12, 9, 78}));
  EXPECT_EQ(items[4].bounds, (TBounds{9, 12, 8, 78}));
  EXPECT_EQ(items[7].bounds, (TBounds{98, 12, 2, 78}));
  EXPECT_EQ(items[6].bounds, (TBounds{95, 12, 3, 78}));
}

TEST(ArrangeAligned, TooSmallAnAreaLeavesNoNegativeSize) {
  std::vector<TAlignItem> items = {
      {A::alTop, {0, 0, 10, 30}}, {A::alBottom, {0, 0, 10, 30}}, {A::alClient, {0, 0, 1, 1}}};
  ArrangeAligned({0, 0, 40, 40}, items);
  EXPECT_EQ(items[2].bounds.height, 0);
  EXPECT_GE(items[2].bounds.width, 0);
}

}  // namespace
}  // namespace ui
