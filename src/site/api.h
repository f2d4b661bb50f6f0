// The site's routes: the legacy form and saved reports in, the JSON API out.
#pragma once

#include <cstdint>
#include <optional>

#include "site/server.h"
#include "site/store.h"

// The posts and the JSON API on routes, reading and writing store; the
// posts' bodies are held to the limits'.
void install_routes(route_table& routes, report_store& store, const server_limits& limits);

// The answer for a report the store does not hold: 410 with when and why
// where an operator removed it, else 404.
void answer_missing_report(report_store& store, std::optional<int64_t> id, site_response& response);
