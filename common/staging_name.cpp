#include "common/staging_name.h"

#include <algorithm>

namespace vorlund {

namespace {

// attempt in digits upper-case hexadecimal digits, or nothing when it needs more.
std::string HexDigits(std::uint32_t attempt, std::size_t digits) {
  std::string text(digits, '0');
  for (std::size_t i = digits; i-- > 0; attempt >>= 4) text[i] = "0123456789ABCDEF"[attempt & 0xF];
  return attempt == 0 ? text : std::string();
}

}  // namespace

std::string StagingFileName(std::size_t room, std::uint32_t attempt) {
  if (room >= 12) {
    const std::string digits = HexDigits(attempt, 5);
    return digits.empty() ? digits : "~VL" + digits + ".TMP";
  }
  if (room < 2) return std::string();
  const std::string digits = HexDigits(attempt, std::min<std::size_t>(room - 1, 7));
  return digits.empty() ? digits : "~" + digits;
}

}  // namespace vorlund
