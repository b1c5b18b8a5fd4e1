#include "collect/path_rules.h"

#include <cstring>

#include "common/text_rules.h"

namespace vorlund {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// Calls visit(offset, length) for each character of text in order: a GBK lead byte takes the
// byte after it along, whatever that byte is; a lead byte at the very end stands alone.
template <typename Visit>
void ForEachChar(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length =
        (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    visit(i, length);
    i += length;
  }
}

// The bytes that TrimBoxText keeps: [begin, end) of text.
struct TrimmedRange {
  std::size_t begin;
  std::size_t end;
};

TrimmedRange BoxTrim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return {begin, end};
}

}  // namespace

std::string TrimBoxText(std::string_view text) {
  const TrimmedRange kept = BoxTrim(text);
  return std::string(text.substr(kept.begin, kept.end - kept.begin));
}

std::size_t TrimmedBoxPlace(std::string_view text, std::size_t length, std::size_t place) {
  const TrimmedRange kept = BoxTrim(text);
  const std::size_t cut = kept.begin + (text.size() - kept.end);
  const std::size_t kept_length = length > cut ? length - cut : 0;
  const std::size_t moved = place > kept.begin ? place - kept.begin : 0;
  return moved < kept_length ? moved : kept_length;
}

bool EndsInBackslash(std::string_view text) {
  return !text.empty() && text.substr(LastCharStart(text)) == "\\";
}

std::optional<std::string> BoxFolderText(std::string_view box_text) {
  if (box_text.empty()) return std::nullopt;
  if (EndsInBackslash(box_text)) {
    // The trailing run of "\" (back to the first character that is not "\") becomes "/" and
    // then every "/" goes: the run and every slash before it vanish alike, and one "/" closes
    // the folder text.
    std::string folder;
    std::size_t run_start = 0;  // where the trailing run of "\" begins, in folder
    ForEachChar(box_text, [&](std::size_t at, std::size_t length) {
      std::string_view c = box_text.substr(at, length);
      if (c == "/") {
        run_start = folder.size();  // a slash ends the run too, and goes
        return;
      }
      folder.append(c);
      if (c != "\\") run_start = folder.size();
    });
    folder.resize(run_start);
    folder += '/';
    return folder;
  }
  bool slash = false;
  ForEachChar(box_text, [&](std::size_t at, std::size_t length) {
    if (box_text.substr(at, length) == "/") slash = true;
  });
  if (slash) return std::nullopt;
  return std::string(box_text);
}

std::string ScanPattern(std::string_view folder) {
  std::string pattern(folder);
  pattern += "\\*.*";
  return pattern;
}

std::string ScanRow(std::string_view folder, std::string_view name) {
  std::string row;
  row.reserve(folder.size() + 1 + name.size());
  row.append(folder);
  row += '\\';
  row.append(name);
  return row;
}

std::string_view EntryName(const char* field, std::size_t field_size) {
  const void* nul = std::memchr(field, '\0', field_size);
  return std::string_view(
      field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : field_size);
}

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }

}  // namespace vorlund
