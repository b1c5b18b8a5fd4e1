// The saved digest list and its file name, as text rules that need no Win32.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlund {

// The extension every saved list carries.
inline constexpr const char kExportExtension[] = ".txt";

// The name the user chose: the dialog's name without the bytes below 0x21 (blanks and control
// characters) at either end.
std::string ChosenExportName(std::string_view dialog_name);

// The file the list is written to: the chosen name with ".txt" appended, unless the name ends
// in ".txt" already (in any mix of cases).
std::string ExportTargetPath(std::string_view chosen_name);

// The saved text: each row's bytes followed by CR LF, the last row included; nothing for no rows.
std::string ExportText(const std::vector<std::string>& rows);

}  // namespace vorlund
