// Finding rows across every page of an adapter: the rows whose name, value or
// description holds a text, whatever its case.
#pragma once

#include <string_view>
#include <vector>

#include "report/document.h"

struct found_row {
    page_id page;
    int row;  // in the page's rows, as shown

    bool operator==(const found_row&) const = default;
};

// The rows of every page holding text, in tab order (DirectX pages first,
// then OpenGL), each page from its top; none for an empty text. Letters of
// the Latin alphabet match in either case.
std::vector<found_row> find_rows(const adapter_report& adapter, std::string_view text);
