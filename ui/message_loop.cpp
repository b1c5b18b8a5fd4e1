#include "ui/message_loop.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

struct Record {
  unsigned long long id;
  Operation kind;
  int depth;  // the pumps running when the span began
  bool refilled;
};

int pumps_running = 0;
// The operations in progress, in the order they began. Ids are never reused.
std::vector<Record> records;
unsigned long long next_id = 1;

Record* Find(unsigned long long id) {
  auto it =
      std::find_if(records.begin(), records.end(), [id](const Record& r) { return r.id == id; });
  return it == records.end() ? nullptr : &*it;
}

}  // namespace

PumpScope::PumpScope() { ++pumps_running; }

PumpScope::~PumpScope() {
  if (pumps_running > 0) --pumps_running;
}

int PumpDepth() { return pumps_running; }

OperationSpan::OperationSpan(Operation kind) : id_(next_id++) {
  records.push_back({id_, kind, pumps_running, false});
}

OperationSpan::~OperationSpan() {
  records.erase(std::remove_if(records.begin(), records.end(),
                               [this](const Record& r) { return r.id == id_; }),
                records.end());
}

bool OperationSpan::ListRefilled() const {
  const Record* record = Find(id_);
  return !record || record->refilled;
}

bool OperationRunning(Operation kind) {
  return std::any_of(records.begin(), records.end(),
                     [kind](const Record& r) { return r.kind == kind; });
}

void FileListRefilled() {
  // Spans that began outside the pumps now running are waiting for one of them to return.
  for (Record& record : records) {
    if (record.depth < pumps_running) record.refilled = true;
  }
}

std::string ResetAtMainLoop() {
  if (pumps_running == 0 && records.empty()) return std::string();
  std::string left = "left behind by abandoned frames: " + std::to_string(pumps_running) +
                     " pump(s), " + std::to_string(records.size()) + " operation(s); cleared";
  pumps_running = 0;
  records.clear();
  return left;
}

}  // namespace ui
