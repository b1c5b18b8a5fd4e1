// Listing the files of a folder into a string list, on the window's thread.
#pragma once

#include <string>

namespace ui {
class TStrings;
}

namespace vorlund {

// Appends to target, one row per file, the path of every file in folder: the folder text as
// given, "\", the name. An entry is named by its long name, or by its short name where the long
// name holds a character the code page could not carry (ListedName). While the main window's
// chk1 is ticked (read at each directory entry) it descends into every sub-folder other than "."
// and "..", in place, at any depth. Pending window messages are pumped once for every folder
// entered, before its listing starts. A folder that cannot be listed gives no rows and no
// message; an error of target.Add leaves the whole scan at once, with every open search closed.
//
// The caller has started the listing (StartListing) before it emptied the list. A listing that
// starts in one of the scan's pumps supersedes the scan: once that listing has returned, the
// scan appends nothing more and returns.
void ScanFolder(const std::string& folder, ui::TStrings& target);

}  // namespace vorlund
