// What a developer looks up first, on the DirectX Summary below its own
// rows: the feature levels, the shader model, the video memory and HDR, each
// taken from the page that says it in full. Shown, not submitted.
#pragma once

#include "base/os_platform.h"

#include <span>

#include "report/document.h"

// A Summary row and the row of another page it comes from.
struct summary_link {
    const char* name;      // the Summary's row
    page_id page;          // the page it comes from
    const char* row_name;  // that page's row
};

std::span<const summary_link> summary_links();

// The link of a row of the DirectX Summary, or null.
const summary_link* summary_link_of(const report_row& row);

// Writes the rows after the Summary's own, from the group's other pages,
// replacing any written before: a page still being read says so.
void add_summary_facts(report_group& directx, const os_platform& platform = {});
