// Pages as readable text, for the clipboard: a forum post or a bug report.
#pragma once

#include <string>

#include "report/grid_model.h"
#include "report/report.h"

// The page's title, then every row, header included, in three columns:
// names and values padded to the page's widest, then the description. A
// blank row is an empty line; lines end with "\r\n".
std::string page_text(const grid_model& grid, const std::string& title);

// Every page of both groups, in tab order, each under its title
// ("DirectX - Device"), with an empty line between pages.
std::string report_text(const report& pages);

// "DirectX - Device", "OpenGL - Stacks".
std::string page_title(const page_info& page);
