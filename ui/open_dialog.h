// The open-file dialog, used to name a file.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class TOpenDialog : public TObject {
 public:
  // The characters the dialog's name buffer holds, its terminating NUL included.
  static constexpr int kNameBufferSize = 260;

  // filter: "label|pattern|label|pattern...".
  explicit TOpenDialog(std::string filter) : filter_(std::move(filter)) {}
  const std::string& FileName() const { return file_name_; }
  // For the tests, which offer a name of their own: the program offers only the name accepted
  // last.
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  // Shows the dialog, owned by the application's window, with the program's other windows
  // disabled, offering FileName; true when the user accepted a name, whose full path FileName
  // then holds until the next accepted dialog. False when the user cancelled or the dialog
  // failed; FileName is then unchanged.
  bool Execute();

 private:
  std::string filter_;
  std::string file_name_;
};

}  // namespace ui
