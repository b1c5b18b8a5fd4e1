// The message loop's bookkeeping for the long operations that run inside a handler and pump
// messages meanwhile (a folder listing, a digest run): which of them are in progress, how deeply
// pumps are nested, and whether the file list was refilled under an operation. The listing's
// supersede rule and the run's guard both read it from here.
#pragma once

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
  // not count.
  bool ListRefilled() const { return refilled_; }

 private:
  friend void FileListRefilled();
  friend bool OperationRunning(Operation kind);
  Operation kind_;
  int depth_;  // the pumps running when the span began
  bool refilled_ = false;
  OperationSpan* outer_;
};

// Whether an operation of this kind is in progress (in any span open now).
bool OperationRunning(Operation kind);

// Tells that the file list is about to be emptied and listed anew: every operation waiting for
// one of the pumps now running to return was refilled under.
void FileListRefilled();

}  // namespace ui
