// Finding rows across every page of an adapter: the rows whose name, value or
// description holds a text, whatever its case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "report/document.h"

// Where in a row the text was found first: its name, value, the compared
// report's value (while comparing) or description.
enum class found_in : uint8_t { name, value, description, compared };

struct found_row {
    page_id page;
    int row;  // in the page's rows, as shown
    found_in field = found_in::name;
    size_t offset = 0;  // where in that field, in bytes of UTF-8

    // The same row, wherever in it the text was found.
    bool operator==(const found_row& other) const { return page == other.page && row == other.row; }
};

// Where text holds wanted, Latin letters in either case, or npos.
size_t find_in_text(std::string_view text, std::string_view wanted);

// The rows of every page holding text, in tab order (DirectX pages first,
// then OpenGL), each page from its top; none for an empty text. Letters of
// the Latin alphabet match in either case.
std::vector<found_row> find_rows(const adapter_report& adapter, std::string_view text);
