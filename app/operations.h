// The listing-and-run rule: the long operations that run inside a handler and pump messages
// meanwhile (a folder listing, a digest run), which of them are in progress, and which of them
// a new listing supersedes. The listing's handlers and the run's guard both read it from here.
//
// The records live in a table of their own, never in a handler's frame: a frame can be left
// without unwinding (the system swallows a fault raised in a window procedure it called, and
// the frames between are abandoned), and a record inside such a frame would dangle. A span
// holds only the number of its record. Once control is back in the main loop no operation can
// be in progress: the main loop clears whatever abandoned frames left (ClearOperations).
#pragma once

#include <string>

namespace vorlund {

enum class Operation { Listing, Run };

// A long operation in progress, from its construction to its destruction (the scope of the
// handler code that runs it). Spans nest as the handlers do.
class OperationSpan {
 public:
  explicit OperationSpan(Operation kind);
  ~OperationSpan();
  OperationSpan(const OperationSpan&) = delete;
  OperationSpan& operator=(const OperationSpan&) = delete;

  // True once a listing has started in a pump that runs within this span: the rows the
  // operation went by are gone. A listing started by the span's own code outside such a pump
  // does not count. A span whose record the main loop has cleared counts as superseded.
  bool Superseded() const;

 private:
  unsigned long long id_;
};

// Whether an operation of this kind is in progress (in any span open now).
bool OperationRunning(Operation kind);

// Marks the start of a new listing into the file list, just before the list is emptied: every
// operation waiting for one of the pumps now running to return is superseded by it.
void StartListing();

// For the main loop, each time before it waits for a message: clears the operations that
// abandoned frames left behind. Returns what was cleared, for a debug log line, or an empty
// text when nothing was.
std::string ClearOperations();

}  // namespace vorlund
