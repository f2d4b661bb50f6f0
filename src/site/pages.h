// The site's pages for people: Devices (/), a device, a report, a
// comparison and coverage, server-rendered, the same data as the JSON API.
#pragma once

#include "site/server.h"
#include "site/store.h"

// Every page route, and the stylesheet, on server.
void install_pages(site_server& server, report_store& store);
