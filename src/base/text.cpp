// The text routines every layer shares: cutters, tests of free text, conversions.
#include "base/text.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>

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

char decimal_separator() {
#ifndef _WIN32
    return '.';  // Linux's cavio-report writes its figures as the C locale does
#else
    // LOCALE_SDECIMAL may be up to three characters; only the first one can
    // stand for a single character, and only an ASCII one for a char.
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) < 2 || buffer[0] > 0x7F) {
        return '.';
    }
    return static_cast<char>(buffer[0]);
#endif
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

bool has_arguments(std::wstring_view command_line) {
    size_t end = 0;
    if (!command_line.empty() && command_line.front() == L'"') {
        end = command_line.find(L'"', 1);
        end = end == std::wstring_view::npos ? command_line.size() : end + 1;
    } else {
        end = command_line.find_first_of(L" \t");
        end = end == std::wstring_view::npos ? command_line.size() : end;
    }
    return command_line.find_first_not_of(L" \t", end) != std::wstring_view::npos;
}

#ifdef _WIN32
namespace {

// One conversion through UTF-16: the size first, then the characters.
std::wstring wide_in(UINT code_page, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(size, 0)), L'\0');
    if (size > 0) {
        MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    }
    return wide;
}

std::string narrow_in(UINT code_page, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0) {
        WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                            nullptr, nullptr);
    }
    return narrow;
}

}  // namespace

std::string utf8_of(std::wstring_view text) {
    return narrow_in(CP_UTF8, text);
}

std::wstring wide_of(std::string_view text) {
    return wide_in(CP_UTF8, text);
}

std::string utf8_of_ansi(std::string_view text) {
    return narrow_in(CP_UTF8, wide_in(CP_ACP, text));
}

std::string ansi_of_utf8(std::string_view text) {
    return narrow_in(CP_ACP, wide_in(CP_UTF8, text));
}
#else
// Linux speaks UTF-8: its "code page" is UTF-8 itself.
std::string utf8_of_ansi(std::string_view text) {
    return std::string(text);
}

std::string ansi_of_utf8(std::string_view text) {
    return std::string(text);
}
#endif
