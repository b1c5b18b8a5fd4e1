// The window's stored layout: every component's name, alignment, place, size, Tab order and
// text, in creation order, in pixels at 96 pixels per inch. The form builds its components in
// this order, each from its row.
#pragma once

#include <span>

#include "ui/align.h"

namespace layout {

// The components in creation order: each names its row of Rows().
// clang-format off
enum Component {
  pnl1, Memo2, pnl2, pnl4, lbl1, Button2, Edit1, chk1, pnl5, FileListBox1, pnl6, pnl3, Gauge1,
  Button3, Button1, pnl8, pnl7, lbl2, lbl3, edt1, kComponentCount
};
// clang-format on

struct Row {
  ui::TPlacement placement;
  const char* text;  // null: no text
};

std::span<const Row> Rows();
inline const Row& RowOf(Component component) { return Rows()[component]; }

// The window's own stored values.
inline constexpr const char kCaption[] = "Vorlund";
inline constexpr int kLeft = 506, kTop = 171;
inline constexpr int kClientWidth = 816, kClientHeight = 612;
inline constexpr int kFontHeight = -12;
inline constexpr int kTimerInterval = 10;
// The smallest outer size the window keeps.
inline constexpr int kMinWidth = 832, kMinHeight = 665;

}  // namespace layout
