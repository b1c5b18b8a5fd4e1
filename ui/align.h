// Placement of aligned children in a container, without Win32: each time a container's size
// changes, its aligned children are placed along its edges and the client child fills the rest.
#pragma once

#include <vector>

namespace ui {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const TBounds&) const = default;
};

// Where a component goes: its name, how it aligns in its parent, its bounds in the parent's
// client area, and its place in the parent's Tab order (-1 for a component that takes no focus).
// A row of a form's stored layout carries one.
struct TPlacement {
  const char* name = "";
  TAlign align = TAlign::alNone;
  TBounds bounds = {};
  int tab_order = -1;
};

struct TAlignItem {
  TAlign align = TAlign::alNone;
  TBounds bounds;  // in: the current bounds; out: the placed bounds
};

// Places the items inside area in this order: alTop children along the top edge (topmost
// first), alBottom along the bottom edge (lowest first), alLeft along the left edge of what
// remains (leftmost first), alRight along the right edge of what remains (the one whose right
// edge lies further right first), and last the alClient child fills the rest. Items that tie
// keep their given order; alNone items are left as they are.
void ArrangeAligned(TBounds area, std::vector<TAlignItem>& items);

}  // namespace ui
