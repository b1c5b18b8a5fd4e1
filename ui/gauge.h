// The progress gauge: a horizontal bar with a one-pixel black border, the share done in
// ForeColor from the left over BackColor, and the percentage written over it by exclusive-or.
// It paints itself, and a property write repaints it at once, straight onto the window, so the
// bar moves on the screen even while no message is being handled.
#pragma once

#include <optional>
#include <string>

#include "ui/control.h"
#include "ui/gauge_math.h"

namespace ui {

// Draws the whole gauge, of the given size, at the top-left corner of dc: composed off-screen
// and copied in one piece, so it never flickers.
void PaintGauge(HDC dc, int width, int height, const GaugeModel& model, HFONT font);

struct TGaugeOptions {
  // The colours it starts with; none: GaugeModel's.
  std::optional<TColor> fore_color = std::nullopt;
  std::optional<TColor> back_color = std::nullopt;
};

class TGauge : public TWinControl {
 public:
  using Options = TGaugeOptions;
  TGauge(TWinControl* parent, const TPlacement& placement, Options options = {});

  TColor BackColor() const { return model_.BackColor(); }
  TColor ForeColor() const { return model_.ForeColor(); }
  int MinValue() const { return model_.MinValue(); }
  int MaxValue() const { return model_.MaxValue(); }
  int Progress() const { return model_.Progress(); }
  // The whole-number percentage shown, 0..100.
  int PercentDone() const { return model_.Percent(); }

  // The writes follow GaugeModel's rules; those that change the picture repaint at once.
  void SetBackColor(TColor color);
  void SetForeColor(TColor color);
  void SetMaxValue(int value);
  void SetProgress(int value);

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Apply(GaugeUpdate update);
  void PaintClient(HDC dc) const;

  GaugeModel model_;
};

}  // namespace ui
