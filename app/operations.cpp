#include "app/operations.h"

#include <algorithm>
#include <vector>

#include "ui/pump_count.h"

namespace vorlund {

namespace {

struct Record {
  unsigned long long id;
  Operation kind;
  int depth;  // the pumps running when the span began
  bool superseded;
};

// The operations in progress, in the order they began. Ids are never reused.
std::vector<Record> records;
unsigned long long next_id = 1;

Record* Find(unsigned long long id) {
  auto it =
      std::find_if(records.begin(), records.end(), [id](const Record& r) { return r.id == id; });
  return it == records.end() ? nullptr : &*it;
}

}  // namespace

OperationSpan::OperationSpan(Operation kind) : id_(next_id++) {
  records.push_back({id_, kind, ui::PumpDepth(), false});
}

OperationSpan::~OperationSpan() {
  records.erase(std::remove_if(records.begin(), records.end(),
                               [this](const Record& r) { return r.id == id_; }),
                records.end());
}

bool OperationSpan::Superseded() const {
  const Record* record = Find(id_);
  return !record || record->superseded;
}

bool OperationRunning(Operation kind) {
  return std::any_of(records.begin(), records.end(),
                     [kind](const Record& r) { return r.kind == kind; });
}

void StartListing() {
  // Spans that began outside the pumps now running are waiting for one of them to return.
  const int pumps_running = ui::PumpDepth();
  for (Record& record : records) {
    if (record.depth < pumps_running) record.superseded = true;
  }
}

std::string ClearOperations() {
  if (records.empty()) return std::string();
  std::string left = "left behind by abandoned frames: " + std::to_string(records.size()) +
                     " operation(s); cleared";
  records.clear();
  return left;
}

}  // namespace vorlund
