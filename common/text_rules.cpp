#include "common/text_rules.h"

#include <cstdio>

#include "common/texts.h"

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

namespace {

// The lower-case form of a code page 936 capital: the Latin letters A to Z, and the double-byte
// capitals that have a lower-case form in the code page (full-width Latin, Greek, Cyrillic,
// Roman numerals I to X). Roman numerals XI and XII have none there and stay as they are.
struct DoubleByteCapitals {
  unsigned char lead, first, last, lower_first;
};
constexpr DoubleByteCapitals kCapitals[] = {
    {0xA2, 0xF1, 0xFA, 0xA1},  // Roman numerals I to X
    {0xA3, 0xC1, 0xDA, 0xE1},  // full-width A to Z
    {0xA6, 0xA1, 0xB8, 0xC1},  // Greek
    {0xA7, 0xA1, 0xC1, 0xD1},  // Cyrillic
};

void AppendLower(std::string& out, std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) {
    out += (lead >= 'A' && lead <= 'Z') ? static_cast<char>(lead + 32) : character[0];
    return;
  }
  const auto trail = static_cast<unsigned char>(character[1]);
  for (const DoubleByteCapitals& c : kCapitals) {
    if (lead == c.lead && trail >= c.first && trail <= c.last) {
      out += character[0];
      out += static_cast<char>(c.lower_first + (trail - c.first));
      return;
    }
  }
  out.append(character);
}

}  // namespace

std::string PositionText(int row, int count) {
  char text[64];
  std::snprintf(text, sizeof text, texts::kPositionFormat, row, count);
  return text;
}

std::string LowerGbk(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t length =
        (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    AppendLower(out, text.substr(i, length));
    i += length;
  }
  return out;
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
  // Up to the first "." that is a character of its own (a trail byte may be 0x2E too).
  size_t end = 0;
  while (end < name.size() && name[end] != '.') {
    end += (IsGbkLeadByte(static_cast<unsigned char>(name[end])) && end + 1 < name.size()) ? 2 : 1;
  }
  name = name.substr(0, end);
  if (name.empty()) return std::string();
  const size_t first =
      (IsGbkLeadByte(static_cast<unsigned char>(name[0])) && name.size() > 1) ? 2 : 1;
  return std::string(name.substr(0, first)) + LowerGbk(name.substr(first));
}

}  // namespace vorlund
