// The window's stored layout: every component with its class, parent, alignment, place, size,
// Tab order and text, in creation order, in pixels at 96 pixels per inch.
#pragma once

#include <span>

#include "ui/align.h"

namespace layout {

enum class Kind { Panel, ListBox, Edit, Button, CheckBox, Label, Gauge };

enum Flags : unsigned {
  kNone = 0,
  kBevel = 1,        // a raised bevel of one pixel
  kFlat = 2,         // no 3-D look; its controls inherit it
  kReadOnly = 4,     // an edit box the user cannot change
  kOwnFont = 8,      // a font of its own with the window's values
  kScrollWidth = 16  // the list's horizontal scroll width is -1
};

struct Row {
  const char* name;
  Kind kind;
  const char* parent;  // null: the window itself
  ui::TAlign align;
  int left, top, width, height;
  int tab_order;     // -1: takes no focus
  const char* text;  // null: no text
  unsigned flags;
};

std::span<const Row> Rows();

// The window's own stored values.
inline constexpr const char kCaption[] = "Vorlund";
inline constexpr int kLeft = 506, kTop = 171;
inline constexpr int kClientWidth = 816, kClientHeight = 612;
inline constexpr int kFontHeight = -12;
inline constexpr int kTimerInterval = 10;
// The smallest outer size the window keeps.
inline constexpr int kMinWidth = 832, kMinHeight = 665;

}  // namespace layout
