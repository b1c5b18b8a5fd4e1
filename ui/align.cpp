#include "ui/align.h"

#include <algorithm>

namespace ui {
namespace {

// The order in which the children of one alignment are placed: the one nearest to its edge first.
bool PlacedBefore(TAlign align, const TBounds& a, const TBounds& b) {
  switch (align) {
    case TAlign::alTop:
      return a.top < b.top;
    case TAlign::alBottom:
      return a.bottom() > b.bottom();
    case TAlign::alLeft:
      return a.left < b.left;
    case TAlign::alRight:
      return a.right() > b.right();
    default:
      return false;
  }
}

}  // namespace

void ArrangeAligned(TBounds area, std::vector<TAlignItem>& items) {
  int left = area.left, top = area.top, right = area.right(), bottom = area.bottom();
  for (TAlign align :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    std::vector<TAlignItem*> group;
    for (TAlignItem& item : items)
      if (item.align == align) group.push_back(&item);
    std::stable_sort(group.begin(), group.end(), [align](const TAlignItem* a, const TAlignItem* b) {
      return PlacedBefore(align, a->bounds, b->bounds);
    });
    for (TAlignItem* item : group) {
      TBounds& b = item->bounds;
      switch (align) {
        case TAlign::alTop:
          b = {left, top, std::max(0, right - left), b.height};
          top += b.height;
          break;
        case TAlign::alBottom:
          b = {left, bottom - b.height, std::max(0, right - left), b.height};
          bottom -= b.height;
          break;
        case TAlign::alLeft:
          b = {left, top, b.width, std::max(0, bottom - top)};
          left += b.width;
          break;
        case TAlign::alRight:
          b = {right - b.width, top, b.width, std::max(0, bottom - top)};
          right -= b.width;
          break;
        case TAlign::alClient:
          b = {left, top, std::max(0, right - left), std::max(0, bottom - top)};
          break;
        case TAlign::alNone:
          break;
      }
    }
  }
}

}  // namespace ui
