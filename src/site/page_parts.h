// What the site's pages share: how a page is answered, its parts that more
// than one page draws, and the links between pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/document.h"
#include "site/html.h"
#include "site/http_message.h"

// Answers the page framed as frame says.
void show(site_response& response, int status, const page_frame& frame, const std::string& main);

// A browser gets it as a page of the site, other clients as the sentence.
void not_found(site_response& response, const std::string& sentence);

// The class that gives a value its colour, as the viewer paints it.
const char* value_class(const report_row& row);

// The address of a row's coverage (with a value, where one is given; on a
// platform, where one is named).
std::string coverage_link(const page_info& page, std::string_view name, std::string_view value = {},
                          const std::string& platform = {});

// The address of a page's listing: how common each of its rows is.
std::string listing_link(const page_info& page, const std::string& platform = {});

// A select of the vendors people filter by, chosen selected.
std::string vendor_select(uint32_t chosen);

// "Linux" for "linux", "Windows" for "windows"; empty for no platform.
std::string platform_name(const std::string& platform);

// A select of the platforms ("windows", "linux"; empty: any), chosen selected.
std::string platform_select(const std::string& chosen);

// " read on Linux" for "linux", and so on; nothing for no platform.
std::string read_on(const std::string& platform);

// A share as a bar and its percent: with of all.
std::string share_bar(int64_t with, int64_t all);

// "12.4%"-like text of a share, whole percents from 10 up.
std::string percent_text(int64_t with, int64_t all);
