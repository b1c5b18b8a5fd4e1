#include "app/long_operation.h"

#include "ui/application.h"
#include "ui/controls.h"

namespace vorlund {

LongOperation::LongOperation(Operation kind, LongOperationOptions options)
    : span_(kind), disabled_(options.disables), fills_(options.fills) {}

bool LongOperation::AnyInProgress() {
  return OperationRunning(Operation::Listing) || OperationRunning(Operation::Run);
}

bool LongOperation::Pump() {
  ui::Application->ProcessMessages();
  return span_.Superseded();
}

void LongOperation::ShowRows() {
  if (fills_) fills_->Update();
}

}  // namespace vorlund
