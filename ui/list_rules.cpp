#include "ui/list_rules.h"

#include <algorithm>

namespace ui {

int SelectionFor(int requested, int count) {
  return requested >= 0 && requested < count ? requested : -1;
}

int TopRowFor(int requested, int count, int page) {
  const int last_top = std::max(0, count - std::max(page, 1));
  return std::clamp(requested, 0, last_top);
}

}  // namespace ui
