#include "ui/gauge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/gauge_states.h"
#include "common/errors.h"
#include "common/texts.h"
#include "ui/form.h"

namespace ui {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kScribble = 0xFF0000;  // blue: a colour the gauge never shows here

// A 32-bit top-down picture in memory whose pixels the test reads back as 0x00BBGGRR.
class Picture {
 public:
  Picture(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Picture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    const std::uint32_t bgra = bits_[y * width_ + x];  // 0xAARRGGBB in memory order
    return ((bgra & 0xFF) << 16) | (bgra & 0xFF00) | ((bgra >> 16) & 0xFF);
  }
  void FillWith(std::uint32_t color) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        bits_[y * width_ + x] = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
      }
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// The window's font: "宋体", a character height of 12 pixels.
class WindowFont {
 public:
  WindowFont()
      : font_(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, vorlund::texts::kFontName)) {}
  ~WindowFont() { DeleteObject(font_); }
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

GaugeModel Model(std::uint32_t back, int max, int progress, std::uint32_t fore = 0x0000FF) {
  GaugeModel model;
  (void)model.SetBackColor(back);
  (void)model.SetForeColor(fore);
  (void)model.SetMaxValue(max);
  (void)model.SetProgress(progress);
  return model;
}

// What a gauge pixel shows without the text: the border, the share done, the rest.
std::uint32_t Plain(const GaugeModel& model, int limit, int width, int height, int x, int y) {
  if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return kBlack;
  return x < limit ? model.ForeColor() : model.BackColor();
}

struct TextPixels {
  int count = 0;
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;  // ink box, right/bottom inside
};

// Checks that every pixel is the plain bar or, for text, its exact inverse; returns the text.
TextPixels CheckAgainstPlainBar(const Picture& picture, const GaugeModel& model, int limit) {
  TextPixels text;
  const int w = picture.width(), h = picture.height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t plain = Plain(model, limit, w, h, x, y);
      const std::uint32_t seen = picture.At(x, y);
      if (seen == plain) continue;
      const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      if (border || seen != (plain ^ 0xFFFFFF)) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << seen
                      << ", the bar there is " << plain;
        return text;
      }
      ++text.count;
      text.left = std::min(text.left, x);
      text.right = std::max(text.right, x);
      text.top = std::min(text.top, y);
      text.bottom = std::max(text.bottom, y);
    }
  }
  return text;
}

TEST(PaintGauge, DrawsABlackBorderAndTheShareDoneFromTheLeft) {
  WindowFont font;
  // The window's gauge is 816 x 11: W = 815. Limits as int(815 * (P * 0.01)).
  struct Case {
    int percent, limit;
  } cases[] = {{0, 0}, {1, 8}, {29, 236}, {50, 407}, {94, 766}, {99, 806}, {100, 815}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    const GaugeModel model = Model(gauge_state::Running, 100, c.percent);
    Picture picture(816, 11);
    picture.FillWith(kScribble);
    PaintGauge(picture.dc(), 816, 11, model, font.get());
    const TextPixels text = CheckAgainstPlainBar(picture, model, c.limit);
    EXPECT_GT(text.count, 0);
    // The text sits in the middle; the ends of the bar show it plainly.
    EXPECT_GT(text.left, 380);
    EXPECT_LT(text.right, 436);
  }
}

TEST(PaintGauge, TextPixelsAreTheInverseOfTheColourBeneath) {
  WindowFont font;
  struct Case {
    const char* name;
    std::uint32_t back;
    int progress;
    std::uint32_t text;
  } cases[] = {
      {"ready", gauge_state::Ready, 0, 0xFF7FFF},
      {"listing", gauge_state::Listing, 0, 0xFFFF00},
      {"running", gauge_state::Running, 0, 0x3F3F3F},
      {"running, all done", gauge_state::Running, 100, 0xFFFF00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture(816, 11);
    PaintGauge(picture.dc(), 816, 11, Model(c.back, 100, c.progress), font.get());
    int text_pixels = 0;
    for (int y = 1; y < 10; ++y)
      for (int x = 1; x < 815; ++x) {
        const std::uint32_t seen = picture.At(x, y);
        const std::uint32_t bar = c.progress == 100 ? 0x0000FF : c.back;
        if (seen == bar) continue;
        EXPECT_EQ(seen, c.text) << x << ", " << y;
        ++text_pixels;
      }
    EXPECT_GT(text_pixels, 5);
  }
}

TEST(PaintGauge, TextAcrossTheEdgeOfTheShareInvertsEachSide) {
  WindowFont font;
  // 50% of a 61-pixel bar: the share ends at x = 30, in the middle of the text.
  const GaugeModel model = Model(gauge_state::Running, 2, 1);
  Picture picture(61, 20);
  PaintGauge(picture.dc(), 61, 20, model, font.get());
  int over_red = 0, over_grey = 0;
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 60; ++x) {
      const std::uint32_t seen = picture.At(x, y);
      const std::uint32_t bar = x < 30 ? 0x0000FF : 0xC0C0C0;
      const std::uint32_t inverse = x < 30 ? 0xFFFF00 : 0x3F3F3F;
      if (seen != bar) {
        EXPECT_EQ(seen, inverse) << x << ", " << y;
      }
      over_red += seen == 0xFFFF00;
      over_grey += seen == 0x3F3F3F;
    }
  EXPECT_GT(over_red, 0);
  EXPECT_GT(over_grey, 0);
}

