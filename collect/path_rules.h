// Text rules of folder listing that need no Win32: the path box's trimming and the folder text
// it derives, and the search pattern and rows the scanner forms.
//
// Texts are code page 936 (GBK) bytes. A double-byte character's trail byte may be 0x5C, the
// byte of "\"; the platform's own path functions take such a byte as part of its character, so
// the rules below look for "\" and "/" only as characters of their own, never as the second
// byte of a pair (a lead byte pairs with whatever byte follows it, as in LastCharStart).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorlund {

// The box text without its leading and trailing bytes of code 0 to 32 (blanks and control
// characters); inner ones stay. No GBK trail byte lies in that range.
std::string TrimBoxText(std::string_view text);

// Where a place in a box text (the caret, or one end of a selection) lies in TrimBoxText's
// result: moved left by the characters trimmed in front, and no further than the end of what
// stays. The text is length long, and the place counted, in one unit in which each trimmed
// character counts one: bytes, or the UTF-16 units of an edit control that keeps its text so.
std::size_t TrimmedBoxPlace(std::string_view text, std::size_t length, std::size_t place);

// The folder text that the path box rules test and list for an already trimmed box text, or
// nothing when there is none to test:
// - an empty text gives nothing;
// - a text ending in "\" has its trailing run of "\" turned into "/", then every "/" of the
//   whole text deleted and one "/" appended ('C:\dir\\' gives 'C:\dir/', 'C:\a/b\' 'C:\ab/');
// - otherwise a text holding a "/" anywhere gives nothing;
// - any other text is the folder text as it is.
std::optional<std::string> BoxFolderText(std::string_view box_text);

// True when the text's last character is "\" standing alone (not a trail byte).
bool EndsInBackslash(std::string_view text);

// The scanner's search pattern for a folder text: the folder text, then "\*.*".
std::string ScanPattern(std::string_view folder);

// A row of the file list, or the folder text of a sub-folder: the folder text, then exactly one
// "\", then the entry's name, whatever the folder text ends with.
std::string ScanRow(std::string_view folder, std::string_view name);

// The entry name held in a fixed name field: the bytes up to the first NUL, at most the field.
std::string_view EntryName(const char* field, std::size_t field_size);

// The two entries every listed folder holds besides its own: "." and "..", exactly.
bool IsDotEntry(std::string_view name);

}  // namespace vorlund
