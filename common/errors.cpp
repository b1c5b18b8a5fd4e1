#include "common/errors.h"

#include <cstdio>
#include <string_view>

namespace vorlund {

std::string FormatFileError(const char* format, const std::string& path,
                            const std::string& system_text) {
  // Substitute by hand: a path may hold any byte, '%' included.
  std::string out;
  std::string_view rest(format);
  const std::string* args[] = {&path, &system_text};
  int used = 0;
  for (size_t pos; (pos = rest.find("%s")) != std::string_view::npos && used < 2;) {
    out.append(rest.substr(0, pos));
    out.append(*args[used++]);
    rest.remove_prefix(pos + 2);
  }
  out.append(rest);
  return out;
}

std::string FormatIntError(const char* format, int first, int second) {
  char buf[128];
  std::snprintf(buf, sizeof buf, format, first, second);
  return buf;
}

}  // namespace vorlund
