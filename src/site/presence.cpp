// Whether a row's value counts as the device having what the row names.
#include "site/presence.h"

#include <algorithm>

bool counts_as_present(std::string_view value) {
    if (std::find(std::begin(absence_words), std::end(absence_words), value) != std::end(absence_words)) {
        return false;
    }
    std::string_view number = value.substr(0, value.find(' '));
    if (number.starts_with("0x")) {
        number.remove_prefix(2);
        return number.empty() || number.find_first_not_of('0') != std::string_view::npos;
    }
    // "0", "0.0", "0.000000", "-0": a zero, whatever follows it.
    const size_t digits = number.find_first_not_of("+-");
    if (digits == std::string_view::npos || digits > 1 || number[digits] != '0') {
        return true;
    }
    return number.find_first_not_of("+-0.") != std::string_view::npos;
}
