// The site's routes: the legacy form and saved reports in, the JSON API out.
#pragma once

#include "site/server.h"
#include "site/store.h"

// The posts and the JSON API on routes, reading and writing store; the
// posts' bodies are held to the limits'.
void install_routes(route_table& routes, report_store& store, const server_limits& limits);

// Answers 410 with when and why where an operator removed report id; false
// where nobody did.
bool refuse_removed(report_store& store, int64_t id, site_response& response);

// "10de" or "0x10DE": a PCI vendor ID; 0 for anything else.
uint32_t vendor_parameter(const std::string& text);
