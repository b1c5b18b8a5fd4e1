// The name of the file that a save writes into first, beside the file it is to replace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorlund {

// One of the names a file being written in place of another can take in that file's folder:
// a name of the 8.3 form (so the platform gives it no second, short name), in upper case, and no
// longer than room, the length of the replaced file's own name: where that file's path fits
// the path limit, the new file's path fits too. attempt picks one of the names, in a fixed order,
// for when one is taken; empty when there is no such name (room below 2, or attempt beyond
// the names of that length).
//   room 12 and more: "~VL" and five hexadecimal digits of attempt, then ".TMP";
//   room 2 to 11:     "~" and min(room - 1, 7) hexadecimal digits of attempt.
std::string StagingFileName(std::size_t room, std::uint32_t attempt);

}  // namespace vorlund
