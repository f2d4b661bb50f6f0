// Small text routines every layer shares: the text cutters, the GUID
// formatter and the cell-kind tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Cuts text at the first separator: head gets what lies before it and text
// keeps what follows it. Without a separator head gets all of text and text
// becomes empty, so repeated calls walk the parts in order.
void split_at(std::string& text, char separator, std::string& head);

// Decimal text of number, blanks in front up to width; never cut.
void pad_left(int32_t number, int32_t width, std::string& result);

// Upper-case hex: Data1 with at least four digits, Data2 and Data3 with four,
// then the eight Data4 bytes unseparated; three hyphens, no braces.
std::string guid_text(const GUID& guid);

// The first character of the user's decimal separator ("." when the
// locale has none).
char decimal_separator();

// True iff text does not start with a blank and holds only digits, "+", "-",
// ".", "E", blanks and the user's decimal separator. Empty text counts.
bool reads_as_number(const std::string& text);

// True iff text is exactly "yes" or "no".
bool reads_as_yes_no(const std::string& text);
