// The report document's lookups: an adapter's group, a group's page, rows as written.
#include "report/document.h"

const report_page* report_group::page(page_id wanted) const {
    for (const report_page& candidate : pages) {
        if (candidate.id == wanted) {
            return &candidate;
        }
    }
    return nullptr;
}

std::vector<const report_row*> rows_as_written(const report_page& page) {
    std::vector<const report_row*> rows;
    if (!page.written_order) {
        for (const report_row& row : page.rows) {
            rows.push_back(&row);
        }
        return rows;
    }
    for (const uint32_t index : *page.written_order) {
        rows.push_back(&page.rows[index]);
    }
    return rows;
}
