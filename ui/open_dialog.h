// The open-file dialog, used to name a file.
#pragma once

#include <string>

namespace ui {

class TOpenDialog {
 public:
  // filter: "label|pattern|label|pattern...".
  explicit TOpenDialog(std::string filter) : filter_(std::move(filter)) {}
  const std::string& Filter() const { return filter_; }
  int FilterIndex() const { return filter_index_; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  // Shows the dialog, owned by the application's window, with the program's other windows
  // disabled; true when the user accepted a name, which FileName then holds.
  bool Execute();

 private:
  std::string filter_;
  int filter_index_ = 1;
  std::string file_name_;
};

}  // namespace ui
