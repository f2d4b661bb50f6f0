// The form's fields: their encoding and the submission's identifier.
#include "submit/form_fields.h"

#include <chrono>
#include <random>

namespace {

bool needs_escape(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x81) {
        return true;
    }
    switch (byte) {
        case '#':
        case '%':
        case '*':
        case '<':
        case '>':
        case '[':
        case ']':
        // A standard form decoder would cut the value at these or read a
        // blank for the plus.
        case '&':
        case '=':
        case '+':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string encode_form_value(std::string_view value) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size() + value.size() / 4);
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (needs_escape(byte)) {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string form_body(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string body;
    for (const auto& [name, value] : fields) {
        if (value.empty()) {
            continue;
        }
        if (!body.empty()) {
            body += '&';
        }
        body += name;
        body += '=';
        body += encode_form_value(value);
    }
    return body;
}

uint32_t submission_identifier(uint32_t r) {
    r &= 0xFFF;
    return r * 4096 + (r ^ 0x6B9);
}

uint32_t draw_submission_identifier() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    std::uniform_int_distribution<uint32_t> draw(0, 4095);
    return submission_identifier(draw(generator));
}
