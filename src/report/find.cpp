// Find: the rows of an adapter's pages that hold a text, in any letter case.
#include "report/find.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// ASCII letters only: a byte of a longer UTF-8 sequence stays as it is.
char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

size_t find_in_text(std::string_view text, std::string_view wanted) {
    const auto at = std::search(text.begin(), text.end(), wanted.begin(), wanted.end(),
                                [](char a, char b) { return folded(a) == folded(b); });
    return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

std::vector<found_row> find_rows(const adapter_report& adapter, std::string_view text) {
    std::vector<found_row> found;
    if (text.empty()) {
        return found;
    }
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            for (size_t r = 0; r < page.rows.size(); ++r) {
                const report_row& row = page.rows[r];
                for (const auto& [field, cell] :
                     {std::pair{found_in::name, &row.name}, std::pair{found_in::value, &row.value},
                      std::pair{found_in::description, &row.description}}) {
                    if (const size_t at = find_in_text(*cell, text); at != std::string::npos) {
                        found.push_back({page.id, static_cast<int>(r), field, at});
                        break;
                    }
                }
            }
        }
    }
    return found;
}
