// Program start: the application, its one window, the message loop, and exit code 0.
#include <windows.h>

#include <exception>

#include "app/form1.h"
#include "ui/application.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int show_command) {
  ui::TApplication application;
  try {
    application.Initialize();
    application.CreateForm(Form1);
  } catch (const std::exception& error) {
    // The window could not be built: the error shows and the program ends.
    ui::ShowException(error);
    return 1;
  }
  application.Run(show_command);
  application.DestroyForms();
  return 0;
}
