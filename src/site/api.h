// The site's routes: the legacy form and saved reports in, the JSON API out.
#pragma once

#include "site/server.h"
#include "site/store.h"

// Every route of the site on server, reading and writing store.
void install_routes(site_server& server, report_store& store);

// "10de" or "0x10DE": a PCI vendor ID; 0 for anything else.
uint32_t vendor_parameter(const std::string& text);
