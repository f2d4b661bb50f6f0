// The Formats page as the window draws it: one row per format, one narrow
// column per capability a developer asks about, a mark where the format has
// it. The marks are read back from the row itself (a DXGI format's support
// bits, a Direct3D 9 format's words, and the MSAA counts of either), so a
// saved report draws as a live one does. A column means the same for both.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "report/document.h"

struct format_capability {
    const char* header;  // the column's header: "Sample"
    const char* can;     // what a format of the column can do, for the filter: "be sampled"
    // What the column tests, for its tooltip: DXGI's flag without its
    // D3D11_ or D3D12_ prefix (null: none), and Direct3D 9's question (null: none).
    const char* flags;
    const char* d3d9_flags;
    uint8_t word;           // DXGI: 1 or 2, the support word of bits; 0: a sample count or none
    uint32_t bits;          // any of these bits; for a sample count, the count
    const char* d3d9_word;  // the word a Direct3D 9 row's value has; null: none
};

// The matrix's columns, in the order drawn.
std::span<const format_capability> format_capabilities();

// Whether a column is a sample count's.
bool is_sample_count(const format_capability& column);

// The columns a format's row has a mark in, one bit per column; none for a
// row that is not a format's (a section, a blank, a row of another page).
std::optional<uint64_t> format_marks(const report_row& row);
