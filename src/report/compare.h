// Two reports side by side: rows paired page by page, and the rows whose
// values differ, for the window's Compared column and cavio-report --compare.
#pragma once

#include <string>
#include <vector>

#include "report/document.h"

// A row of one report and its counterpart in the other; either may be
// missing where a row is only on one side.
struct compared_row {
    const report_row* a = nullptr;
    const report_row* b = nullptr;

    // A row of data (not a section or a blank) that is only on one side, or
    // whose values differ.
    bool differs() const;
};

// The rows of two pages (either may be null), paired by their section, name
// and how many rows of that section and name came before them: a's rows in
// their order, then the rows only b has, in b's order.
std::vector<compared_row> compare_pages(const report_page* a, const report_page* b);

// A row across several reports: each report's row, null where one lacks it.
struct row_across {
    std::vector<const report_row*> rows;

    // The row as one report has it: the first that does.
    const report_row& named() const;
    // A row of data that a report lacks, or whose values are not all the same.
    bool differs() const;
};

// The rows of several pages (any may be null), paired as compare_pages pairs
// two: the first page's rows in their order; a row the first lacks stands
// after the row it follows in the page that has it.
std::vector<row_across> compare_many_pages(const std::vector<const report_page*>& pages);

struct page_differences {
    page_id page;
    std::vector<compared_row> rows;  // only the rows that differ
};

struct adapter_differences {
    size_t index = 0;  // adapters are paired by their index in each report
    std::string a_description;
    std::string b_description;
    std::vector<page_differences> pages;  // only pages with a difference, in tab order
};

// The differences between two adapters (either may be null: every row of
// the other differs), as report_differences lists them at index.
adapter_differences compare_adapters(const adapter_report* a, const adapter_report* b, size_t index);

// Every difference between two reports; an adapter only one report has
// differs on every page it has.
std::vector<adapter_differences> report_differences(const report_document& a, const report_document& b);

// How many rows differ, on how many pages, over all adapters.
struct difference_count {
    size_t rows = 0;
    size_t pages = 0;
};
difference_count count_differences(const std::vector<adapter_differences>& differences);

// The differences as text, grouped by adapter and page, one line per row:
// "    Driver version: 8.17.18.19 -> 8.17.18.20"; "(none)" for a side
// without the row. Lines end with "\r\n".
std::string differences_text(const std::vector<adapter_differences>& differences);
