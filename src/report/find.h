// Finding rows across every page: the rows whose name, value or description
// holds a text, whatever its case.
#pragma once

#include <string_view>
#include <vector>

#include "report/report.h"

struct found_row {
    page_id page;
    int row;

    bool operator==(const found_row&) const = default;
};

// The data rows of every page holding text, in tab order (DirectX pages
// first, then OpenGL), each page from its top; none for an empty text.
std::vector<found_row> find_rows(const report& pages, std::string_view text);
