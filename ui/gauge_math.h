// The progress gauge's properties and geometry, without Win32: how each property write changes
// the gauge and whether it must be repainted, the whole-number percentage, the width of the
// share done and the place of the percentage text.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// What a property write asks of the gauge's window.
enum class GaugeUpdate { kNothing, kRepaint };

// A rectangle in the gauge's own pixels; right and bottom lie just outside it.
struct GaugeRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const GaugeRect&) const = default;
};

struct GaugePoint {
  int x = 0;
  int y = 0;
  bool operator==(const GaugePoint&) const = default;
};

// The gauge's range, progress and colours (0x00BBGGRR values). Progress always lies within
// MinValue..MaxValue, and MinValue never exceeds MaxValue.
class GaugeModel {
 public:
  int MinValue() const { return min_value_; }
  int MaxValue() const { return max_value_; }
  int Progress() const { return progress_; }
  std::uint32_t ForeColor() const { return fore_color_; }
  std::uint32_t BackColor() const { return back_color_; }
  // The whole-number share done, 0..100.
  int Percent() const;

  // A colour equal to the current one changes nothing; any other is stored and repainted.
  [[nodiscard]] GaugeUpdate SetForeColor(std::uint32_t color);
  [[nodiscard]] GaugeUpdate SetBackColor(std::uint32_t color);
  // For the tests of the range's rules (the program's gauge keeps its minimum at 0). An equal
  // value changes nothing. A value above MaxValue raises EInvalidArgument; otherwise it is
  // stored, Progress is raised to it when smaller, and the gauge is repainted.
  [[nodiscard]] GaugeUpdate SetMinValue(int value);
  // An equal value changes nothing. A value below MinValue raises EInvalidArgument; otherwise it
  // is stored, Progress is lowered to it when larger, and the gauge is repainted.
  [[nodiscard]] GaugeUpdate SetMaxValue(int value);
  // The value is clamped to MinValue..MaxValue first. An unchanged result changes nothing; a
  // changed one is stored, and repainted only when the whole-number percentage changes.
  [[nodiscard]] GaugeUpdate SetProgress(int value);

 private:
  int min_value_ = 0;
  int max_value_ = 100;
  int progress_ = 0;
  std::uint32_t fore_color_ = 0x0000FF;
  std::uint32_t back_color_ = 0x008000;
};

// (progress - min) * 100 / (max - min) in floating point, truncated toward zero; 0 when
// max == min; a progress outside the range counts as its nearer end. Exact for every 32-bit
// range.
int GaugePercent(int min_value, int max_value, int progress);

// The interior of a gauge of this size: everything but its one-pixel black border.
GaugeRect GaugeInterior(int width, int height);

// The x, counted from the gauge's left edge, left of which the interior shows the share done:
// trunc(W * (percent * 0.01)) with W = interior width + 1, at most W. 0 and 1 mean no share.
int GaugeFillLimit(int interior_width, int percent);

// Where the percentage text starts, counted from the gauge's top-left corner: centred on the
// interior size plus one, both halves truncated toward zero.
GaugePoint GaugeTextOrigin(int interior_width, int interior_height, int text_width,
                           int text_height);

// The text written over the bar: the percentage followed by a per-cent sign.
std::string GaugeText(int percent);

}  // namespace ui
