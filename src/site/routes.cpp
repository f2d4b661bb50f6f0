// The route table: each address, its method, its body's limit and its handler.
#include "site/routes.h"

void route_table::get(const std::string& pattern, route_handler handler) {
    routes_.push_back({"GET", pattern, std::regex(pattern), 0, {}, std::move(handler)});
}

void route_table::post(const std::string& pattern, size_t body_limit, std::string body_name,
                       route_handler handler) {
    routes_.push_back(
        {"POST", pattern, std::regex(pattern), body_limit, std::move(body_name), std::move(handler)});
}

route_match route_table::find(std::string_view method, const std::string& path) const {
    const std::string_view wanted = method == "HEAD" ? std::string_view("GET") : method;
    route_match match;
    for (const route& each : routes_) {
        std::smatch groups;
        if (!std::regex_match(path, groups, each.compiled)) {
            continue;
        }
        if (each.method != wanted) {
            const std::string taken = each.method == "GET" ? "GET, HEAD" : each.method;
            if (match.allow.find(taken) == std::string::npos) {
                match.allow += (match.allow.empty() ? "" : ", ") + taken;
            }
            continue;
        }
        match.found = &each;
        match.allow.clear();
        for (const auto& group : groups) {
            match.groups.push_back(group.str());
        }
        return match;
    }
    return match;
}
