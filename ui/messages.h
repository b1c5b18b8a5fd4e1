// The component layer's own window messages, all in one range above WM_APP so that they meet
// no message of the system's nor another one of ours (the tests' helper windows take theirs
// from WM_APP + 0x100 on).
#pragma once

#include <windows.h>

namespace ui {

constexpr UINT kFirstLayerMessage = WM_APP + 0x10;

// Posted to a list that holds its redraw: whichever message loop runs next lets it draw again.
constexpr UINT kResumeRedraw = kFirstLayerMessage + 0;
// Posted to the application's window when it was activated (its task-bar entry was clicked):
// the main window is restored and activated once the message loop takes it, when nothing
// modal holds it disabled any longer.
constexpr UINT kActivateMainForm = kFirstLayerMessage + 1;

}  // namespace ui
