// The product site's address, taken apart for the window and the post.
#include "submit/site_address.h"

#include <cctype>
#include <string_view>

std::string host_of(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    const size_t end = url.find_first_of("/:?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string submitter_url(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t path = url.find('/', authority);
    return url.substr(0, path) + "/submitter.php";
}

std::string authority_of(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    const size_t end = url.find_first_of("/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool is_plain_http_address(const std::string& url) {
    constexpr std::string_view scheme = "http://";
    if (url.size() <= scheme.size()) {
        return false;
    }
    for (size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i]) {
            return false;
        }
    }
    const std::string authority = authority_of(url);
    const size_t bracket = authority.rfind(']');
    const size_t colon = authority.rfind(':');
    const bool has_port = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
    const std::string host = has_port ? authority.substr(0, colon) : authority;
    const std::string port = has_port ? authority.substr(colon + 1) : "80";
    return !host.empty() && !port.empty() && port.size() <= 5 &&
           port.find_first_not_of("0123456789") == std::string::npos && std::stoi(port) <= 65535;
}
