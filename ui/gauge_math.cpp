#include "ui/gauge_math.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "common/errors.h"

namespace ui {
namespace {

// The bounds named in a range error, kept inside int at the ends of the range.
int OneAbove(int value) { return value == INT_MAX ? INT_MAX : value + 1; }
int OneBelow(int value) { return value == INT_MIN ? INT_MIN : value - 1; }

}  // namespace

int GaugeModel::Percent() const { return GaugePercent(min_value_, max_value_, progress_); }

GaugeUpdate GaugeModel::SetForeColor(std::uint32_t color) {
  if (color == fore_color_) return GaugeUpdate::kNothing;
  fore_color_ = color;
  return GaugeUpdate::kRepaint;
}

GaugeUpdate GaugeModel::SetBackColor(std::uint32_t color) {
  if (color == back_color_) return GaugeUpdate::kNothing;
  back_color_ = color;
  return GaugeUpdate::kRepaint;
}

GaugeUpdate GaugeModel::SetMinValue(int value) {
  if (value == min_value_) return GaugeUpdate::kNothing;
  if (value > max_value_) {
    throw vorlund::EInvalidArgument(
        vorlund::FormatIntError(vorlund::kValueRangeError, INT_MIN, OneBelow(max_value_)));
  }
  min_value_ = value;
  progress_ = std::max(progress_, value);
  return GaugeUpdate::kRepaint;
}

GaugeUpdate GaugeModel::SetMaxValue(int value) {
  if (value == max_value_) return GaugeUpdate::kNothing;
  if (value < min_value_) {
    throw vorlund::EInvalidArgument(
        vorlund::FormatIntError(vorlund::kValueRangeError, OneAbove(min_value_), INT_MAX));
  }
  max_value_ = value;
  progress_ = std::min(progress_, value);
  return GaugeUpdate::kRepaint;
}

GaugeUpdate GaugeModel::SetProgress(int value) {
  value = std::clamp(value, min_value_, max_value_);
  if (value == progress_) return GaugeUpdate::kNothing;
  const int before = Percent();
  progress_ = value;
  return Percent() == before ? GaugeUpdate::kNothing : GaugeUpdate::kRepaint;
}

int GaugePercent(int min_value, int max_value, int progress) {
  if (max_value == min_value) return 0;
  // Both differences are exact in a double, and so is the product with 100 (below 2^40): the
  // one rounding is the division's, too small to carry a quotient across a whole number.
  const double done = static_cast<double>(progress) - static_cast<double>(min_value);
  const double range = static_cast<double>(max_value) - static_cast<double>(min_value);
  // Clamped for a progress outside the range, which the model never holds.
  return static_cast<int>(std::clamp(done * 100.0 / range, 0.0, 100.0));
}

GaugeRect GaugeInterior(int width, int height) {
  const int right = std::max(1, width - 1);
  const int bottom = std::max(1, height - 1);
  return {1, 1, right, bottom};
}

int GaugeFillLimit(int interior_width, int percent) {
  const int whole = std::max(0, interior_width) + 1;
  const double limit = whole * (percent * 0.01);
  if (limit <= 0) return 0;
  if (limit >= whole) return whole;
  return static_cast<int>(limit);
}

GaugePoint GaugeTextOrigin(int interior_width, int interior_height, int text_width,
                           int text_height) {
  // Integer division truncates toward zero, also for text larger than the bar.
  return {(interior_width + 1 - text_width) / 2, (interior_height + 1 - text_height) / 2};
}

std::string GaugeText(int percent) {
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", percent);
  return text;
}

}  // namespace ui
