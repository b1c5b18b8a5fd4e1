#include "ui/gauge.h"

#include <algorithm>
#include <string>

#include "common/handles.h"

namespace ui {
namespace {

constexpr char kGaugeClass[] = "TGauge";
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Only the colour bytes: a high byte would make GDI read the value as a palette entry.
COLORREF Rgb(TColor color) { return static_cast<COLORREF>(color & 0x00FFFFFF); }

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  const RECT r = {left, top, right, bottom};
  SetDCBrushColor(dc, color);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Inverts the picture wherever the percentage text has a pixel, inside the interior only.
// The text is drawn into a one-bit mask first: a mask knows no smoothed edges, so every text
// pixel is exactly the inverse of the bar beneath it.
void InvertText(HDC picture, int width, int height, const GaugeRect& interior, int percent,
                HFONT font) {
  if (interior.width() <= 0 || interior.height() <= 0) return;
  vorlund::MemoryDc mask(CreateCompatibleDC(picture));
  vorlund::GdiObject<HBITMAP> mask_bits(CreateBitmap(width, height, 1, 1, nullptr));
  if (!mask || !mask_bits) return;
  vorlund::Selection mask_selected(mask.Get(), mask_bits.Get());
  vorlund::Selection font_selected(mask.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  PatBlt(mask.Get(), 0, 0, width, height, BLACKNESS);

  const std::string text = GaugeText(percent);
  const int length = static_cast<int>(text.size());
  SIZE extent = {};
  GetTextExtentPoint32A(mask.Get(), text.c_str(), length, &extent);
  const GaugePoint origin =
      GaugeTextOrigin(interior.width(), interior.height(), extent.cx, extent.cy);
  SetTextAlign(mask.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetBkMode(mask.Get(), TRANSPARENT);
  SetTextColor(mask.Get(), kWhite);
  TextOutA(mask.Get(), origin.x, origin.y, text.c_str(), length);

  // From a one-bit source, 0 bits take the target's text colour and 1 bits its background.
  SetTextColor(picture, kBlack);
  SetBkColor(picture, kWhite);
  BitBlt(picture, interior.left, interior.top, interior.width(), interior.height(), mask.Get(),
         interior.left, interior.top, SRCINVERT);
}

}  // namespace

void PaintGauge(HDC dc, int width, int height, const GaugeModel& model, HFONT font) {
  if (width <= 0 || height <= 0) return;
  vorlund::MemoryDc picture(CreateCompatibleDC(dc));
  vorlund::GdiObject<HBITMAP> picture_bits(CreateCompatibleBitmap(dc, width, height));
  if (!picture || !picture_bits) return;
  vorlund::Selection selected(picture.Get(), picture_bits.Get());

  const GaugeRect interior = GaugeInterior(width, height);
  PatBlt(picture.Get(), 0, 0, width, height, BLACKNESS);
  Fill(picture.Get(), interior.left, interior.top, interior.right, interior.bottom,
       Rgb(model.BackColor()));
  const int percent = model.Percent();
  const int limit = GaugeFillLimit(interior.width(), percent);
  Fill(picture.Get(), interior.left, interior.top, std::min(limit, interior.right), interior.bottom,
       Rgb(model.ForeColor()));
  InvertText(picture.Get(), width, height, interior, percent, font);

  BitBlt(dc, 0, 0, width, height, picture.Get(), 0, 0, SRCCOPY);
}

TGauge::TGauge(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {}) {
  // Before the window exists: nothing is painted yet.
  if (options.fore_color) (void)model_.SetForeColor(*options.fore_color);
  if (options.back_color) (void)model_.SetBackColor(*options.back_color);
  // No background brush: every paint covers the whole window.
  RegisterOwnClass(kGaugeClass, CS_HREDRAW | CS_VREDRAW, nullptr);
  CreateHandle(kGaugeClass, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, "",
               parent ? parent->Handle() : nullptr);
}

void TGauge::SetBackColor(TColor color) { Apply(model_.SetBackColor(color)); }
void TGauge::SetForeColor(TColor color) { Apply(model_.SetForeColor(color)); }
void TGauge::SetMaxValue(int value) { Apply(model_.SetMaxValue(value)); }
void TGauge::SetProgress(int value) { Apply(model_.SetProgress(value)); }

void TGauge::Apply(GaugeUpdate update) {
  if (update != GaugeUpdate::kRepaint || !Handle()) return;
  // Straight onto the window, not through the message queue: a long operation that pumps no
  // messages still shows its progress.
  vorlund::WindowDc dc(Handle());
  if (dc) PaintClient(dc.Get());
}

void TGauge::PaintClient(HDC dc) const {
  RECT client;
  GetClientRect(Handle(), &client);
  PaintGauge(dc, client.right, client.bottom, model_, Font());
}

LRESULT TGauge::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(Handle(), &ps)) {
        PaintClient(dc);
        EndPaint(Handle(), &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintClient(reinterpret_cast<HDC>(wparam));
      return 0;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

}  // namespace ui
