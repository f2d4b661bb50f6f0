#include "report/find.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

char folded(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool holds(const std::string& cell, std::string_view wanted) {
    return std::search(cell.begin(), cell.end(), wanted.begin(), wanted.end(),
                       [](char a, char b) { return folded(a) == folded(b); }) != cell.end();
}

}  // namespace

std::vector<found_row> find_rows(const report& pages, std::string_view text) {
    std::vector<found_row> found;
    if (text.empty()) {
        return found;
    }
    for (const page_info& page : page_table()) {
        const grid_model& grid = pages.grid(page.id);
        for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
            const auto& cells = grid.row(r);
            if (std::any_of(cells.begin(), cells.end(),
                            [&](const std::string& cell) { return holds(cell, text); })) {
                found.push_back({page.id, r});
            }
        }
    }
    return found;
}
