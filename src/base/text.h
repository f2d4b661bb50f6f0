// Small text routines every layer shares: the text cutters, the tests of
// free text, and the conversions between UTF-8, which every text inside the
// program is, and what the platform speaks at its edges. No Windows header
// here: the report layer reads this too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Cuts text at the first separator: head gets what lies before it and text
// keeps what follows it. Without a separator head gets all of text and text
// becomes empty, so repeated calls walk the parts in order.
void split_at(std::string& text, char separator, std::string& head);

// Decimal text of number, blanks in front up to width; never cut.
void pad_left(int32_t number, int32_t width, std::string& result);

// The first character of the user's decimal separator ("." when the
// locale has none).
char decimal_separator();

// True iff text does not start with a blank and holds only digits, "+", "-",
// ".", "E", blanks and the user's decimal separator. Empty text counts.
bool reads_as_number(const std::string& text);

// True iff text is exactly "yes" or "no".
bool reads_as_yes_no(const std::string& text);

// Whether a Windows command line names anything after the program: the
// program's name runs to the next quote where it starts with one, else to
// the first blank (as CommandLineToArgvW splits it).
bool has_arguments(std::wstring_view command_line);

// UTF-16 (what the wide Win32 functions, DXGI and the clipboard speak) to
// UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8_of(std::wstring_view text);

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::wstring wide_of(std::string_view text);

// Text in the system's ANSI code page (Direct3D 9's identifiers, OpenGL's
// strings) to UTF-8.
std::string utf8_of_ansi(std::string_view text);

// UTF-8 to the system's ANSI code page: a character the code page cannot
// hold becomes its default character ("?"), as the platform converts.
std::string ansi_of_utf8(std::string_view text);
