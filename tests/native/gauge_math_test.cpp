#include "ui/gauge_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <string>

#include "app/gauge_states.h"
#include "common/errors.h"

namespace ui {
namespace {

constexpr GaugeUpdate kNothing = GaugeUpdate::kNothing;
constexpr GaugeUpdate kRepaint = GaugeUpdate::kRepaint;

// The percentage by integer arithmetic, independent of the floating point in the code.
int ExactPercent(int min, int max, int progress) {
  if (max == min) return 0;
  return static_cast<int>((static_cast<std::int64_t>(progress) - min) * 100 /
                          (static_cast<std::int64_t>(max) - min));
}

GaugeModel ModelWith(int min, int max, int progress) {
  GaugeModel model;
  // Widen first so that every min..max pair can be reached from the defaults.
  (void)model.SetMaxValue(INT_MAX);
  (void)model.SetMinValue(min);
  (void)model.SetMaxValue(max);
  (void)model.SetProgress(progress);
  EXPECT_EQ(model.MinValue(), min);
  EXPECT_EQ(model.MaxValue(), max);
  EXPECT_EQ(model.Progress(), progress);
  return model;
}

TEST(GaugeModel, StartsReadyAtZeroOfHundred) {
  GaugeModel model;
  EXPECT_EQ(model.MinValue(), 0);
  EXPECT_EQ(model.MaxValue(), 100);
  EXPECT_EQ(model.Progress(), 0);
  EXPECT_EQ(model.Percent(), 0);
  EXPECT_EQ(model.ForeColor(), 0x0000FFu);
  EXPECT_EQ(model.BackColor(), 0x008000u);
  EXPECT_EQ(model.BackColor(), gauge_state::Ready);
}

TEST(GaugeStates, AreTheThreeBackgroundColours) {
  EXPECT_EQ(gauge_state::Ready, 0x008000u);
  EXPECT_EQ(gauge_state::Listing, 255u);
  EXPECT_EQ(gauge_state::Running, 12632256u);
}

TEST(GaugeModel, ColourWritesRepaintOnlyWhenTheColourChanges) {
  GaugeModel model;
  struct Case {
    bool fore;
    std::uint32_t color;
    GaugeUpdate expected;
  } cases[] = {
      {false, gauge_state::Ready, kNothing},
      {false, gauge_state::Listing, kRepaint},
      {false, gauge_state::Listing, kNothing},
      {false, gauge_state::Running, kRepaint},
      {false, gauge_state::Ready, kRepaint},
      {true, 0x0000FF, kNothing},
      {true, 0x00FF00, kRepaint},
      {true, 0x00FF00, kNothing},
      {true, 0x0000FF, kRepaint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.fore ? "fore " : "back ") << std::hex << c.color);
    EXPECT_EQ(c.fore ? model.SetForeColor(c.color) : model.SetBackColor(c.color), c.expected);
    EXPECT_EQ(c.fore ? model.ForeColor() : model.BackColor(), c.color);
  }
  // Neither colour touches the range or the progress.
  EXPECT_EQ(model.MaxValue(), 100);
  EXPECT_EQ(model.Progress(), 0);
}

TEST(GaugeModel, MaxValueWrites) {
  struct Case {
    int min, max, progress;  // before
    int write;
    GaugeUpdate expected;
    int progress_after;
  } cases[] = {
      {0, 100, 0, 100, kNothing, 0},    // equal: nothing
      {0, 100, 40, 100, kNothing, 40},  // equal, progress kept
      {0, 100, 0, 17, kRepaint, 0},     // a run starts with its file count
      {0, 100, 40, 200, kRepaint, 40},  // raised: progress stays, share shrinks
      {0, 100, 40, 30, kRepaint, 30},   // lowered below progress: progress follows
      {0, 100, 40, 40, kRepaint, 40},   // lowered onto progress
      {0, 17, 16, 0, kRepaint, 0},      // a run ends: back to 0 of 0
      {0, 100, 0, 0, kRepaint, 0},      // MaxValue may equal MinValue
      {-5, 5, -5, -5, kRepaint, -5},    // ... whatever MinValue is
      {0, 0, 0, INT_MAX, kRepaint, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.min << ".." << c.max << " at " << c.progress << ", MaxValue := " << c.write);
    GaugeModel model = ModelWith(c.min, c.max, c.progress);
    EXPECT_EQ(model.SetMaxValue(c.write), c.expected);
    EXPECT_EQ(model.MaxValue(), c.write);
    EXPECT_EQ(model.MinValue(), c.min);
    EXPECT_EQ(model.Progress(), c.progress_after);
  }
}

TEST(GaugeModel, MaxValueBelowMinValueRaisesAndChangesNothing) {
  struct Case {
    int min, max, progress, write;
    const char* text;
  } cases[] = {
      {0, 100, 50, -1, "Value must be between 1 and 2147483647"},
      {0, 0, 0, INT_MIN, "Value must be between 1 and 2147483647"},
      {-5, 5, 0, -6, "Value must be between -4 and 2147483647"},
      {INT_MAX, INT_MAX, INT_MAX, 0, "Value must be between 2147483647 and 2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.write);
    GaugeModel model = ModelWith(c.min, c.max, c.progress);
    try {
      (void)model.SetMaxValue(c.write);
      ADD_FAILURE() << "no error";
    } catch (const vorlund::EInvalidArgument& error) {
      EXPECT_EQ(error.Message(), c.text);
    }
    EXPECT_EQ(model.MinValue(), c.min);
    EXPECT_EQ(model.MaxValue(), c.max);
    EXPECT_EQ(model.Progress(), c.progress);
  }
}

TEST(GaugeModel, MinValueWritesMirrorMaxValue) {
  GaugeModel model = ModelWith(0, 100, 40);
  EXPECT_EQ(model.SetMinValue(0), kNothing);
  EXPECT_EQ(model.SetMinValue(10), kRepaint);
  EXPECT_EQ(model.Progress(), 40);
  EXPECT_EQ(model.SetMinValue(60), kRepaint);  // raised above progress: progress follows
  EXPECT_EQ(model.Progress(), 60);
  EXPECT_EQ(model.SetMinValue(100), kRepaint);
  EXPECT_EQ(model.Progress(), 100);
  EXPECT_EQ(model.Percent(), 0);
  try {
    (void)model.SetMinValue(101);
    ADD_FAILURE() << "no error";
  } catch (const vorlund::EInvalidArgument& error) {
    EXPECT_EQ(error.Message(), "Value must be between -2147483648 and 99");
  }
  EXPECT_EQ(model.MinValue(), 100);
  EXPECT_EQ(model.Progress(), 100);
}

TEST(GaugeModel, ProgressWritesAreClampedAndRepaintOnlyForANewPercentage) {
  struct Case {
    int min, max, progress;  // before
    int write;
    int stored;
    GaugeUpdate expected;
  } cases[] = {
      {0, 100, 0, 0, 0, kNothing},        // equal
      {0, 100, 0, 1, 1, kRepaint},        // 0% -> 1%
      {0, 100, 50, 150, 100, kRepaint},   // beyond MaxValue: clamped
      {0, 100, 100, 150, 100, kNothing},  // clamped onto the current value
      {0, 100, 50, -7, 0, kRepaint},      // below MinValue: clamped
      {0, 100, 0, INT_MIN, 0, kNothing},  // clamped onto the current value
      {0, 0, 0, 5, 0, kNothing},          // empty range: always 0
      {0, 1000, 0, 5, 5, kNothing},       // stored, still 0%
      {0, 1000, 5, 9, 9, kNothing},       // stored, still 0%
      {0, 1000, 9, 10, 10, kRepaint},     // 1%
      {0, 17, 15, 16, 16, kRepaint},      // 88% -> 94%
      {0, 3, 1, 2, 2, kRepaint},          // 33% -> 66%
      {0, 300, 200, 201, 201, kRepaint},  // 66% -> 67%
      {0, 300, 201, 202, 202, kNothing},  // still 67%
      {-10, 10, -10, 10, 10, kRepaint},   // 0% -> 100%
      {0, INT_MAX, 0, INT_MAX, INT_MAX, kRepaint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.min << ".." << c.max << " at " << c.progress << ", Progress := " << c.write);
    GaugeModel model = ModelWith(c.min, c.max, c.progress);
    EXPECT_EQ(model.SetProgress(c.write), c.expected);
    EXPECT_EQ(model.Progress(), c.stored);
    EXPECT_EQ(model.MaxValue(), c.max);
  }
}

TEST(GaugePercent, IsTheTruncatedShareDone) {
  struct Case {
    int min, max, progress, percent;
  } cases[] = {
      {0, 17, 16, 94},
      {0, 100, 29, 29},  // 29 / 100 * 100 would give 28.999...
      {0, 100, 57, 57},
      {0, 3, 1, 33},
      {0, 3, 2, 66},
      {0, 0, 0, 0},
      {5, 5, 5, 0},
      {0, 1, 1, 100},
      {-10, 10, 0, 50},
      {0, 7, 7, 100},
      {0, 1000, 9, 0},
      {0, 1000, 999, 99},
      {INT_MIN, INT_MAX, 0, 50},  // 2^31 of 2^32 - 1: just above a half
      {INT_MIN, INT_MAX, -1, 49},
      {INT_MIN, INT_MAX, INT_MAX - 1, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.progress << " of " << c.min << ".." << c.max);
    EXPECT_EQ(GaugePercent(c.min, c.max, c.progress), c.percent);
    EXPECT_EQ(ModelWith(c.min, c.max, c.progress).Percent(), c.percent);
  }
}

TEST(GaugePercent, AgreesWithIntegerArithmeticOverManyRanges) {
  const int maxima[] = {1, 3, 7, 17, 99, 100, 101, 1000, 4099, 65537, 1000003, INT_MAX};
  for (int max : maxima) {
    for (int min : {0, -1, -max, INT_MIN}) {
      const std::int64_t span = static_cast<std::int64_t>(max) - min;
      for (std::int64_t step = 0; step <= 400; ++step) {
        const int progress = static_cast<int>(min + span * step / 400);
        ASSERT_EQ(GaugePercent(min, max, progress), ExactPercent(min, max, progress))
            << progress << " of " << min << ".." << max;
      }
    }
  }
}

TEST(GaugeModel, ARunRepaintsOncePerNewPercentageAtMostHundredTimes) {
  for (int files : {1, 2, 17, 99, 100, 101, 257, 100000}) {
    SCOPED_TRACE(files);
    GaugeModel model;
    (void)model.SetBackColor(gauge_state::Running);
    (void)model.SetMaxValue(files);
    int repaints = 0;
    std::set<int> shown = {0};
    for (int done = 0; done < files; ++done) {
      if (model.SetProgress(done) == kRepaint) ++repaints;
      shown.insert(ExactPercent(0, files, done));
      ASSERT_EQ(model.Percent(), ExactPercent(0, files, done));
    }
    EXPECT_EQ(repaints, static_cast<int>(shown.size()) - 1);
    EXPECT_LE(repaints, 100);
    // The end of a run: green, then 0 of 0.
    EXPECT_EQ(model.SetBackColor(gauge_state::Ready), kRepaint);
    EXPECT_EQ(model.SetMaxValue(0), kRepaint);
    EXPECT_EQ(model.Progress(), 0);
    EXPECT_EQ(model.Percent(), 0);
  }
}

TEST(GaugeInterior, IsTheGaugeLessItsOnePixelBorder) {
  struct Case {
    int width, height;
    GaugeRect interior;
  } cases[] = {
      {816, 11, {1, 1, 815, 10}}, {3, 3, {1, 1, 2, 2}}, {2, 2, {1, 1, 1, 1}},
      {1, 1, {1, 1, 1, 1}},       {0, 0, {1, 1, 1, 1}}, {-4, 11, {1, 1, 1, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    GaugeRect r = GaugeInterior(c.width, c.height);
    EXPECT_EQ(r, c.interior);
    EXPECT_GE(r.width(), 0);
    EXPECT_GE(r.height(), 0);
  }
}

TEST(GaugeFillLimit, IsTheTruncatedShareOfTheInteriorPlusOne) {
  // Expected values worked out with double arithmetic in Python: int(W * (P * 0.01)).
  struct Case {
    int interior_width, percent, limit;
  } cases[] = {
      {814, 0, 0},    {814, 1, 8},    {814, 29, 236},  {814, 50, 407},
      {814, 94, 766}, {814, 99, 806}, {814, 100, 815},  // the whole interior: x = 1 .. 814
      {99, 29, 28},  // 0.29 is a little less than 29/100 in binary
      {99, 57, 57},   {99, 58, 57},   {99, 100, 100},  {0, 100, 1},
      {0, 99, 0},     {9, 10, 1},     {-3, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.percent << "% of " << c.interior_width);
    EXPECT_EQ(GaugeFillLimit(c.interior_width, c.percent), c.limit);
  }
}

TEST(GaugeTextOrigin, CentresOnTheInteriorPlusOneTruncatingTowardZero) {
  struct Case {
    int interior_width, interior_height, text_width, text_height;
    GaugePoint origin;
  } cases[] = {
      {814, 9, 12, 12, {401, -1}},  // the window's gauge, "0%": 3 pixels of the text hidden
      {814, 9, 13, 12, {401, -1}}, {814, 9, 24, 13, {395, -1}}, {10, 9, 16, 12, {-2, -1}},
      {10, 9, 15, 14, {-2, -2}},   {10, 9, 11, 10, {0, 0}},     {20, 20, 6, 6, {7, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text_width << "x" << c.text_height << " in "
                                    << c.interior_width << "x" << c.interior_height);
    EXPECT_EQ(GaugeTextOrigin(c.interior_width, c.interior_height, c.text_width, c.text_height),
              c.origin);
  }
}

TEST(GaugeText, IsThePercentageAndAPerCentSign) {
  EXPECT_EQ(GaugeText(0), "0%");
  EXPECT_EQ(GaugeText(94), "94%");
  EXPECT_EQ(GaugeText(100), "100%");
}

}  // namespace
}  // namespace ui
