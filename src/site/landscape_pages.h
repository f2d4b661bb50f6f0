// The whole field at once: listings of a page's rows across the devices, and
// statistics, as pages and in JSON.
#pragma once

#include "site/routes.h"
#include "site/store.h"

void install_landscape(route_table& routes, report_store& store);
