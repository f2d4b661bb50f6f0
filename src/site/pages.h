// The site's pages for people: Devices (/), a device, a report, a
// comparison and coverage, server-rendered, the same data as the JSON API.
#pragma once

#include "site/server.h"
#include "site/store.h"

// Every page, and the stylesheet, on routes.
void install_pages(route_table& routes, report_store& store);
