// Listing the files of a folder into a string list, on the window's thread.
#pragma once

#include <string>

#include "ui/message_loop.h"

namespace ui {
class TStrings;
}

namespace vorlund {

// Appends to target, one row per file, the path of every file in folder: the folder text as
// given, "\", the name. While the main window's chk1 is ticked (read at each directory entry)
// it descends into every sub-folder other than "." and "..", in place, at any depth. Pending
// window messages are pumped once for every folder entered, before its listing starts. A folder
// that cannot be listed gives no rows and no message; an error of target.Add leaves the whole
// scan at once, with every open search closed.
//
// A listing that starts in one of the scan's pumps supersedes the scan: once that listing has
// returned, the scan appends nothing more and returns.
void ScanFolder(const std::string& folder, ui::TStrings& target);

// Marks the start of a new listing into the file list, just before the list is emptied. Every
// listing or digest run in progress that is waiting for one of its pumps to return is
// superseded by it.
inline void StartListing() { ui::FileListRefilled(); }

// A listing in progress from its construction to its destruction (the scope of a handler that
// empties the file list and fills it again). It is superseded when another listing starts in a
// pump that runs within it; a listing started by the span's own code outside such a pump does
// not count.
class ListingSpan : public ui::OperationSpan {
 public:
  ListingSpan() : OperationSpan(ui::Operation::Listing) {}
  bool Superseded() const { return ListRefilled(); }
};

}  // namespace vorlund
