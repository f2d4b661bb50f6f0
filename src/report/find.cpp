#include "report/find.h"

#include <algorithm>
#include <string>

namespace {

// ASCII letters only: a byte of a longer UTF-8 sequence stays as it is.
char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool holds(const std::string& cell, std::string_view wanted) {
    return std::search(cell.begin(), cell.end(), wanted.begin(), wanted.end(),
                       [](char a, char b) { return folded(a) == folded(b); }) != cell.end();
}

}  // namespace

std::vector<found_row> find_rows(const adapter_report& adapter, std::string_view text) {
    std::vector<found_row> found;
    if (text.empty()) {
        return found;
    }
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            for (size_t r = 0; r < page.rows.size(); ++r) {
                const report_row& row = page.rows[r];
                if (holds(row.name, text) || holds(row.value, text) || holds(row.description, text)) {
                    found.push_back({page.id, static_cast<int>(r)});
                }
            }
        }
    }
    return found;
}