TEST(PaintGauge, TextIsCentredAndGrowsWithItsDigits) {
  WindowFont font;
  struct Case {
    int percent;
    int ink_width;
  } results[] = {{0, 0}, {7, 0}, {42, 0}, {100, 0}};
  for (Case& c : results) {
    SCOPED_TRACE(c.percent);
    const GaugeModel model = Model(gauge_state::Ready, 100, c.percent);
    Picture picture(101, 31);
    PaintGauge(picture.dc(), 101, 31, model, font.get());
    const TextPixels text = CheckAgainstPlainBar(picture, model, GaugeFillLimit(99, c.percent));
    ASSERT_GT(text.count, 0);
    // The ink lies wholly inside and about as far from either side (glyphs are not symmetric
    // in their cells, hence the slack).
    const int left_gap = text.left - 1, right_gap = 99 - text.right;
    const int top_gap = text.top - 1, bottom_gap = 29 - text.bottom;
    EXPECT_LE(std::abs(left_gap - right_gap), 4) << left_gap << " " << right_gap;
    EXPECT_LE(std::abs(top_gap - bottom_gap), 6) << top_gap << " " << bottom_gap;
    c.ink_width = text.right - text.left + 1;
  }
  EXPECT_LT(results[0].ink_width, results[2].ink_width);
  EXPECT_LT(results[2].ink_width, results[3].ink_width);
}

TEST(PaintGauge, StaysWithinItsSize) {
  WindowFont font;
  Picture picture(40, 30);
  for (auto [width, height] : {std::pair{20, 11}, {1, 1}, {2, 5}, {0, 0}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    picture.FillWith(kScribble);
    PaintGauge(picture.dc(), width, height, Model(gauge_state::Listing, 100, 50), font.get());
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        if (x >= width || y >= height) {
          ASSERT_EQ(picture.At(x, y), kScribble) << x << ", " << y;
        }
      }
    }
    if (width > 0) {
      EXPECT_EQ(picture.At(0, 0), kBlack);
    }
  }
}

// A real gauge on a shown window, as along the bottom of the main window.
class GaugeWindow : public testing::Test {
 protected:
  static constexpr int kWidth = 400, kHeight = 11;

  // One window for the whole suite: a top-level window takes Wine a while to take down.
  static void SetUpTestSuite() {
    const TFormParams params = {
        "VorlundGaugeTest",        "gauge", 100,          100,    kWidth, 60,
        vorlund::texts::kFontName, -12,     ANSI_CHARSET, nullptr};
    form_ = new TForm("Form", params);
    form_->Show(SW_SHOWNOACTIVATE);
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
    Pump();
  }

