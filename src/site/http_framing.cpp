// The header block checked against RFC 9112 before it is parsed.
#include "site/http_framing.h"

#include <algorithm>

namespace {

// RFC 9110's tchar: what a method and a field name are made of.
bool token_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

header_block refused(int status, std::string sentence) {
    header_block block;
    block.verdict = header_block::state::refused;
    block.status = status;
    block.sentence = std::move(sentence);
    return block;
}

// The request line "METHOD TARGET HTTP/1.x", each part once, one space apart.
header_block check_request_line(std::string_view line, const framing_limits& limits) {
    const size_t first = line.find(' ');
    const size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last) {
        return refused(400, "The request line is not \"METHOD TARGET HTTP/1.1\".");
    }
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, last - first - 1);
    const std::string_view version = line.substr(last + 1);
    if (target.size() > limits.target) {
        return refused(
            414, "The request's address is longer than " + std::to_string(limits.target / 1024) + " KB.");
    }
    const bool plain_target = !target.empty() && std::all_of(target.begin(), target.end(), [](char c) {
        return static_cast<unsigned char>(c) > 0x20 && c != 0x7F;
    });
    if (method.empty() || !std::all_of(method.begin(), method.end(), token_char) || !plain_target ||
        !(version == "HTTP/1.1" || version == "HTTP/1.0")) {
        return refused(400, "The request line is not \"METHOD TARGET HTTP/1.1\".");
    }
    return {};
}

// One field line "name: value": a name of token characters right before
// its colon, and a value without control characters but TAB.
header_block check_field(std::string_view line) {
    if (line.front() == ' ' || line.front() == '\t') {
        return refused(400, "A header is folded onto a second line.");
    }
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return refused(400, "A header line has no colon.");
    }
    const std::string_view name = line.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), token_char)) {
        return refused(400, "A header's name holds a space or another character that names cannot.");
    }
    const std::string_view value = line.substr(colon + 1);
    if (std::any_of(value.begin(), value.end(), [](char c) {
            return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
        })) {
        return refused(400, "A header's value holds a control character.");
    }
    return {};
}

}  // namespace

header_block scan_header_block(std::string_view bytes, const framing_limits& limits) {
    size_t leading = 0;
    while (bytes.substr(leading).starts_with("\r\n") && leading < 8) {
        leading += 2;
    }
    const std::string_view block = bytes.substr(leading);
    size_t at = 0;
    size_t fields_start = 0;
    size_t fields = 0;
    for (bool request_line = true;; request_line = false) {
        const size_t end = block.find('\n', at);
        const size_t so_far = (end == std::string_view::npos ? block.size() : end) - at;
        // A line too long is refused before its end arrives.
        if (request_line && so_far > limits.target + 32) {
            return refused(
                414, "The request's address is longer than " + std::to_string(limits.target / 1024) + " KB.");
        }
        if (!request_line && at + so_far - fields_start > limits.headers) {
            return refused(431, "The request's headers are larger than " +
                                    std::to_string(limits.headers / 1024) + " KB.");
        }
        if (end == std::string_view::npos) {
            return {header_block::state::incomplete, leading, 0, 0, {}};
        }
        if (end == at || block[end - 1] != '\r') {
            return refused(400, "A line of the request ends without CR LF.");
        }
        const std::string_view line = block.substr(at, end - 1 - at);
        at = end + 1;
        if (request_line) {
            header_block verdict = check_request_line(line, limits);
            if (verdict.verdict == header_block::state::refused) {
                return verdict;
            }
            fields_start = at;
            continue;
        }
        if (line.empty()) {
            return {header_block::state::complete, leading, at, 0, {}};
        }
        if (++fields > limits.fields) {
            return refused(431, "The request has more than " + std::to_string(limits.fields) + " headers.");
        }
        header_block verdict = check_field(line);
        if (verdict.verdict == header_block::state::refused) {
            return verdict;
        }
    }
}
