#include "batch/export_text.h"

namespace vorlund {
namespace {

constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) < 0x21; }

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string ChosenExportName(std::string_view name) {
  // A byte below 0x21 is never part of a double-byte character (trail bytes are 0x40 or
  // above), so trimming bytes cannot split one.
  while (!name.empty() && IsBlankOrControl(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsBlankOrControl(name.back())) name.remove_suffix(1);
  return std::string(name);
}

std::string ExportTargetPath(std::string_view chosen) {
  // Bytes are compared one by one: '.' (0x2E) cannot be the trail byte of a double-byte
  // character, so a name whose last four bytes read ".txt" ends in that extension.
  const std::string_view extension = kExportExtension;
  bool has_extension = chosen.size() >= extension.size();
  for (size_t i = 0; has_extension && i < extension.size(); ++i)
    has_extension = AsciiLower(chosen[chosen.size() - extension.size() + i]) == extension[i];
  std::string target(chosen);
  if (!has_extension) target += extension;
  return target;
}

std::string ExportText(const std::vector<std::string>& rows) {
  size_t size = 0;
  for (const std::string& row : rows) size += row.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& row : rows) {
    text += row;
    text += "\r\n";
  }
  return text;
}

}  // namespace vorlund
