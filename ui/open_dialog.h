// The open-file dialog, used to name a file.
#pragma once

#include <string>

namespace ui {

class TOpenDialog {
 public:
  // The characters the dialog's name buffer holds, its terminating NUL included.
  static constexpr int kNameBufferSize = 260;

  // filter: "label|pattern|label|pattern...".
  explicit TOpenDialog(std::string filter) : filter_(std::move(filter)) {}
  const std::string& Filter() const { return filter_; }
  int FilterIndex() const { return filter_index_; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  // Shows the dialog, owned by the application's window, with the program's other windows
  // disabled, offering FileName; true when the user accepted a name, whose full path FileName
  // then holds until the next accepted dialog. False when the user cancelled or the dialog
  // failed; FileName is then unchanged.
  bool Execute();

 private:
  std::string filter_;
  int filter_index_ = 1;
  std::string file_name_;
};

}  // namespace ui