  void SetUp() override {
    gauge_ = std::make_unique<TGauge>(
        form_, TPlacement{.name = "Gauge1", .bounds = {0, 49, kWidth, kHeight}});
    UpdateWindow(form_->Handle());
    Pump();
  }
  void TearDown() override {
    gauge_.reset();
    Pump();
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  // Covers what the window shows, straight on its surface, without any message.
  void Scribble() {
    HDC dc = GetDC(gauge_->Handle());
    const RECT r = {0, 0, kWidth, kHeight};
    SetDCBrushColor(dc, kScribble);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    ReleaseDC(gauge_->Handle(), dc);
  }

  // What the window shows now.
  std::unique_ptr<Picture> Shown() {
    auto picture = std::make_unique<Picture>(kWidth, kHeight);
    HDC dc = GetDC(gauge_->Handle());
    BitBlt(picture->dc(), 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    ReleaseDC(gauge_->Handle(), dc);
    return picture;
  }

  bool ShowsScribble() { return Shown()->At(kWidth / 4, kHeight / 2) == kScribble; }

  // Expects the window to show exactly the gauge's picture for model.
  void ExpectShows(const GaugeModel& model) {
    Picture expected(kWidth, kHeight);
    PaintGauge(expected.dc(), kWidth, kHeight, model, form_->Font());
    const auto shown = Shown();
    // Apart from the text, a plain bar: the border, the share, the rest.
    const int limit = GaugeFillLimit(kWidth - 2, model.Percent());
    for (int x : {0, 3, limit - 1, limit, kWidth - 3, kWidth - 1}) {
      if (x < 0 || x >= kWidth) continue;
      SCOPED_TRACE(::testing::Message() << "column " << x);
      EXPECT_EQ(shown->At(x, 0), kBlack);
      EXPECT_EQ(shown->At(x, 5), Plain(model, limit, kWidth, kHeight, x, 5));
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (shown->At(x, y) != expected.At(x, y)) {
          ADD_FAILURE() << "(" << x << ", " << y << ") shows " << std::hex << shown->At(x, y)
                        << " instead of " << expected.At(x, y);
          return;
        }
  }

  static TForm* form_;
  std::unique_ptr<TGauge> gauge_;
};

TForm* GaugeWindow::form_ = nullptr;

TEST_F(GaugeWindow, StartsGreenAtZeroOfHundred) {
  EXPECT_EQ(gauge_->BackColor(), 0x008000u);
  EXPECT_EQ(gauge_->ForeColor(), 0x0000FFu);
  EXPECT_EQ(gauge_->MinValue(), 0);
  EXPECT_EQ(gauge_->MaxValue(), 100);
  EXPECT_EQ(gauge_->Progress(), 0);
  EXPECT_EQ(gauge_->PercentDone(), 0);
  EXPECT_FALSE(gauge_->TabStop());
  ExpectShows(GaugeModel());
}

TEST_F(GaugeWindow, PropertyWritesRepaintAtOnceWithoutMessages) {
  // Each write, as a folder listing and a digest run make them; the window is covered before
  // each one and read right after it, with no message handled in between.
  enum Property { kBack, kFore, kMax, kProgress };
  struct Step {
    Property property;
    int value;
  } steps[] = {
      {kBack, gauge_state::Listing},
      {kBack, gauge_state::Ready},
      {kBack, gauge_state::Running},
      {kProgress, 50},
      {kMax, 17},  // Progress follows MaxValue down: 100%
      {kProgress, 16},
      {kProgress, 1},
      {kFore, 0x00FFFF},
      {kBack, gauge_state::Ready},
      {kMax, 0},  // the end of a run
  };
  GaugeModel model;
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << step.property << " := " << step.value);
    Scribble();
    ASSERT_TRUE(ShowsScribble());
    switch (step.property) {
      case kBack:
        gauge_->SetBackColor(step.value);
        (void)model.SetBackColor(step.value);
        break;
      case kFore:
        gauge_->SetForeColor(step.value);
        (void)model.SetForeColor(step.value);
        break;
      case kMax:
        gauge_->SetMaxValue(step.value);
        (void)model.SetMaxValue(step.value);
        break;
      case kProgress:
        gauge_->SetProgress(step.value);
        (void)model.SetProgress(step.value);
        break;
    }
    ExpectShows(model);
  }
  EXPECT_EQ(gauge_->MaxValue(), 0);
  EXPECT_EQ(gauge_->Progress(), 0);
}

TEST_F(GaugeWindow, WritesThatChangeNothingShownLeaveTheWindowAlone) {
  gauge_->SetMaxValue(1000);
  gauge_->SetProgress(5);
  Scribble();
  gauge_->SetBackColor(gauge_state::Ready);  // equal
  gauge_->SetForeColor(0x0000FF);            // equal
  gauge_->SetMaxValue(1000);                 // equal
  gauge_->SetProgress(5000);                 // clamped: 1000, 100%
  EXPECT_FALSE(ShowsScribble());
  Scribble();
  gauge_->SetProgress(1000);  // clamped value unchanged
  gauge_->SetProgress(999);   // 99%
  EXPECT_FALSE(ShowsScribble());
  Scribble();
  gauge_->SetProgress(995);  // stored, still 99%
  EXPECT_EQ(gauge_->Progress(), 995);
  EXPECT_TRUE(ShowsScribble());
  gauge_->SetProgress(9);  // 0%
  EXPECT_FALSE(ShowsScribble());
  Scribble();
  gauge_->SetProgress(0);  // stored, still 0%
  EXPECT_EQ(gauge_->Progress(), 0);
  EXPECT_TRUE(ShowsScribble());
}

TEST_F(GaugeWindow, PaintMessagesDrawTheSamePicture) {
  gauge_->SetBackColor(gauge_state::Running);
  gauge_->SetMaxValue(17);
  gauge_->SetProgress(16);
  const GaugeModel model = Model(gauge_state::Running, 17, 16);
  // Uncovered: the window system asks for a paint.
  Scribble();
  InvalidateRect(gauge_->Handle(), nullptr, TRUE);
  UpdateWindow(gauge_->Handle());
  ExpectShows(model);
  // Printed into another picture.
  Picture printed(kWidth, kHeight), expected(kWidth, kHeight);
  SendMessageA(gauge_->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()),
               PRF_CLIENT);
  PaintGauge(expected.dc(), kWidth, kHeight, model, form_->Font());
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(printed.At(x, y), expected.At(x, y)) << x << y;
}

TEST_F(GaugeWindow, MaxValueBelowMinValueRaisesAndLeavesTheGauge) {
  gauge_->SetMaxValue(40);
  gauge_->SetProgress(30);
  Scribble();
  try {
    gauge_->SetMaxValue(-1);
    ADD_FAILURE() << "no error";
  } catch (const vorlund::EInvalidArgument& error) {
    EXPECT_STREQ(error.what(), "Value must be between 1 and 2147483647");
  }
  EXPECT_EQ(gauge_->MaxValue(), 40);
  EXPECT_EQ(gauge_->Progress(), 30);
  EXPECT_TRUE(ShowsScribble());
}

}  // namespace
}  // namespace ui
