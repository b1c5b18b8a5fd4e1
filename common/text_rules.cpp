#include "common/text_rules.h"

namespace vorlund {

size_t LastCharStart(std::string_view text) {
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    start = i;
    i += (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  return start;
}

std::string TrimSystemText(std::string text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

std::string ErrorDisplayText(std::string text) {
  if (text.empty()) return text;
  std::string_view last = std::string_view(text).substr(LastCharStart(text));
  // Compare the last character with "." as unsigned bytes, all of its bytes.
  std::string_view dot(".");
  bool greater = false;
  for (size_t i = 0; i < last.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(last[i]);
    unsigned char b = i < dot.size() ? static_cast<unsigned char>(dot[i]) : 0;
    if (i >= dot.size()) {
      greater = true;  // "." is a prefix of a longer character
      break;
    }
    if (a != b) {
      greater = a > b;
      break;
    }
  }
  if (greater) text += '.';
  return text;
}

std::string ApplicationTitleFromPath(std::string_view path) {
  // A trail byte may be '\\': scan by characters to find the real last separator.
  size_t name_start = 0;
  for (size_t i = 0; i < path.size();) {
    unsigned char b = static_cast<unsigned char>(path[i]);
    if (IsGbkLeadByte(b) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    ++i;
    if (b == '\\' || b == '/' || b == ':') name_start = i;
  }
  std::string_view name = path.substr(name_start);
  std::string title;
  bool first = true;
  for (size_t i = 0; i < name.size();) {
    unsigned char b = static_cast<unsigned char>(name[i]);
    if (IsGbkLeadByte(b) && i + 1 < name.size()) {
      title.append(name.substr(i, 2));
      i += 2;
    } else {
      if (b == '.') break;
      title += (!first && b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
      ++i;
    }
    first = false;
  }
  return title;
}

}  // namespace vorlund
