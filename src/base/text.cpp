#include "base/text.h"

#include <cstdio>

void split_at(std::string& text, char separator, std::string& head) {
    const auto p = text.find(separator);
    if (p == std::string::npos) {
        head = std::move(text);
        text.clear();
        return;
    }
    head = text.substr(0, p);
    text.erase(0, p + 1);
}

void pad_left(int32_t number, int32_t width, std::string& result) {
    result = std::to_string(number);
    if (width > 0 && result.size() < static_cast<size_t>(width)) {
        result.insert(0, static_cast<size_t>(width) - result.size(), ' ');
    }
}

std::string guid_text(const GUID& guid) {
    char text[64];
    std::snprintf(text, sizeof text, "%04lX-%04X-%04X-%02X%02X%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                  guid.Data4[7]);
    return text;
}

char decimal_separator() {
    // LOCALE_SDECIMAL may be up to three characters; only the first one can
    // stand for a single character.
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) < 2) {
        return '.';
    }
    return buffer[0];
}

bool reads_as_number(const std::string& text) {
    if (!text.empty() && text[0] == ' ') {
        return false;
    }
    const char separator = decimal_separator();
    for (const char c : text) {
        const bool allowed = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' ||
                             c == ' ' || c == separator;
        if (!allowed) {
            return false;
        }
    }
    return true;
}

bool reads_as_yes_no(const std::string& text) {
    return text == "yes" || text == "no";
}
