// The request and answer values the routes read and write, and query decoding.
#include "site/http_message.h"

#include <algorithm>

namespace {

std::string decoded(std::string_view text, bool plus_is_space) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (const std::optional<char> byte = escaped_byte(text.substr(i))) {
            out += *byte;
            i += 2;
        } else {
            out += plus_is_space && text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

const std::string* first_of(const header_list& list, std::string_view name, bool any_case) {
    for (const auto& [key, value] : list) {
        if (any_case ? same_name(key, name) : key == name) {
            return &value;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<char> escaped_byte(std::string_view text) {
    const auto digit = [](char c) -> std::optional<int> {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        c = static_cast<char>(c | 0x20);
        return c >= 'a' && c <= 'f' ? std::optional(c - 'a' + 10) : std::nullopt;
    };
    if (text.size() < 3 || text[0] != '%') {
        return std::nullopt;
    }
    const std::optional<int> high = digit(text[1]);
    const std::optional<int> low = digit(text[2]);
    return high && low ? std::optional(static_cast<char>(*high * 16 + *low)) : std::nullopt;
}

bool same_name(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string percent_decoded(std::string_view text) {
    return decoded(text, false);
}

header_list query_pairs(std::string_view query) {
    header_list pairs;
    while (!query.empty()) {
        const size_t end = query.find('&');
        const std::string_view pair = query.substr(0, end);
        if (!pair.empty()) {
            const size_t equals = pair.find('=');
            pairs.emplace_back(
                decoded(pair.substr(0, equals), true),
                equals == std::string_view::npos ? std::string() : decoded(pair.substr(equals + 1), true));
        }
        query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    }
    return pairs;
}

bool site_request::has_param(std::string_view name) const {
    return first_of(params, name, false) != nullptr;
}

std::string site_request::get_param_value(std::string_view name) const {
    const std::string* found = first_of(params, name, false);
    return found != nullptr ? *found : std::string();
}

std::string site_request::get_header_value(std::string_view name) const {
    const std::string* found = first_of(headers, name, true);
    return found != nullptr ? *found : std::string();
}

bool site_request::wants_html() const {
    const std::string accept = get_header_value("Accept");
    const size_t html = accept.find("text/html");
    return html != std::string::npos && accept.find("application/json") > html;
}

void site_response::set_header(const std::string& name, std::string value) {
    for (auto& [key, held] : headers) {
        if (same_name(key, name)) {
            held = std::move(value);
            return;
        }
    }
    headers.emplace_back(name, std::move(value));
}

std::string site_response::get_header_value(std::string_view name) const {
    const std::string* found = first_of(headers, name, true);
    return found != nullptr ? *found : std::string();
}

void site_response::set_content(std::string content, std::string type) {
    body = std::move(content);
    content_type = std::move(type);
}
