// Which of the two names the platform reports for a folder entry the listing uses.
#pragma once

#include <string_view>

namespace vorlund {

// The name a folder entry is listed under (the last part of its row, or of the folder text a
// listing descends into): its long name, unless that holds a "?" and the entry has a short name
// free of "?". The platform writes "?" for each character of a name that the code page cannot
// carry, so such a long name names no file; the short name, where the volume keeps short names,
// names the same entry. "?" (0x3F) is below every trail byte of code page 936 (0x40 to 0xFE), so
// a byte search finds only the character itself.
std::string_view ListedName(std::string_view long_name, std::string_view short_name);

}  // namespace vorlund
