// The one error class of the program, and its raiser.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

// Carries the short text its raiser was given ("no dx10", "can't get DC", ...).
class general_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises general_error(message) iff condition holds.
inline void raise_if(bool condition, const std::string& message) {
    if (condition) {
        throw general_error(message);
    }
}

// A status code as Windows writes it: "0x887A0004".
inline std::string status_code_text(int32_t status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
    return text;
}
