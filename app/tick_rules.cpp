#include "app/tick_rules.h"

namespace tick {

List FocusTarget(const Geometry& geometry, const FocusInput& input) {
  if (!input.pointer_known || !input.window_active) return List::kNone;
  if (!InFocusBand(geometry, input.y)) return List::kNone;
  const int split = SplitLine(geometry);
  List side = input.x < split ? List::kFiles : input.x > split ? List::kDigests : List::kNone;
  return side == input.focused ? List::kNone : side;
}

}  // namespace tick
