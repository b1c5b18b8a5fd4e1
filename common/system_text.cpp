#include "common/system_text.h"

#include "common/errors.h"
#include "common/text_rules.h"

namespace vorlund {

std::string SystemErrorText(DWORD code) {
  char buf[256];
  DWORD len = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, code, 0, buf, sizeof buf, nullptr);
  return TrimSystemText(std::string(buf, len));
}

std::string FullPathName(const std::string& path) {
  char buf[MAX_PATH];
  char* file_part = nullptr;
  DWORD len = GetFullPathNameA(path.c_str(), sizeof buf, buf, &file_part);
  if (len == 0) return path;
  if (len < sizeof buf) return std::string(buf, len);
  std::string big(len, '\0');
  len = GetFullPathNameA(path.c_str(), len, big.data(), &file_part);
  big.resize(len < big.size() ? len : big.size());
  return big;
}

std::string FileErrorText(const char* format, const std::string& path, DWORD code) {
  return FormatFileError(format, FullPathName(path), SystemErrorText(code));
}

}  // namespace vorlund
