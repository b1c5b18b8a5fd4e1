// The application object: starts the program's one window, runs the message loop, pumps
// messages for long operations, and shows errors that escape event handlers.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "ui/pump_count.h"

namespace ui {

class TForm;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Prepares COM for the shell's dialogs and creates the application's hidden window.
  void Initialize();

  // Builds a form; the first one built becomes the main form. The application owns it.
  template <typename Form>
  void CreateForm(Form*& reference) {
    auto form = std::make_unique<Form>();
    reference = form.get();
    AddForm(std::move(form));
  }
  TForm* MainForm() const { return main_form_; }
  // Destroys the forms (for a program's end and for tests that build the window anew).
  void DestroyForms();

  // Shows the main form as the program was started (normal, maximized or minimized) and takes
  // and dispatches messages until the application is told to end.
  void Run(int show_command);

  // Dispatches every message waiting in the thread's queue, then returns. A quit message met
  // here only marks the application as ending. Pumps nest, as Pumps() counts them. Painting is
  // paced (ui/frame_pump.h): a pump within a display frame of the last one that painted leaves
  // it waiting for a later loop.
  void ProcessMessages();
  // The pumps running now, one inside the other (a test leaves one behind through it).
  PumpCount* Pumps() { return &pumps_; }
  // Asks the application to end: the main loop stops once control comes back to it.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The application's hidden window: owner of its message boxes.
  HWND Handle() const { return handle_; }
  const std::string& Title() const { return title_; }

  // The default error display: the error's text in a modal box with the error icon. Nothing
  // escapes it: when memory runs out while the box is being made, the platform's out-of-memory
  // text shows instead.
  void ShowException(const std::exception& error) noexcept;
  // A message box owned by the application's window, with the program's other windows
  // disabled while it shows.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

 private:
  void AddForm(std::unique_ptr<TForm> form);
  // For the main loop, where no handler runs, before each message: a frame left without
  // unwinding (a fault the system swallowed between the program's frames) may have left pumps,
  // long operations or disabled windows behind, and they are cleared here, each with a debug
  // log line.
  void RepairAbandonedFrames();
  // Handles the keys the forms take for themselves (Tab), asking the key's window and those it
  // lies in; true when the message was used.
  bool IsFormKey(const MSG& message);
  void DispatchOne(MSG& message);

  HWND handle_ = nullptr;
  std::string title_;
  bool terminated_ = false;
  PumpCount pumps_;
  bool com_initialized_ = false;
  TForm* main_form_ = nullptr;
  std::vector<std::unique_ptr<TForm>> forms_;
};

// The one application object of the program.
extern TApplication* Application;

// The program file's full path, whatever its length.
std::string ProgramPath();

// Shows an error in the default error display (also before the application exists).
void ShowException(const std::exception& error) noexcept;

// Shows an error that is no std::exception in the default error display.
void ShowUnknownException() noexcept;

// Runs code that the system called (a window procedure, a hook, a callback): an error it raises
// stops here and goes to the default error display, and the system is given `fallback`. No
// exception crosses into the system, whose frames it would pass or leave behind.
template <typename Result, typename Code>
Result CalledBySystem(Result fallback, Code&& code) noexcept {
  try {
    return code();
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowUnknownException();
  }
  return fallback;
}

}  // namespace ui
