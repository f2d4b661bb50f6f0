// The checks of a saved report's text: UTF-8 and how deep it nests.
#include "report/json_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

size_t first_invalid_utf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        // Most text is ASCII: eight bytes at a time while no high bit is set.
        uint64_t eight = 0;
        if (i + 8 <= text.size() && (std::memcpy(&eight, bytes + i, 8), (eight & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        const unsigned char lead = bytes[i];
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        if (length == 0 || (length == 2 && lead < 0xC2) || i + length > text.size()) {
            return i;
        }
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return i;
            }
            code = code << 6 | (bytes[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return i;
        }
        i += length;
    }
    return std::string::npos;
}

size_t nesting_depth(const std::string& text) {
    size_t depth = 0;
    size_t deepest = 0;
    bool in_string = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_string) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

reason refusal(const std::string& name, const std::string& sentence) {
    return {name, -1, {}, sentence, {}};
}
