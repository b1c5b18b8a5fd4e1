// What a tick of the window's timer decides before it touches a control: which of the two lists
// takes the keyboard focus from where the pointer is. Free of Win32, so it is checked on any
// machine.
#pragma once

namespace tick {

enum class List { kNone, kFiles, kDigests };

// Where the lists lie at the moment of the tick, in the window's client coordinates.
struct Geometry {
  int lists_top = 0;    // top of the digest list's panel
  int bottom_top = 0;   // top of the bottom strip
  int files_left = 0;   // left edge of the file list
  int files_width = 0;  // width of the file list
};

// The pointer's height counts only strictly inside the band: below the lists' first rows and
// above the bottom strip.
constexpr int kBandInset = 20;
// The pointer is on the digest list's side only this far right of the file list's right edge.
constexpr int kSplitOffset = 200;

constexpr int BandTop(const Geometry& g) { return g.lists_top + kBandInset; }
constexpr int SplitLine(const Geometry& g) { return g.files_left + g.files_width + kSplitOffset; }
constexpr bool InFocusBand(const Geometry& g, int y) { return y > BandTop(g) && y < g.bottom_top; }

struct FocusInput {
  bool pointer_known = false;  // the pointer's position could be read
  int x = 0, y = 0;            // the pointer in client coordinates (may lie outside the window)
  // The window is the active window and is enabled: no dialog or message box of the program,
  // and no other program's window, takes the user's keys.
  bool window_active = false;
  List focused = List::kNone;  // the list that holds the focus; kNone for any other control
};

// The list to give the focus to, or kNone to leave the focus where it is.
List FocusTarget(const Geometry& geometry, const FocusInput& input);

}  // namespace tick
