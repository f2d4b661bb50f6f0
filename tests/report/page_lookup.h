// Finding rows of a report page by name, for the page tests.
#pragma once

#include <string>

#include "report/document.h"
#include "report/report_builder.h"

// Index of the first row whose name is name, or -1.
inline int find_row(const report_page& page, const std::string& name) {
    for (size_t r = 0; r < page.rows.size(); ++r) {
        if (page.rows[r].name == name) {
            return static_cast<int>(r);
        }
    }
    return -1;
}

// The value of the row named name, or a text that says it is missing.
inline std::string value_of(const report_page& page, const std::string& name) {
    const int row = find_row(page, name);
    return row < 0 ? "<missing " + name + ">" : page.rows[static_cast<size_t>(row)].value;
}

// One DirectX or OpenGL page written from its record, as the report writes it.
template <typename Record>
report_page page_from(const Record& record, page_id id) {
    return write_page(page_of(id), record);
}
