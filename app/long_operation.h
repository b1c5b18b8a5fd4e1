// A long operation: a listing into the file list or a digest run, which runs inside an event
// handler and pumps messages meanwhile, so that the window stays alive and a new folder can
// be chosen. docs/long-operations.md tells how the pumps nest and what a listing supersedes.
#pragma once

#include <windows.h>

#include <vector>

#include "app/operations.h"
#include "ui/task_windows.h"

namespace ui {
class TListBox;
}

namespace vorlund {

struct LongOperationOptions {
  // Windows disabled for the operation's lifetime, enabled again on every way out.
  std::vector<HWND> disables = {};
  // The list the operation fills: ShowRows paints what the pumps left of it unpainted.
  ui::TListBox* fills = nullptr;
};

// For the scope of the handler code that runs it: its record in the listing-and-run rule
// (app/operations.h), the windows it disables, its pumps and the list it fills. Operations nest
// as the handlers do. Whatever a frame left without unwinding leaves of one (its record, its
// disabled windows, its pumps) the main loop repairs.
class LongOperation {
 public:
  explicit LongOperation(Operation kind, LongOperationOptions options = {});
  LongOperation(const LongOperation&) = delete;
  LongOperation& operator=(const LongOperation&) = delete;

  // Whether a listing or a run is in progress now, in this handler or one whose pump runs it.
  static bool AnyInProgress();

  // Dispatches the messages waiting (TApplication::ProcessMessages). True when the operation
  // is superseded, in this pump or before: a listing started meanwhile, and the rows the
  // operation went by are gone.
  bool Pump();
  bool Superseded() const { return span_.Superseded(); }

  // Paints at once the rows of the list it fills that its last pumps left unpainted (a pump
  // paints at most once per display frame).
  void ShowRows();

 private:
  OperationSpan span_;
  ui::WindowsDisabled disabled_;
  ui::TListBox* fills_;
};

}  // namespace vorlund
