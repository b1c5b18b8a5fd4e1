// The plain message dialog: a text for the user to read, with one button "OK".
#pragma once

#include <string>

namespace ui {

// Shows text in a modal box centred on the screen, captioned with the application title, with
// no icon and one button "OK"; the program's windows are disabled until it is closed.
void ShowMessage(const std::string& text);

}  // namespace ui
