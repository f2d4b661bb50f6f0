// The site's addresses: for each, the method it takes, the most its body
// may hold, and what answers it. HEAD is served wherever GET is.
#pragma once

#include <cstddef>
#include <functional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "site/http_message.h"

using route_handler = std::function<void(const site_request&, site_response&)>;

struct route {
    std::string method;  // "GET" or "POST"
    std::string pattern;
    std::regex compiled;
    size_t body_limit = 0;  // a POST's body; past it, 413 before the body is read
    std::string body_name;  // "A report": how the 413's sentence names the body
    route_handler handler;
};

struct route_match {
    const route* found = nullptr;     // none: 405 where allow names methods, else 404
    std::vector<std::string> groups;  // the path, then what the pattern's groups matched
    std::string allow;                // the methods the path takes: "GET, HEAD"
};

class route_table {
public:
    void get(const std::string& pattern, route_handler handler);
    void post(const std::string& pattern, size_t body_limit, std::string body_name, route_handler handler);

    // The route of a method and a path, which the pattern must match whole.
    route_match find(std::string_view method, const std::string& path) const;

private:
    std::vector<route> routes_;
};
