// A request as the site's routes read it and the answer they write: plain
// values, whatever server carried them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using header_list = std::vector<std::pair<std::string, std::string>>;

struct site_request {
    std::string method;  // as sent: "GET", "HEAD", "POST"
    std::string target;  // as sent: "/reports/7?page=dx_device"
    std::string path;    // the target's path, %XX decoded
    header_list params;  // the query's pairs in order, decoded ("+" a space, as forms send it)
    header_list headers;
    std::vector<std::string> matches;  // the path, then what the route's groups matched
    std::string body;
    std::string remote_addr;

    bool has_param(std::string_view name) const;
    // The first value of the parameter; empty where there is none.
    std::string get_param_value(std::string_view name) const;
    // The first field of that name, in any letter case; empty where none.
    std::string get_header_value(std::string_view name) const;
    // Whether the client asked for HTML first (a browser), rather than text or JSON.
    bool wants_html() const;
};

struct site_response {
    int status = 200;
    std::string body;
    std::string content_type;
    header_list headers;  // besides Content-Type and Content-Length

    // Sets the field, replacing one of the same name.
    void set_header(const std::string& name, std::string value);
    std::string get_header_value(std::string_view name) const;
    void set_content(std::string content, std::string type);
};

// The query of a target ("a=1&b=x+y"): its pairs, "%XX" and "+" decoded.
header_list query_pairs(std::string_view query);

// The byte that "%XX" at the start of text encodes; none where text starts
// with no such escape.
std::optional<char> escaped_byte(std::string_view text);

// "%XX" decoded, "+" left as it is; a "%" that encodes no byte stays as sent.
std::string percent_decoded(std::string_view text);

// Whether two field names are the same, letter case aside.
bool same_name(std::string_view a, std::string_view b);
