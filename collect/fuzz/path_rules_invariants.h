// Properties the path box rules keep for any input bytes, checked by the native property test
// and by the fuzz target alike. Each check names the first property that fails, or gives an
// empty text when all hold.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collect/path_rules.h"
#include "common/text_rules.h"

namespace vorlund::fuzz {

// The characters of a GBK text: a lead byte takes the next byte along, a final one stands alone.
inline std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> chars;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n =
        (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    chars.push_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

// The characters of a text other than "\" and "/".
inline std::vector<std::string_view> NonSeparators(std::string_view text) {
  std::vector<std::string_view> kept;
  for (std::string_view c : Characters(text)) {
    if (c != "\\" && c != "/") kept.push_back(c);
  }
  return kept;
}

inline int SlashCount(std::string_view text) {
  int count = 0;
  for (std::string_view c : Characters(text)) count += c == "/";
  return count;
}

// Whether the last character is "\" standing alone, by this file's own reading of the text.
inline bool LastIsBackslash(std::string_view text) {
  return !text.empty() && Characters(text).back() == "\\";
}

inline bool EndsInLoneLeadByte(std::string_view text) {
  return !text.empty() && LastCharStart(text) == text.size() - 1 &&
         IsGbkLeadByte(static_cast<unsigned char>(text.back()));
}

inline std::string CheckPathRules(std::string_view input) {
  auto low = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::string trimmed = TrimBoxText(input);
  if (!trimmed.empty() && (low(trimmed.front()) || low(trimmed.back()))) {
    return "trimmed text begins or ends with a code of 32 or below";
  }
  if (TrimBoxText(trimmed) != trimmed) return "trimming is not idempotent";
  // Only bytes of code 32 or below are cut, and only at the ends.
  std::size_t at = input.find(trimmed);
  if (at == std::string_view::npos) return "trimmed text is not a piece of the input";
  if (!trimmed.empty()) {
    for (std::size_t i = 0; i < input.size(); ++i) {
      if ((i < at || i >= at + trimmed.size()) && !low(input[i])) {
        return "trimming cut a byte above code 32";
      }
    }
  } else {
    for (char c : input) {
      if (!low(c)) return "trimming emptied a text holding a byte above code 32";
    }
  }

  std::optional<std::string> folder = BoxFolderText(trimmed);
  bool backslash_end = LastIsBackslash(trimmed);
  if (trimmed.empty() && folder) return "an empty box text gave a folder text";
  if (backslash_end) {
    if (!folder || folder->empty() || Characters(*folder).back() != "/") {
      return "a box text ending in \\ did not give a folder text ending in /";
    }
    if (SlashCount(*folder) != 1) return "the folder text holds a / besides its last character";
    if (NonSeparators(*folder) != NonSeparators(trimmed)) {
      return "the folder text lost or changed characters other than \\ and /";
    }
    // The length of the trailing run of "\" does not matter.
    if (BoxFolderText(trimmed + "\\") != folder) {
      return "one more trailing \\ changed the folder text";
    }
  } else if (!trimmed.empty()) {
    bool slash = SlashCount(trimmed) > 0;
    if (slash && folder) return "a box text holding / without ending in \\ gave a folder text";
    if (!slash && folder != trimmed) return "a plain box text was not its own folder text";
    // Any text followed by "\" names a folder (unless the "\" pairs with a final lead byte).
    if (!EndsInLoneLeadByte(trimmed)) {
      std::optional<std::string> closed = BoxFolderText(trimmed + "\\");
      if (!closed || closed->back() != '/') return "text + \\ did not give a folder text";
    }
  }

  // The scanner's forms: exactly what the folder text was, then the separator.
  std::string_view base = folder ? std::string_view(*folder) : std::string_view(trimmed);
  std::string pattern = ScanPattern(base);
  if (pattern.size() != base.size() + 4 || pattern.compare(0, base.size(), base) != 0 ||
      pattern.compare(base.size(), 4, "\\*.*") != 0) {
    return "the pattern is not the folder text followed by \\*.*";
  }
  std::string row = ScanRow(base, trimmed);
  if (row.size() != base.size() + 1 + trimmed.size() || row[base.size()] != '\\') {
    return "the row is not folder text, one \\, name";
  }
  return std::string();
}

}  // namespace vorlund::fuzz
