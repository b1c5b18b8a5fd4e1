// The message loop's bookkeeping for the long operations that run inside a handler and pump
// messages meanwhile (a folder listing, a digest run): which of them are in progress, how deeply
// pumps are nested, and whether the file list was refilled under an operation. The listing's
// supersede rule and the run's guard both read it from here.
//
// The records live in a table of their own, never in a handler's frame: a frame can be left
// without unwinding (the system swallows a fault raised in a window procedure it called, and
// the frames between are abandoned), and a record inside such a frame would dangle. A scope
// object holds only the number of its record. Once control is back in the main loop, no pump
// runs and no operation can be in progress: the main loop clears whatever abandoned frames
// left in the table (ResetAtMainLoop).
#pragma once

#include <string>

namespace ui {

enum class Operation { Listing, Run };

// One pump of the application (TApplication::ProcessMessages) for its lifetime: pumps started
// within it are nested inside it.
class PumpScope {
 public:
  PumpScope();
  ~PumpScope();
  PumpScope(const PumpScope&) = delete;
  PumpScope& operator=(const PumpScope&) = delete;
};

// How many pumps are running now, one inside the other.
int PumpDepth();

// A long operation in progress, from its construction to its destruction (the scope of the
// handler code that runs it). Spans nest as the handlers do.
class OperationSpan {
 public:
  explicit OperationSpan(Operation kind);
  ~OperationSpan();
  OperationSpan(const OperationSpan&) = delete;
  OperationSpan& operator=(const OperationSpan&) = delete;

  // True once the file list has been refilled in a pump that runs within this span: the rows
  // the operation went by are gone. A refill by the span's own code outside such a pump does
  // not count. A span whose record the main loop has cleared counts as refilled under.
  bool ListRefilled() const;

 private:
  unsigned long long id_;
};

// Whether an operation of this kind is in progress (in any span open now).
bool OperationRunning(Operation kind);

// Tells that the file list is about to be emptied and listed anew: every operation waiting for
// one of the pumps now running to return was refilled under.
void FileListRefilled();

// For the main loop, each time before it waits for a message: clears the pumps and operations
// that abandoned frames left behind. Returns what was cleared, for a debug log line, or an
// empty text when nothing was.
std::string ResetAtMainLoop();

}  // namespace ui
