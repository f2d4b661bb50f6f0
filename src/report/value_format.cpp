// Numbers as the pages write them: fixed, general, and names for those without digits.
#include "report/value_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <algorithm>

namespace {

// The name of a value that has no digits; none for one that has.
std::optional<std::string> special_text(double value) {
    if (std::isnan(value)) {
        return "Nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+Inf" : "-Inf";
    }
    return std::nullopt;
}

}  // namespace

std::string fixed_six_text(float value) {
    if (std::optional<std::string> special = special_text(value)) {
        return *special;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

std::string general_text(float value, char decimal_separator) {
    const double wide = value;
    if (std::optional<std::string> special = special_text(wide)) {
        return *special;
    }
    if (wide == 0) {
        return "0";
    }
    // 15 significant digits: d.dddddddddddddde[+-]x
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(wide), std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string text = wide < 0 ? "-" : "";
    if (exponent + 1 > 15 || std::fabs(wide) < 0.00001) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimal_separator;
            text += digits.substr(1);
        }
        text += 'E';
        if (exponent < 0) {
            text += '-';
        }
        text += std::to_string(std::abs(exponent));
        return text;
    }
    if (exponent < 0) {
        text += '0';
        text += decimal_separator;
        text.append(static_cast<size_t>(-exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto whole = static_cast<size_t>(exponent + 1);
    if (digits.size() <= whole) {
        text += digits;
        text.append(whole - digits.size(), '0');
        return text;
    }
    text += digits.substr(0, whole);
    text += decimal_separator;
    text += digits.substr(whole);
    return text;
}

std::string driver_version_text(int64_t version) {
    const auto bits = static_cast<uint64_t>(version);
    return std::to_string((bits >> 48) & 0xFFFF) + "." + std::to_string((bits >> 32) & 0xFFFF) + "." +
           std::to_string((bits >> 16) & 0xFFFF) + "." + std::to_string(bits & 0xFFFF);
}

std::string shader_version_text(uint32_t version) {
    return std::to_string((version >> 8) & 0xFF) + "." + std::to_string(version & 0xFF);
}

std::string hex_id_text(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string flag_names(uint32_t value, std::initializer_list<std::pair<uint32_t, const char*>> names) {
    std::string text;
    for (const auto& [bit, name] : names) {
        if ((value & bit) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(name);
            value &= ~bit;
        }
    }
    if (value != 0) {
        text += (text.empty() ? "" : ", ") + hex_id_text(value, 1);
    }
    return text.empty() ? "none" : text;
}

namespace {

// "-340282346638528859811704183484516925440.000000": digits, a point and six.
bool reads_as_long_real(const std::string& value) {
    const size_t point = value.find('.');
    const size_t digits_from = value.starts_with('-') ? 1 : 0;
    if (point == std::string::npos || point < digits_from + 10 || value.size() != point + 7) {
        return false;
    }
    const auto digits = [&](size_t from, size_t to) {
        return std::all_of(value.begin() + static_cast<std::ptrdiff_t>(from),
                           value.begin() + static_cast<std::ptrdiff_t>(to),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    return digits(digits_from, point) && digits(point + 1, value.size());
}

}  // namespace

std::string readable_number_text(const std::string& value) {
    if (!reads_as_long_real(value)) {
        return value;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%e", std::strtod(value.c_str(), nullptr));
    return text;
}
