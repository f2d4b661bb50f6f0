// Small routines every layer shares: the exception raiser, text cutters, the
// GUID formatter and the cell-kind tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

// The one error class of the program; its message is the short text the
// raiser was given ("no dx10", "can't get DC", ...).
class general_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises general_error(message) iff condition holds.
void RaiseIf(bool condition, const std::string& message);

// Cuts text at the first separator: head gets what lies before it and text
// keeps what follows it. Without a separator head gets all of text and text
// becomes empty, so repeated calls walk the parts in order.
void SplitAt(std::string& text, char separator, std::string& head);

// Decimal text of number, blanks in front up to width; never cut.
void PadLeft(int32_t number, int32_t width, std::string& result);

// Upper-case hex: Data1 with at least four digits, Data2 and Data3 with four,
// then the eight Data4 bytes unseparated; three hyphens, no braces.
std::string GuidToText(const GUID& guid);

// The first character of the user's decimal separator ("." when the
// locale has none).
char DecimalSeparator();

// True iff text does not start with a blank and holds only digits, "+", "-",
// ".", "E", blanks and the user's decimal separator. Empty text counts.
bool IsNumeric(const std::string& text);

// True iff text is exactly "yes" or "no".
bool IsYesNo(const std::string& text);
