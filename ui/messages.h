// The component layer's own window messages, all in one range at the top of the application's
// range (WM_APP to 0xBFFF), so that they meet no message of the system's nor another one of ours
// (the tests' helper windows take theirs from WM_APP + 0x100 on). A pump that does not paint
// takes every message below them from the queue in one call; these, and the registered
// messages above them, wait for the next loop that paints, at most a display frame later.
#pragma once

#include <windows.h>

namespace ui {

constexpr UINT kFirstLayerMessage = 0xBFF0;

// Posted to a list that holds its redraw: whichever message loop runs next lets it draw again.
constexpr UINT kResumeRedraw = kFirstLayerMessage + 0;
// Posted to the application's window when it was activated (its task-bar entry was clicked):
// the main window is restored and activated once the message loop takes it, when nothing
// modal holds it disabled any longer.
constexpr UINT kActivateMainForm = kFirstLayerMessage + 1;

static_assert(kFirstLayerMessage >= WM_APP + 0x1000 && kActivateMainForm < 0xC000,
              "the layer's messages lie at the top of the application's range");

}  // namespace ui
