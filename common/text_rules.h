// Text rules of the program that need no Win32: code page 936 (GBK) character
// boundaries, the system text clean-up, the error display's text and the application title.
#pragma once

#include <string>
#include <string_view>

namespace vorlund {

// True for a byte that starts a double-byte character in code page 936.
constexpr bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The offset of the first byte of the last character of text (0 for an empty text).
size_t LastCharStart(std::string_view text);

// Removes every trailing character of code 32 or below and every trailing full stop.
std::string TrimSystemText(std::string text);

// The text the default error display shows: "." is added when the last character
// compares greater than "." (unsigned bytes, a double-byte character by both its bytes).
std::string ErrorDisplayText(std::string text);

// The text with every capital in lower case, as the system lowers code page 936 text: A to Z,
// and the double-byte capitals whose lower-case form the code page has.
std::string LowerGbk(std::string_view text);

// The position label's text: "当前位置: %d/%d" with a row counted from 1 (0 for none) and
// the file list's row count.
std::string PositionText(int row, int count);

// The application title: the program file's name without its folder and without
// everything from its first "." on, every character after the first in lower case.
std::string ApplicationTitleFromPath(std::string_view program_path);

}  // namespace vorlund
