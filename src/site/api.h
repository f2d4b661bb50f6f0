// The site's routes: the legacy form and saved reports in, the JSON API out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/compare.h"

#include "site/server.h"
#include "site/store.h"

// The posts and the JSON API on routes, reading and writing store; the
// posts' bodies are held to the limits'.
void install_routes(route_table& routes, report_store& store, const server_limits& limits);

// The answer for a report the store does not hold: 410 with when and why
// where an operator removed it, else 404.
void answer_missing_report(report_store& store, std::optional<int64_t> id, site_response& response);

// The most reports one comparison takes.
inline constexpr size_t most_compared = 8;

// The reports a comparison names, r=7&r=9&r=12 (two to eight) or a=7&b=9,
// and how many rows differ among them, on how many pages. status: 200; 204
// where the request names none; 400 or 404 (refusal says why) where it names
// too many or reports not kept.
struct compared_reports {
    std::vector<stored_report> reports;
    difference_count count;
    int status = 200;
    std::string refusal;
};
compared_reports reports_to_compare(report_store& store, const site_request& request);
