#include "ui/message_loop.h"

namespace ui {

namespace {

int pumps_running = 0;
// The innermost operation in progress; each links to the one it began in.
OperationSpan* innermost = nullptr;

}  // namespace

PumpScope::PumpScope() { ++pumps_running; }

PumpScope::~PumpScope() { --pumps_running; }

int PumpDepth() { return pumps_running; }

OperationSpan::OperationSpan(Operation kind)
    : kind_(kind), depth_(pumps_running), outer_(innermost) {
  innermost = this;
}

OperationSpan::~OperationSpan() { innermost = outer_; }

bool OperationRunning(Operation kind) {
  for (const OperationSpan* span = innermost; span; span = span->outer_) {
    if (span->kind_ == kind) return true;
  }
  return false;
}

void FileListRefilled() {
  // Spans that began outside the pumps now running are waiting for one of them to return.
  for (OperationSpan* span = innermost; span; span = span->outer_) {
    if (span->depth_ < pumps_running) span->refilled_ = true;
  }
}

}  // namespace ui
