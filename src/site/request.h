// What the site's routes read from a request: each parameter as a value or
// none, the filter of a listing, and a route bound to the store.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "report/page_table.h"
#include "site/http_message.h"
#include "site/routes.h"
#include "site/store.h"

// A report's number: 1 to 12 decimal digits, above zero; none for anything else.
std::optional<int64_t> report_number(std::string_view text);

// A place in a list, counted from 0: 1 to 6 decimal digits; none for
// anything else.
std::optional<size_t> place_number(std::string_view text);

// A PCI vendor ID, "10de" or "0x10DE"; none for anything else.
std::optional<uint32_t> vendor_id_of(std::string_view text);

// The group a key names ("directx", "opengl", "vulkan"), and the key of a group.
std::optional<page_group> group_of_key(std::string_view key);
const char* group_key(page_group group);

// The device an address names: a PCI key in lower case ("10DE:2484" is
// "10de:2484"); a "name:" key as written (the store finds it in any case).
std::string device_key_of(const std::string& matched);

// A listing's filter from the request's vendor, api, q and page: an
// unknown vendor or api filters nothing, the text is at most 200 bytes and
// the page 1 to 100,000.
listing_filter listing_filter_of(const site_request& request);

// A route that hands each request, with the store, to handler.
using store_handler = void (*)(report_store& store, const site_request& request, site_response& response);
route_handler with_store(report_store& store, store_handler handler);
