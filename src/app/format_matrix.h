// The Formats page as the window draws it: one row per format, one narrow
// column per capability a developer asks about, a mark where the format has
// it. The marks are read back from the row itself (its support bits and its
// MSAA counts), so a saved report draws as a live one does.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "report/document.h"

struct format_capability {
    const char* header;  // the column's header: "Sample"
    const char* can;     // what a format of the column can do, for the filter: "be sampled"
    const char* flags;   // the flags the column tests, for its tooltip
    uint8_t word;        // 1 or 2: the support word, or 0 for a sample count
    uint32_t bits;       // any of these bits; for a sample count, the count
};

// The matrix's columns, in the order drawn.
std::span<const format_capability> format_capabilities();

// The columns a format's row has a mark in, one bit per column; none for a
// row that is not a format's (a section, a blank, a row of another page).
std::optional<uint64_t> format_marks(const report_row& row);
