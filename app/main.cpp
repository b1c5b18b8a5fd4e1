// Program start: the application, its one window, the message loop, and exit code 0.
#include <windows.h>

#include "app/form1.h"
#include "ui/application.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int show_command) {
  ui::TApplication application;
  application.Initialize();
  application.CreateForm(Form1);
  application.Run(show_command);
  application.DestroyForms();
  return 0;
}
